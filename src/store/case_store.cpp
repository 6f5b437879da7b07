#include "store/case_store.h"

#include "store/case_text_limit.h"

#include <QSqlQuery>
#include <QVariant>

namespace store {
namespace {

// Number columns take the record's decimal texts; an empty or malformed text is stored as null.
QVariant numberOrNull(const QString& text) {
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok ? QVariant(value) : QVariant();
}

QVariant textOrNull(const QString& text) { return text.isEmpty() ? QVariant() : QVariant(text); }

}  // namespace

CreateResult CaseStore::createCase(const CastCase& cast) {
    record_.saveKey = 0;
    cloudRecord_ = false;
    record_.gua_bianhao = cast.caseNumber;
    record_.gua_ming = cast.gua_ming;
    record_.lei_id = db_.getFirstString(QStringLiteral("select max(lei_id) from fenlei_table where lei_mingcheng=?"),
                                        {cast.category});
    record_.nian = QString::number(cast.castDate.year());
    record_.yue = QString::number(cast.castDate.month());
    record_.ri = QString::number(cast.castDate.day());
    record_.xingbie = cast.xingbie;
    record_.chusheng = cast.chusheng;
    record_.shiyou = cast.shiyou;
    record_.zhanlei = cast.zhanlei;
    record_.place = cast.place;
    record_.timeRule = cast.timeRule;

    CreateResult result;
    if (cast.chartOnly) return result;

    if (cloud_) {
        const QString reply = cloud_->saveNewCase(record_);
        if (reply != u"ok") result.cloudMessage = QStringLiteral("网络保存失败，请重试，错误信息：") + reply;
    }
    // The category is resolved inside the insert: an unknown name still stores the case, with a
    // null lei_id.
    record_.caseId = db_.insert(
        QStringLiteral("insert into gua_table(gua_ming,gua_bianhao,lei_id,nian,yue,ri,xingbie,chusheng,shiyou,zhanlei,"
                       "didian,shizhi) "
                       "select ?,?,max(lei_id),?,?,?,?,?,?,?,?,? from fenlei_table where lei_mingcheng=?"),
        {record_.gua_ming, record_.gua_bianhao, cast.castDate.year(), cast.castDate.month(), cast.castDate.day(),
         record_.xingbie, record_.chusheng, record_.shiyou, record_.zhanlei, textOrNull(record_.place),
         textOrNull(record_.timeRule), cast.category});
    record_.saveKey = record_.caseId;
    result.stored = true;
    history_.append(CaseHistory::localEntry(record_.caseId));
    return result;
}

std::optional<QString> CaseStore::textsProblem(int which, const CaseTexts& texts) {
    if (which & 1)
        if (auto problem = oversizedText(QStringLiteral("断语"), texts.duanyu)) return problem;
    if (which & 2)
        if (auto problem = oversizedText(QStringLiteral("反馈"), texts.fankui)) return problem;
    return std::nullopt;
}

qint64 CaseStore::localCopyOfCloudCase() const {
    const CaseRecord& r = record_;
    return db_.getFirstInteger(
        QStringLiteral("select max(id) from gua_table where gua_bianhao=? and gua_ming is ? and nian is ? and yue is ? "
                       "and ri is ? and xingbie is ? and chusheng is ? and shiyou is ?"),
        {r.gua_bianhao, r.gua_ming, numberOrNull(r.nian), numberOrNull(r.yue), numberOrNull(r.ri), r.xingbie,
         r.chusheng, r.shiyou});
}

SaveResult CaseStore::saveCaseTexts(int which, const CaseTexts& texts) {
    if (record_.saveKey == 0 && record_.gua_bianhao.isEmpty())
        return {false, QStringLiteral("卦的唯一编号为空，无法保存。")};
    if (const auto problem = textsProblem(which, texts)) return {false, *problem + QStringLiteral("，没有保存。")};

    SaveResult result{true, {}};
    if (cloud_) {
        const QString reply = cloud_->saveTexts(record_, texts, which);
        if (!reply.contains(QStringLiteral("ok"))) result = {false, QStringLiteral("网络保存失败，错误信息：") + reply};
    }

    // One statement per save, so the keyword index reads the case's texts once. The texts go
    // into the one row of the record, never into every case with its number.
    const bool setDuanyu = which == 1 || which == 3;
    const bool setFankui = which == 2 || which == 3;
    Transaction transaction(db_);
    qint64 row = record_.saveKey;
    if (row == 0 && cloudRecord_) row = localCopyOfCloudCase();
    if (row == 0 || db_.getFirstInteger(QStringLiteral("select count(*) from gua_table where id=?"), {row}) == 0) {
        row = db_.insert(
            QStringLiteral(
                "insert into gua_table(gua_ming,gua_bianhao,lei_id,nian,yue,ri,xingbie,chusheng,shiyou,duanyu,"
                "fankui,zhanlei,didian,shizhi) values(?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
            {record_.gua_ming, record_.gua_bianhao, numberOrNull(record_.lei_id), numberOrNull(record_.nian),
             numberOrNull(record_.yue), numberOrNull(record_.ri), record_.xingbie, record_.chusheng, record_.shiyou,
             setDuanyu ? texts.duanyu : QStringLiteral(""), setFankui ? texts.fankui : QStringLiteral(""),
             record_.zhanlei, textOrNull(record_.place), textOrNull(record_.timeRule)});
    } else if (setDuanyu && setFankui) {
        db_.execute(QStringLiteral("update gua_table set duanyu=?, fankui=? where id=?"),
                    {texts.duanyu, texts.fankui, row});
    } else if (setDuanyu) {
        db_.execute(QStringLiteral("update gua_table set duanyu=? where id=?"), {texts.duanyu, row});
    } else if (setFankui) {
        db_.execute(QStringLiteral("update gua_table set fankui=? where id=?"), {texts.fankui, row});
    }
    transaction.commit();
    record_.saveKey = row;
    return result;
}

SaveResult CaseStore::saveQuestionType(const QString& zhanlei) {
    record_.zhanlei = zhanlei;  // without a row, the first save of the texts stores it
    qint64 row = record_.saveKey;
    if (row == 0 && cloudRecord_) row = localCopyOfCloudCase();
    if (row != 0) db_.execute(QStringLiteral("update gua_table set zhanlei=? where id=?"), {zhanlei, row});
    return {true, {}};
}

std::optional<CaseTexts> CaseStore::loadLocalCase(qint64 id) {
    record_.caseId = id;
    QSqlQuery query = db_.select(
        QStringLiteral("select gua_ming,gua_bianhao,lei_id,nian,yue,ri,xingbie,chusheng,shiyou,duanyu,fankui,"
                       "coalesce(zhanlei,''),coalesce(didian,''),coalesce(shizhi,'') from gua_table where id=?"),
        {id});
    if (!db_.nextRow(query)) return std::nullopt;
    CaseRecord& r = record_;
    QString* const fields[] = {&r.gua_ming, &r.gua_bianhao, &r.lei_id,   &r.nian,  &r.yue,
                               &r.ri,       &r.xingbie,     &r.chusheng, &r.shiyou};
    int column = 0;
    for (QString* field : fields) *field = query.value(column++).toString();
    r.saveKey = id;
    cloudRecord_ = false;
    r.zhanlei = query.value(11).toString();
    r.place = query.value(12).toString();
    r.timeRule = query.value(13).toString();
    CaseTexts texts{query.value(9).toString(), query.value(10).toString()};
    history_.appendIfMissing(CaseHistory::localEntry(id));
    return texts;
}

bool CaseStore::deleteCase(qint64 id) {
    Transaction transaction(db_);
    if (db_.getFirstInteger(QStringLiteral("select count(*) from gua_table where id=?"), {id}) == 0) return false;
    db_.execute(QStringLiteral("delete from gua_table where id=?"), {id});
    transaction.commit();
    history_.remove(CaseHistory::localEntry(id));
    if (record_.saveKey == id) forgetRecord();
    return true;
}

std::optional<QString> CaseStore::moveCase(qint64 id, qint64 leiId) {
    Transaction transaction(db_);
    if (db_.getFirstInteger(QStringLiteral("select count(*) from fenlei_table where lei_id=?"), {leiId}) == 0)
        return QStringLiteral("没有这个类别。");
    if (db_.getFirstInteger(QStringLiteral("select count(*) from gua_table where id=?"), {id}) == 0)
        return QStringLiteral("没有这个卦例。");
    db_.execute(QStringLiteral("update gua_table set lei_id=? where id=?"), {leiId, id});
    transaction.commit();
    if (record_.saveKey == id) record_.lei_id = QString::number(leiId);
    return std::nullopt;
}

void CaseStore::adoptCloudCase(qint64 id, const CaseRecord& fields) {
    record_ = fields;
    record_.caseId = id;
    record_.saveKey = 0;  // its local copy is looked up when its texts are first saved
    cloudRecord_ = true;
    history_.appendIfMissing(CaseHistory::cloudEntry(id));
}

}  // namespace store

#include "store/case_store.h"

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

}  // namespace

CreateResult CaseStore::createCase(const CastCase& cast) {
    record_.saveKey = cast.caseNumber;
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

    CreateResult result;
    if (cast.chartOnly) return result;

    if (cloud_) {
        const QString reply = cloud_->saveNewCase(record_);
        if (reply != u"ok") result.cloudMessage = QStringLiteral("网络保存失败，请重试，错误信息：") + reply;
    }
    // The category is resolved inside the insert: an unknown name still stores the case, with a
    // null lei_id.
    record_.caseId = db_.insert(
        QStringLiteral("insert into gua_table(gua_ming,gua_bianhao,lei_id,nian,yue,ri,xingbie,chusheng,shiyou) "
                       "select ?,?,max(lei_id),?,?,?,?,?,? from fenlei_table where lei_mingcheng=?"),
        {record_.gua_ming, record_.saveKey, cast.castDate.year(), cast.castDate.month(), cast.castDate.day(),
         record_.xingbie, record_.chusheng, record_.shiyou, cast.category});
    result.stored = true;
    history_.append(CaseHistory::localEntry(record_.caseId));
    return result;
}

SaveResult CaseStore::saveCaseTexts(int which, const CaseTexts& texts) {
    if (record_.saveKey.isEmpty()) return {false, QStringLiteral("卦的唯一编号为空，无法保存。")};

    SaveResult result{true, {}};
    if (cloud_) {
        const QString reply = cloud_->saveTexts(record_, texts, which);
        if (!reply.contains(QStringLiteral("ok"))) result = {false, QStringLiteral("网络保存失败，错误信息：") + reply};
    }

    // One statement per save, so the keyword index reads the case's texts once.
    const bool setDuanyu = which == 1 || which == 3;
    const bool setFankui = which == 2 || which == 3;
    Transaction transaction(db_);
    if (db_.getFirstInteger(QStringLiteral("select count(*) from gua_table where gua_bianhao=?"), {record_.saveKey}) ==
        0) {
        db_.execute(QStringLiteral("insert into gua_table(gua_ming,gua_bianhao,lei_id,nian,yue,ri,xingbie,chusheng,"
                                   "shiyou,duanyu,fankui) values(?,?,?,?,?,?,?,?,?,?,?)"),
                    {record_.gua_ming, record_.gua_bianhao, numberOrNull(record_.lei_id), numberOrNull(record_.nian),
                     numberOrNull(record_.yue), numberOrNull(record_.ri), record_.xingbie, record_.chusheng,
                     record_.shiyou, setDuanyu ? texts.duanyu : QStringLiteral(""), setFankui ? texts.fankui : QStringLiteral("")});
    } else if (setDuanyu && setFankui) {
        db_.execute(QStringLiteral("update gua_table set duanyu=?, fankui=? where gua_bianhao=?"),
                    {texts.duanyu, texts.fankui, record_.saveKey});
    } else if (setDuanyu) {
        db_.execute(QStringLiteral("update gua_table set duanyu=? where gua_bianhao=?"),
                    {texts.duanyu, record_.saveKey});
    } else if (setFankui) {
        db_.execute(QStringLiteral("update gua_table set fankui=? where gua_bianhao=?"),
                    {texts.fankui, record_.saveKey});
    }
    transaction.commit();
    return result;
}

std::optional<CaseTexts> CaseStore::loadLocalCase(qint64 id) {
    record_.caseId = id;
    QSqlQuery query = db_.select(
        QStringLiteral("select gua_ming,gua_bianhao,lei_id,nian,yue,ri,xingbie,chusheng,shiyou,duanyu,fankui "
                       "from gua_table where id=?"),
        {id});
    if (!query.next()) return std::nullopt;
    CaseRecord& r = record_;
    QString* const fields[] = {&r.gua_ming, &r.gua_bianhao, &r.lei_id,   &r.nian,  &r.yue,
                               &r.ri,       &r.xingbie,     &r.chusheng, &r.shiyou};
    int column = 0;
    for (QString* field : fields) *field = query.value(column++).toString();
    r.saveKey = r.gua_bianhao;
    CaseTexts texts{query.value(9).toString(), query.value(10).toString()};
    history_.appendIfMissing(CaseHistory::localEntry(id));
    return texts;
}

bool CaseStore::deleteCase(qint64 id) {
    Transaction transaction(db_);
    if (db_.getFirstInteger(QStringLiteral("select count(*) from gua_table where id=?"), {id}) == 0) return false;
    const QString number = db_.getFirstString(QStringLiteral("select gua_bianhao from gua_table where id=?"), {id});
    db_.execute(QStringLiteral("delete from gua_table where id=?"), {id});
    transaction.commit();
    history_.remove(CaseHistory::localEntry(id));
    if (record_.saveKey == number) record_ = CaseRecord{};
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
    if (record_.caseId == id && !record_.saveKey.isEmpty()) record_.lei_id = QString::number(leiId);
    return std::nullopt;
}

void CaseStore::adoptCloudCase(qint64 id, const CaseRecord& fields) {
    record_ = fields;
    record_.caseId = id;
    record_.saveKey = record_.gua_bianhao;
    history_.appendIfMissing(CaseHistory::cloudEntry(id));
}

}  // namespace store

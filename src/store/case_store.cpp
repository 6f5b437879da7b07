#include "store/case_store.h"

#include "store/case_text_limit.h"

#include <QCoreApplication>
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
    record_.caseNumber = cast.caseNumber;
    record_.hexagramName = cast.hexagramName;
    record_.categoryId = db_.getFirstString(
        QStringLiteral("select max(lei_id) from fenlei_table where lei_mingcheng=?"), {cast.category});
    record_.year = QString::number(cast.castDate.year());
    record_.month = QString::number(cast.castDate.month());
    record_.day = QString::number(cast.castDate.day());
    record_.gender = cast.gender;
    record_.birthYear = cast.birthYear;
    record_.subject = cast.subject;
    record_.questionType = cast.questionType;
    record_.place = cast.place;
    record_.timeRule = cast.timeRule;

    CreateResult result;
    if (cast.chartOnly) return result;

    // The category is resolved inside the insert: an unknown name still stores the case, with a
    // null lei_id.
    record_.caseId = db_.insert(
        QStringLiteral("insert into gua_table(gua_ming,gua_bianhao,lei_id,nian,yue,ri,xingbie,chusheng,shiyou,zhanlei,"
                       "didian,shizhi) "
                       "select ?,?,max(lei_id),?,?,?,?,?,?,?,?,? from fenlei_table where lei_mingcheng=?"),
        {record_.hexagramName, record_.caseNumber, cast.castDate.year(), cast.castDate.month(), cast.castDate.day(),
         record_.gender, record_.birthYear, record_.subject, record_.questionType, textOrNull(record_.place),
         textOrNull(record_.timeRule), cast.category});
    record_.saveKey = record_.caseId;
    result.stored = true;
    history_.append(CaseHistory::localEntry(record_.caseId));
    return result;
}

std::optional<QString> CaseStore::textsProblem(TextsToSave which, const CaseTexts& texts) {
    if (savesJudgment(which))
        if (auto problem = oversizedText(QCoreApplication::translate("store::CaseStore", "断语"), texts.judgment))
            return problem;
    if (savesFeedback(which))
        if (auto problem = oversizedText(QCoreApplication::translate("store::CaseStore", "反馈"), texts.feedback))
            return problem;
    return std::nullopt;
}

qint64 CaseStore::localCopyOfCloudCase() const {
    const CaseRecord& r = record_;
    return db_.getFirstInteger(
        QStringLiteral("select max(id) from gua_table where gua_bianhao=? and gua_ming is ? and nian is ? and yue is ? "
                       "and ri is ? and xingbie is ? and chusheng is ? and shiyou is ?"),
        {r.caseNumber, r.hexagramName, numberOrNull(r.year), numberOrNull(r.month), numberOrNull(r.day), r.gender,
         r.birthYear, r.subject});
}

SaveResult CaseStore::saveCaseTexts(TextsToSave which, const CaseTexts& texts) {
    if (record_.saveKey == 0 && record_.caseNumber.isEmpty())
        return {false, QCoreApplication::translate("store::CaseStore", "卦的唯一编号为空，无法保存。")};
    if (const auto problem = textsProblem(which, texts))
        return {false, QCoreApplication::translate("store::CaseStore", "%1，没有保存。").arg(*problem)};

    // One statement per save, so the keyword index reads the case's texts once. The texts go
    // into the one row of the record, never into every case with its number.
    const bool setJudgment = savesJudgment(which);
    const bool setFeedback = savesFeedback(which);
    Transaction transaction(db_);
    qint64 row = record_.saveKey;
    if (row == 0 && cloudRecord_) row = localCopyOfCloudCase();
    if (row == 0 || db_.getFirstInteger(QStringLiteral("select count(*) from gua_table where id=?"), {row}) == 0) {
        row = db_.insert(
            QStringLiteral(
                "insert into gua_table(gua_ming,gua_bianhao,lei_id,nian,yue,ri,xingbie,chusheng,shiyou,duanyu,"
                "fankui,zhanlei,didian,shizhi) values(?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
            {record_.hexagramName, record_.caseNumber, numberOrNull(record_.categoryId), numberOrNull(record_.year),
             numberOrNull(record_.month), numberOrNull(record_.day), record_.gender, record_.birthYear, record_.subject,
             setJudgment ? texts.judgment : QStringLiteral(""), setFeedback ? texts.feedback : QStringLiteral(""),
             record_.questionType, textOrNull(record_.place), textOrNull(record_.timeRule)});
    } else if (setJudgment && setFeedback) {
        db_.execute(QStringLiteral("update gua_table set duanyu=?, fankui=? where id=?"),
                    {texts.judgment, texts.feedback, row});
    } else if (setJudgment) {
        db_.execute(QStringLiteral("update gua_table set duanyu=? where id=?"), {texts.judgment, row});
    } else if (setFeedback) {
        db_.execute(QStringLiteral("update gua_table set fankui=? where id=?"), {texts.feedback, row});
    }
    if (setFeedback) saveOutcome(db_, row, texts.outcome);
    transaction.commit();
    record_.saveKey = row;
    return {true, {}};
}

SaveResult CaseStore::saveQuestionType(const QString& questionType) {
    record_.questionType = questionType;  // without a row, the first save of the texts stores it
    qint64 row = record_.saveKey;
    if (row == 0 && cloudRecord_) row = localCopyOfCloudCase();
    if (row != 0) db_.execute(QStringLiteral("update gua_table set zhanlei=? where id=?"), {questionType, row});
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
    QString* const fields[] = {&r.hexagramName, &r.caseNumber, &r.categoryId, &r.year,   &r.month,
                               &r.day,          &r.gender,     &r.birthYear,  &r.subject};
    int column = 0;
    for (QString* field : fields) *field = query.value(column++).toString();
    r.saveKey = id;
    cloudRecord_ = false;
    r.questionType = query.value(11).toString();
    r.place = query.value(12).toString();
    r.timeRule = query.value(13).toString();
    CaseTexts texts{query.value(9).toString(), query.value(10).toString(),
                    outcomeOf(db_, id).value_or(CaseOutcome{})};
    history_.appendIfMissing(CaseHistory::localEntry(id));
    return texts;
}

CaseOutcome CaseStore::outcomeOfCloudRecord() const {
    const qint64 row = cloudRecord_ ? localCopyOfCloudCase() : record_.saveKey;
    return row == 0 ? CaseOutcome{} : outcomeOf(db_, row).value_or(CaseOutcome{});
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

std::optional<QString> CaseStore::moveCase(qint64 id, qint64 categoryId) {
    Transaction transaction(db_);
    if (db_.getFirstInteger(QStringLiteral("select count(*) from fenlei_table where lei_id=?"), {categoryId}) == 0)
        return QCoreApplication::translate("store::CaseStore", "没有这个类别。");
    if (db_.getFirstInteger(QStringLiteral("select count(*) from gua_table where id=?"), {id}) == 0)
        return QCoreApplication::translate("store::CaseStore", "没有这个卦例。");
    db_.execute(QStringLiteral("update gua_table set lei_id=? where id=?"), {categoryId, id});
    transaction.commit();
    if (record_.saveKey == id) record_.categoryId = QString::number(categoryId);
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

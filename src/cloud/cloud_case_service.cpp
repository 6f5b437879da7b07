#include "cloud/cloud_case_service.h"

#include "cloud/reply_reading.h"

namespace cloud {
namespace {

constexpr int kCaseRowWidth = 4;
constexpr int kSearchRowCap = 102;
constexpr int kMonthRowCap = 3001;
constexpr int kItemCap = 101;

store::CaseListRow caseRow(const QStringList& record) {
    return {record[0].toLongLong(), record[3], record[1], record[2]};
}

}  // namespace

QStringList CloudCaseService::caseFields(const store::CaseRecord& r) const {
    return {QStringLiteral("nm=") + session_.userName(),
            QStringLiteral("save_gua_ming=") + r.hexagramName,
            QStringLiteral("save_gua_bianhao=") + r.caseNumber,
            QStringLiteral("save_lei_id=") + r.categoryId,
            QStringLiteral("save_nian=") + r.year,
            QStringLiteral("save_yue=") + r.month,
            QStringLiteral("save_ri=") + r.day,
            QStringLiteral("save_xingbie=") + r.gender,
            QStringLiteral("save_chusheng=") + r.birthYear,
            QStringLiteral("save_shiyou=") + r.subject};
}

QString CloudCaseService::saveNewCase(const store::CaseRecord& record) {
    return session_.post(QStringLiteral("savegua.php"), caseFields(record));
}

QString CloudCaseService::saveTexts(const store::CaseRecord& record, const store::CaseTexts& texts,
                                    store::TextsToSave which) {
    QStringList fields = caseFields(record);
    fields << QStringLiteral("save_duanyu=") + texts.judgment << QStringLiteral("save_fankui=") + texts.feedback
           << QStringLiteral("save_b=") + QString::number(int(which));
    return session_.post(QStringLiteral("saveduanyufankui.php"), fields);
}

std::optional<QString> CloudCaseService::failureOf(const QString& reply) const {
    if (reply == kNetError) return kNetErrorRetry;
    if (reply == u"no") return kRefused;
    return std::nullopt;
}

CloudLoad CloudCaseService::loadCloudCase(qint64 id, store::CaseStore& store) {
    QString reply = session_.post(QStringLiteral("loadgua.php"), {QStringLiteral("nm=") + session_.userName(),
                                                                  QStringLiteral("guaid=") + QString::number(id)});
    if (const auto failure = failureOf(reply)) return {std::nullopt, *failure};
    if (reply.isEmpty()) return {std::nullopt, kNoSearchResult};

    takeField(reply);
    store::CaseRecord record;
    for (QString* field : {&record.hexagramName, &record.caseNumber, &record.categoryId, &record.year, &record.month,
                           &record.day, &record.gender, &record.birthYear, &record.subject})
        *field = takeField(reply);
    store::CaseTexts texts;
    texts.judgment = takeField(reply);
    texts.feedback = takeField(reply);
    store.adoptCloudCase(id, record);
    return {texts, QString()};
}

CloudCaseService::Records CloudCaseService::readRecords(const QString& endpoint, const QStringList& fields, int width,
                                                        int cap) {
    const QString reply = session_.post(endpoint, QStringList{QStringLiteral("nm=") + session_.userName()} + fields);
    if (const auto failure = failureOf(reply)) return {{}, *failure};
    return {readList(reply, width, cap), QString()};
}

CloudCaseRows CloudCaseService::caseRows(const QString& endpoint, const QStringList& fields, int cap,
                                         const QString& emptyMessage) {
    const Records read = readRecords(endpoint, fields, kCaseRowWidth, cap);
    CloudCaseRows result{{}, read.message};
    for (const QStringList& record : read.records) result.rows.append(caseRow(record));
    if (result.message.isEmpty() && result.rows.isEmpty()) result.message = emptyMessage;
    return result;
}

CloudCaseRows CloudCaseService::recentCases() {
    return caseRows(QStringLiteral("cha.php"), {QStringLiteral("wd=list50")}, kSearchRowCap, QString());
}

CloudCaseRows CloudCaseService::searchCases(const QString& keyword) {
    return caseRows(QStringLiteral("cha.php"), {QStringLiteral("wd=") + keyword}, kSearchRowCap, kNoSearchResult);
}

CloudCaseRows CloudCaseService::casesOfMonth(qint64 category, const QString& year, const QString& month) {
    return caseRows(QStringLiteral("gualist.php"),
                    {QStringLiteral("fenlei=") + QString::number(category), QStringLiteral("nian=") + year,
                     QStringLiteral("yue=") + month},
                    kMonthRowCap, kNoCases);
}

CloudItems CloudCaseService::items(const QString& endpoint, const QStringList& fields, const QString& emptyMessage) {
    const Records read = readRecords(endpoint, fields, 1, kItemCap);
    CloudItems result{{}, read.message};
    for (const QStringList& record : read.records) result.items.append(record.first());
    if (result.message.isEmpty() && result.items.isEmpty()) result.message = emptyMessage;
    return result;
}

CloudItems CloudCaseService::yearList(qint64 category) {
    return items(QStringLiteral("nian.php"), {QStringLiteral("fenlei=") + QString::number(category)}, kNoYears);
}

CloudItems CloudCaseService::monthList(qint64 category, const QString& year) {
    return items(QStringLiteral("yue.php"),
                 {QStringLiteral("fenlei=") + QString::number(category), QStringLiteral("nian=") + year}, kNoMonths);
}

CloudCaseTexts CloudCaseService::caseTexts(qint64 id) {
    QString reply = session_.post(QStringLiteral("getduanyufankui.php"), {QStringLiteral("nm=") + session_.userName(),
                                                                          QStringLiteral("id=") + QString::number(id)});
    if (const auto failure = failureOf(reply)) return {std::nullopt, *failure};
    if (reply.isEmpty() || reply == u"<tr>") return {};
    const qsizetype at = reply.indexOf(u"<tr>");
    if (at >= 0) reply.replace(at, 4, QStringLiteral("\n***反馈***\n"));
    return {reply, QString()};
}

QString CloudCaseService::renameCategory(qint64 categoryId, const QString& name) {
    const QString reply = session_.post(
        QStringLiteral("changeleiming.php"),
        {QStringLiteral("nm=") + session_.userName(), QStringLiteral("lei_bendi_id=") + QString::number(categoryId),
         QStringLiteral("lei_mingcheng=") + name});
    return reply == u"ok" ? QString() : QStringLiteral("网络保存出错：") + reply;
}

QString renameCategory(store::CaseLists& local, CloudCaseService* cloud, qint64 categoryId, const QString& name) {
    const QString message = cloud ? cloud->renameCategory(categoryId, name) : QString();
    local.renameCategory(categoryId, name);
    return message;
}

}  // namespace cloud

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
            QStringLiteral("save_gua_ming=") + r.gua_ming,
            QStringLiteral("save_gua_bianhao=") + r.gua_bianhao,
            QStringLiteral("save_lei_id=") + r.lei_id,
            QStringLiteral("save_nian=") + r.nian,
            QStringLiteral("save_yue=") + r.yue,
            QStringLiteral("save_ri=") + r.ri,
            QStringLiteral("save_xingbie=") + r.xingbie,
            QStringLiteral("save_chusheng=") + r.chusheng,
            QStringLiteral("save_shiyou=") + r.shiyou};
}

QString CloudCaseService::saveNewCase(const store::CaseRecord& record) {
    return session_.post(QStringLiteral("savegua.php"), caseFields(record));
}

QString CloudCaseService::saveTexts(const store::CaseRecord& record, const store::CaseTexts& texts, int which) {
    QStringList fields = caseFields(record);
    fields << QStringLiteral("save_duanyu=") + texts.duanyu << QStringLiteral("save_fankui=") + texts.fankui
           << QStringLiteral("save_b=") + QString::number(which);
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
    for (QString* field : {&record.gua_ming, &record.gua_bianhao, &record.lei_id, &record.nian, &record.yue, &record.ri,
                           &record.xingbie, &record.chusheng, &record.shiyou})
        *field = takeField(reply);
    store::CaseTexts texts;
    texts.duanyu = takeField(reply);
    texts.fankui = takeField(reply);
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

QString CloudCaseService::renameCategory(qint64 leiId, const QString& name) {
    const QString reply =
        session_.post(QStringLiteral("changeleiming.php"), {QStringLiteral("nm=") + session_.userName(),
                                                            QStringLiteral("lei_bendi_id=") + QString::number(leiId),
                                                            QStringLiteral("lei_mingcheng=") + name});
    return reply == u"ok" ? QString() : QStringLiteral("网络保存出错：") + reply;
}

QString renameCategory(store::CaseLists& local, CloudCaseService* cloud, qint64 leiId, const QString& name) {
    const QString message = cloud ? cloud->renameCategory(leiId, name) : QString();
    local.renameCategory(leiId, name);
    return message;
}

}  // namespace cloud

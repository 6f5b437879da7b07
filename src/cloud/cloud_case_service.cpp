#include "cloud/cloud_case_service.h"

#include "chart/cast_place.h"
#include "cloud/reply_reading.h"

#include <QCoreApplication>

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

namespace {

// The place and clock of a case, after the other fields of a store request; none for the default
// place, so those requests stay as services that know no place have always read them.
QStringList placeFields(const store::CaseRecord& r) {
    if (r.place.isEmpty() && r.timeRule.isEmpty()) return {};
    return {QStringLiteral("save_didian=") + r.place, QStringLiteral("save_shizhi=") + r.timeRule};
}

}  // namespace

QString translated(const QString& message) {
    return QCoreApplication::translate("cloud::CloudCaseService", message.toUtf8().constData());
}

CloudSave newCaseSaved(const QString& reply) {
    if (reply == u"ok") return {true, QString(), false};
    return {false,
            QCoreApplication::translate("cloud::CloudCaseService", "网络保存失败，请重试，错误信息：%1").arg(reply),
            false};
}

CloudSave textsSaved(const QString& reply) {
    if (reply.contains(QStringLiteral("ok"))) return {true, QString(), false};
    return {false, QCoreApplication::translate("cloud::CloudCaseService", "网络保存失败，错误信息：%1").arg(reply),
            false};
}

namespace {

// The callback of a request whose answer the rule reads; a cancel reaches done untouched.
template <class Result>
ExchangeDone answered(CloudDone<Result> done, std::function<Result(const QString& reply)> read) {
    return [done = std::move(done), read = std::move(read)](const ExchangeResult& answer) {
        if (answer.failure == ExchangeFailure::Cancelled) {
            Result cancelled{};
            cancelled.cancelled = true;
            return done(cancelled);
        }
        done(read(answer.replyText()));
    };
}

// The message for "neterror" and for a refusal; none when the reply is to be read.
std::optional<QString> failureOf(const QString& reply) {
    if (reply == kNetError) return translated(kNetErrorRetry);
    if (reply == u"no") return translated(kRefused);
    return std::nullopt;
}

}  // namespace

void CloudCaseService::saveNewCase(const store::CaseRecord& record, CloudDone<CloudSave> done) {
    session_.post(QStringLiteral("savegua.php"), caseFields(record) + placeFields(record),
                  answered<CloudSave>(std::move(done), newCaseSaved));
}

void CloudCaseService::saveTexts(const store::CaseRecord& record, const store::CaseTexts& texts,
                                 store::TextsToSave which, CloudDone<CloudSave> done) {
    QStringList fields = caseFields(record);
    fields << QStringLiteral("save_duanyu=") + texts.judgment << QStringLiteral("save_fankui=") + texts.feedback
           << QStringLiteral("save_b=") + QString::number(int(which)) << placeFields(record);
    session_.post(QStringLiteral("saveduanyufankui.php"), fields, answered<CloudSave>(std::move(done), textsSaved));
}

void CloudCaseService::loadCloudCase(qint64 id, store::CaseStore& store, CloudDone<CloudLoad> done) {
    const auto read = [id, &store](QString reply) -> CloudLoad {
        if (const auto failure = failureOf(reply)) return {std::nullopt, *failure};
        if (reply.isEmpty()) return {std::nullopt, translated(kNoSearchResult)};
        takeField(reply);
        store::CaseRecord record;
        for (QString* field : {&record.hexagramName, &record.caseNumber, &record.categoryId, &record.year,
                               &record.month, &record.day, &record.gender, &record.birthYear, &record.subject})
            *field = takeField(reply);
        store::CaseTexts texts;
        texts.judgment = takeField(reply);
        texts.feedback = takeField(reply);
        // Services that keep no place send none: the default place. What cannot be read is the default too.
        const QString place = takeField(reply);
        const QString rule = takeField(reply);
        const chart::StoredPlace stored = chart::storedPlace(chart::placeOfStored(place, rule));
        record.place = stored.place;
        record.timeRule = stored.rule;
        store.adoptCloudCase(id, record);
        return {texts, QString()};
    };
    session_.post(QStringLiteral("loadgua.php"),
                  {QStringLiteral("nm=") + session_.userName(), QStringLiteral("guaid=") + QString::number(id)},
                  answered<CloudLoad>(std::move(done), read));
}

void CloudCaseService::readRecords(const QString& endpoint, const QStringList& fields, int width, int cap,
                                   std::function<void(const Records&)> done) {
    const auto read = [width, cap](const QString& reply) -> Records {
        if (const auto failure = failureOf(reply)) return {{}, *failure};
        // A list starts with its "ok" field: a refusal (a quota reached, say) says why instead.
        if (reply.startsWith(kServiceRefusal)) return {{}, reply};
        return {readList(reply, width, cap), QString()};
    };
    session_.post(endpoint, QStringList{QStringLiteral("nm=") + session_.userName()} + fields,
                  answered<Records>(std::move(done), read));
}

void CloudCaseService::caseRows(const QString& endpoint, const QStringList& fields, int cap,
                                const QString& emptyMessage, CloudDone<CloudCaseRows> done) {
    readRecords(endpoint, fields, kCaseRowWidth, cap, [emptyMessage, done](const Records& read) {
        CloudCaseRows result{{}, read.message, read.cancelled};
        for (const QStringList& record : read.records) result.rows.append(caseRow(record));
        if (!result.cancelled && result.message.isEmpty() && result.rows.isEmpty()) result.message = emptyMessage;
        done(result);
    });
}

void CloudCaseService::recentCases(CloudDone<CloudCaseRows> done) {
    caseRows(QStringLiteral("cha.php"), {QStringLiteral("wd=list50")}, kSearchRowCap, QString(), std::move(done));
}

void CloudCaseService::searchCases(const QString& keyword, CloudDone<CloudCaseRows> done) {
    caseRows(QStringLiteral("cha.php"), {QStringLiteral("wd=") + keyword}, kSearchRowCap, translated(kNoSearchResult),
             std::move(done));
}

void CloudCaseService::casesOfMonth(qint64 category, const QString& year, const QString& month,
                                    CloudDone<CloudCaseRows> done) {
    caseRows(QStringLiteral("gualist.php"),
             {QStringLiteral("fenlei=") + QString::number(category), QStringLiteral("nian=") + year,
              QStringLiteral("yue=") + month},
             kMonthRowCap, translated(kNoCases), std::move(done));
}

void CloudCaseService::items(const QString& endpoint, const QStringList& fields, const QString& emptyMessage,
                             CloudDone<CloudItems> done) {
    readRecords(endpoint, fields, 1, kItemCap, [emptyMessage, done](const Records& read) {
        CloudItems result{{}, read.message, read.cancelled};
        for (const QStringList& record : read.records) result.items.append(record.first());
        if (!result.cancelled && result.message.isEmpty() && result.items.isEmpty()) result.message = emptyMessage;
        done(result);
    });
}

void CloudCaseService::yearList(qint64 category, CloudDone<CloudItems> done) {
    items(QStringLiteral("nian.php"), {QStringLiteral("fenlei=") + QString::number(category)}, translated(kNoYears),
          std::move(done));
}

void CloudCaseService::monthList(qint64 category, const QString& year, CloudDone<CloudItems> done) {
    items(QStringLiteral("yue.php"),
          {QStringLiteral("fenlei=") + QString::number(category), QStringLiteral("nian=") + year},
          translated(kNoMonths), std::move(done));
}

void CloudCaseService::caseTexts(qint64 id, CloudDone<CloudCaseTexts> done) {
    const auto read = [](QString reply) -> CloudCaseTexts {
        if (const auto failure = failureOf(reply)) return {std::nullopt, *failure};
        if (reply.isEmpty() || reply == u"<tr>") return {};
        const qsizetype at = reply.indexOf(u"<tr>");
        if (at >= 0)
            reply.replace(at, 4, u'\n' + QCoreApplication::translate("cloud::CloudCaseService", "***反馈***") + u'\n');
        return {reply, QString()};
    };
    session_.post(QStringLiteral("getduanyufankui.php"),
                  {QStringLiteral("nm=") + session_.userName(), QStringLiteral("id=") + QString::number(id)},
                  answered<CloudCaseTexts>(std::move(done), read));
}

void CloudCaseService::renameCategory(qint64 categoryId, const QString& name, CloudDone<CloudSave> done) {
    const auto read = [](const QString& reply) -> CloudSave {
        if (reply == u"ok") return {true, QString()};
        return {false, QCoreApplication::translate("cloud::CloudCaseService", "网络保存出错：%1").arg(reply)};
    };
    session_.post(
        QStringLiteral("changeleiming.php"),
        {QStringLiteral("nm=") + session_.userName(), QStringLiteral("lei_bendi_id=") + QString::number(categoryId),
         QStringLiteral("lei_mingcheng=") + name},
        answered<CloudSave>(std::move(done), read));
}

void renameCategory(store::CaseLists& local, CloudCaseService* cloud, qint64 categoryId, const QString& name,
                    CloudDone<CloudSave> done) {
    const auto renameLocally = [&local, categoryId, name, done](const CloudSave& inCloud) {
        if (inCloud.cancelled) return done(inCloud);
        try {
            local.renameCategory(categoryId, name);
        } catch (const store::DatabaseError& e) {
            return done({false, e.text()});
        }
        done({true, inCloud.saved ? QString() : inCloud.message});
    };
    if (cloud)
        cloud->renameCategory(categoryId, name, renameLocally);
    else
        renameLocally({true, QString()});
}

}  // namespace cloud

#pragma once
// The cases of the logged-in user in the case service: storing a new case and the texts (the
// store's cloud seam), loading a case, the recent list, search, the browser's year, month and
// case lists, the texts of one case, and renaming a category. Every operation is one post; its
// result carries the message the window shows, empty when there is none.
#include "cloud/cloud_session.h"
#include "store/case_lists.h"
#include "store/case_store.h"
#include "store/cloud_cases.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace cloud {

// The messages of the cloud lists and loads.
inline const QString kNetErrorRetry = QStringLiteral("网络错误，请重试。");
inline const QString kNoSearchResult = QStringLiteral("网络上没有搜索到结果。");
inline const QString kNoCases = QStringLiteral("网络上没有卦数据。");
inline const QString kNoYears = QStringLiteral("网络上没有年数据。");
inline const QString kNoMonths = QStringLiteral("网络上没有月数据。");
// The service answers "no" when it does not take the request as the user's own.
inline const QString kRefused = QStringLiteral("网络服务拒绝了请求（用户名或密码不符），请重新启动程序并登陆。");

// Case list rows keep the service's field order: identifier, case number, matter, hexagram
// name, as the local lists give them.
struct CloudCaseRows {
    QList<store::CaseListRow> rows;
    QString message;
};

struct CloudItems {
    QStringList items;  // years or months, as the service writes them
    QString message;
};

struct CloudCaseTexts {
    std::optional<QString> text;  // judgment, "***反馈***" line, feedback; none: show nothing
    QString message;
};

struct CloudLoad {
    std::optional<store::CaseTexts> texts;  // the judgment and feedback of the loaded case
    QString message;
};

class CloudCaseService : public store::CloudCases {
public:
    explicit CloudCaseService(CloudSession& session) : session_(session) {}

    // savegua.php; the reply ("ok" when stored).
    QString saveNewCase(const store::CaseRecord& record) override;
    // saveduanyufankui.php with both texts and which of them to keep; the reply.
    QString saveTexts(const store::CaseRecord& record, const store::CaseTexts& texts,
                      store::TextsToSave which) override;

    // loadgua.php: on success the case becomes the store's current record (saveKey, caseId)
    // and enters the history as id + "(网络)"; the texts go to the editors.
    CloudLoad loadCloudCase(qint64 id, store::CaseStore& store);

    CloudCaseRows recentCases();  // an empty list has no message
    CloudCaseRows searchCases(const QString& keyword);
    // category: a lei_id, or store::kAllCategories when viewing by time.
    CloudItems yearList(qint64 category);
    CloudItems monthList(qint64 category, const QString& year);
    CloudCaseRows casesOfMonth(qint64 category, const QString& year, const QString& month);
    CloudCaseTexts caseTexts(qint64 id);

    // changeleiming.php; the message to show, empty when the service took it.
    QString renameCategory(qint64 categoryId, const QString& name);

private:
    // The message for "neterror" and for a refusal; none when the reply is to be read.
    std::optional<QString> failureOf(const QString& reply) const;
    struct Records {
        QList<QStringList> records;
        QString message;
    };
    // Posts "nm=" and the fields and reads the reply by the list-reading rule.
    Records readRecords(const QString& endpoint, const QStringList& fields, int width, int cap);
    CloudCaseRows caseRows(const QString& endpoint, const QStringList& fields, int cap, const QString& emptyMessage);
    CloudItems items(const QString& endpoint, const QStringList& fields, const QString& emptyMessage);
    QStringList caseFields(const store::CaseRecord& record) const;

    CloudSession& session_;
};

// Renames a category: in the case service first while logged in (cloud not null), then in the
// local table in every case. The message to show, empty when all went well.
QString renameCategory(store::CaseLists& local, CloudCaseService* cloud, qint64 categoryId, const QString& name);

}  // namespace cloud

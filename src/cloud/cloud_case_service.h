#pragma once
// The cases of the logged-in user in the case service: storing a new case and the texts, loading
// a case, the recent list, search, the browser's year, month and case lists, the texts of one
// case, and renaming a category. Every operation is one post; its callback gets the result once
// the service has answered, with the message the window shows, empty when there is none. A
// request the user cancelled changes nothing and shows nothing (cancelled is set).
#include "cloud/cloud_session.h"
#include "store/case_lists.h"
#include "store/case_store.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace cloud {

// The messages of the cloud lists and loads, as written (简体中文); the results carry them in the
// interface's language (translated).
inline const QString kNetErrorRetry =
    QStringLiteral(QT_TRANSLATE_NOOP("cloud::CloudCaseService", "网络错误，请重试。"));
inline const QString kNoSearchResult =
    QStringLiteral(QT_TRANSLATE_NOOP("cloud::CloudCaseService", "网络上没有搜索到结果。"));
inline const QString kNoCases = QStringLiteral(QT_TRANSLATE_NOOP("cloud::CloudCaseService", "网络上没有卦数据。"));
inline const QString kNoYears = QStringLiteral(QT_TRANSLATE_NOOP("cloud::CloudCaseService", "网络上没有年数据。"));
inline const QString kNoMonths = QStringLiteral(QT_TRANSLATE_NOOP("cloud::CloudCaseService", "网络上没有月数据。"));
// The service answers "no" when it does not take the request as the user's own.
inline const QString kRefused = QStringLiteral(
    QT_TRANSLATE_NOOP("cloud::CloudCaseService", "网络服务拒绝了请求（用户名或密码不符），请重新启动程序并登陆。"));
// One of the messages above in the interface's language.
QString translated(const QString& message);

// How the service's refusals of a request start (a quota reached, a text it cannot take): the
// service's own words, shown as they come.
inline const QString kServiceRefusal = QStringLiteral("请求被拒绝：");

// Case list rows keep the service's field order: identifier, case number, matter, hexagram
// name, as the local lists give them.
struct CloudCaseRows {
    QList<store::CaseListRow> rows;
    QString message;
    bool cancelled = false;
};

struct CloudItems {
    QStringList items;  // years or months, as the service writes them
    QString message;
    bool cancelled = false;
};

struct CloudCaseTexts {
    std::optional<QString> text;  // judgment, "***反馈***" line, feedback; none: show nothing
    QString message;
    bool cancelled = false;
};

struct CloudLoad {
    std::optional<store::CaseTexts> texts;  // the judgment and feedback of the loaded case
    QString message;
    bool cancelled = false;
};

// A case or its texts stored in the service.
struct CloudSave {
    bool saved = false;
    QString message;  // to show when not saved
    bool cancelled = false;
};

// What the reply of savegua.php and of saveduanyufankui.php mean.
CloudSave newCaseSaved(const QString& reply);
CloudSave textsSaved(const QString& reply);

template <class Result>
using CloudDone = std::function<void(const Result&)>;

class CloudCaseService {
public:
    explicit CloudCaseService(CloudSession& session) : session_(session) {}

    // savegua.php, after the local insert (the record as the store filled it). Both saves send the
    // place and clock of a case cast elsewhere last (save_didian, save_shizhi); a case of the
    // default place goes without them, as it always did.
    void saveNewCase(const store::CaseRecord& record, CloudDone<CloudSave> done);
    // saveduanyufankui.php with both texts and which of them to keep, after the local save.
    void saveTexts(const store::CaseRecord& record, const store::CaseTexts& texts, store::TextsToSave which,
                   CloudDone<CloudSave> done);

    // loadgua.php: on success the case becomes the store's current record (saveKey, caseId), with
    // the place and clock the service returned after the texts (none: the default place),
    // and enters the history as id + "(网络)"; the texts go to the editors. The store must
    // outlive the request.
    void loadCloudCase(qint64 id, store::CaseStore& store, CloudDone<CloudLoad> done);

    void recentCases(CloudDone<CloudCaseRows> done);  // an empty list has no message
    void searchCases(const QString& keyword, CloudDone<CloudCaseRows> done);
    // category: a lei_id, or store::kAllCategories when viewing by time.
    void yearList(qint64 category, CloudDone<CloudItems> done);
    void monthList(qint64 category, const QString& year, CloudDone<CloudItems> done);
    void casesOfMonth(qint64 category, const QString& year, const QString& month, CloudDone<CloudCaseRows> done);
    void caseTexts(qint64 id, CloudDone<CloudCaseTexts> done);

    // changeleiming.php; the message to show, empty when the service took it.
    void renameCategory(qint64 categoryId, const QString& name, CloudDone<CloudSave> done);

private:
    struct Records {
        QList<QStringList> records;
        QString message;
        bool cancelled = false;
    };
    // Posts "nm=" and the fields and reads the reply by the list-reading rule.
    void readRecords(const QString& endpoint, const QStringList& fields, int width, int cap,
                     std::function<void(const Records&)> done);
    void caseRows(const QString& endpoint, const QStringList& fields, int cap, const QString& emptyMessage,
                  CloudDone<CloudCaseRows> done);
    void items(const QString& endpoint, const QStringList& fields, const QString& emptyMessage,
               CloudDone<CloudItems> done);
    QStringList caseFields(const store::CaseRecord& record) const;

    CloudSession& session_;
};

// Renames a category: in the case service first while logged in (cloud not null), then in the
// local table whatever the service answered. done gets saved when the local table took it, and
// the message to show (the service's refusal, or the database's text when the local rename
// failed); a cancelled request renames nothing.
void renameCategory(store::CaseLists& local, CloudCaseService* cloud, qint64 categoryId, const QString& name,
                    CloudDone<CloudSave> done);

}  // namespace cloud

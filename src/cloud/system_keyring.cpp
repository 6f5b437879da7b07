#include "cloud/system_keyring.h"

#include <qt6keychain/keychain.h>
#include <QEventLoop>
#include <QTimer>

namespace cloud {
namespace {

struct JobResult {
    bool finished = false;
    QKeychain::Error error = QKeychain::OtherError;
    QString secret;
};

// Starts the job and waits for its end at most `wait`, running the events the keyring's
// answer arrives with (the window repaints meanwhile; input waits). A job that outlives the
// wait finishes and deletes itself later; its answer is ignored.
JobResult run(QKeychain::Job* job, std::chrono::milliseconds wait) {
    JobResult result;
    QEventLoop loop;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [&result, &loop](QKeychain::Job* done) {
        result.finished = true;
        result.error = done->error();
        if (auto* reading = qobject_cast<QKeychain::ReadPasswordJob*>(done)) result.secret = reading->textData();
        loop.quit();
    });
    QTimer::singleShot(wait, &loop, &QEventLoop::quit);
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    job->start();
    if (!result.finished) loop.exec(QEventLoop::ExcludeUserInputEvents);
    return result;
}

}  // namespace

SystemKeyring::Read SystemKeyring::read(const QString& service, const QString& key) const {
    if (stalled_) return {};
    auto* job = new QKeychain::ReadPasswordJob(service);
    job->setKey(key);
    const JobResult result = run(job, wait_);
    stalled_ = !result.finished;
    if (result.finished && result.error == QKeychain::NoError) return {Answer::Done, result.secret};
    if (result.finished && result.error == QKeychain::EntryNotFound) return {Answer::Missing, {}};
    return {};
}

bool SystemKeyring::write(const QString& service, const QString& key, const QString& secret) const {
    if (stalled_) return false;
    auto* job = new QKeychain::WritePasswordJob(service);
    job->setKey(key);
    job->setTextData(secret);
    const JobResult result = run(job, wait_);
    stalled_ = !result.finished;
    return result.finished && result.error == QKeychain::NoError;
}

SystemKeyring::Answer SystemKeyring::remove(const QString& service, const QString& key) const {
    if (stalled_) return Answer::Unavailable;
    auto* job = new QKeychain::DeletePasswordJob(service);
    job->setKey(key);
    const JobResult result = run(job, wait_);
    stalled_ = !result.finished;
    if (result.finished && (result.error == QKeychain::NoError || result.error == QKeychain::EntryNotFound))
        return Answer::Done;
    return Answer::Unavailable;
}

}  // namespace cloud

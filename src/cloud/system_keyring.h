#pragma once
// Secrets in the desktop session's keyring (the Secret Service or KWallet, through QtKeychain).
// The keyring answers asynchronously and may hang (a locked keyring waiting for its unlock
// prompt, a stuck bus); a call here waits for it at most the given time and then reports it
// unavailable, and after one such wait every later call of the object reports it unavailable
// at once, so a run waits for a stuck keyring only once.
#include <QString>
#include <chrono>
#include <optional>

namespace cloud {

class SystemKeyring {
public:
    enum class Answer { Done, Missing, Unavailable };

    struct Read {
        Answer answer = Answer::Unavailable;
        QString secret;  // when Done
    };

    // service and key name an entry together (QtKeychain's service and key).
    explicit SystemKeyring(std::chrono::milliseconds wait = std::chrono::seconds(3)) : wait_(wait) {}

    Read read(const QString& service, const QString& key) const;
    // True when the keyring holds the secret now.
    bool write(const QString& service, const QString& key, const QString& secret) const;
    // Done when the entry is gone (or was never there), Unavailable when that is not known.
    Answer remove(const QString& service, const QString& key) const;
    // Whether a call ran out of its wait; every call then reports the keyring unavailable.
    bool stalled() const { return stalled_; }

private:
    std::chrono::milliseconds wait_;
    mutable bool stalled_ = false;  // a call ran out of its wait
};

}  // namespace cloud

#include "cloud/remembered_login.h"

#include "cloud/device_token_file.h"
#include "account/password_digest.h"

namespace cloud {
namespace {

// value2 starts with a control character no login box lets anyone type, so neither form can
// be mistaken for a password an earlier version kept there.
const QString kInKeyring = QStringLiteral("\u0001keyring");  // an earlier version's digest
const QString kDigestPrefix = QStringLiteral("\u0001digest:");
const QString kTokenInKeyring = QStringLiteral("\u0001token:keyring");
const QString kTokenInFile = QStringLiteral("\u0001token:file");

bool isToken(const QString& text) {
    if (text.size() != 64) return false;
    for (const QChar c : text)
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'))) return false;
    return true;
}

bool isDigest(const QString& text) {
    if (text.size() != 32) return false;
    for (const QChar c : text)
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'))) return false;
    return true;
}

// Writes made while this lives leave no copy of what they replace in the file's free space.
// Every write of the login's row goes through one: rewriting any of its columns moves the
// whole row, the remembered digest with it.
class ScrubbedWrites {
public:
    explicit ScrubbedWrites(store::Database& db)
        : db_(db), before_(db.getFirstInteger(QStringLiteral("pragma secure_delete"))) {
        db_.execute(QStringLiteral("pragma secure_delete=1"));
    }
    ~ScrubbedWrites() {
        try {
            db_.execute(QStringLiteral("pragma secure_delete=%1").arg(before_));
        } catch (const store::DatabaseError&) {
            // Only later deletes of this run are then scrubbed as well.
        }
    }
    ScrubbedWrites(const ScrubbedWrites&) = delete;
    ScrubbedWrites& operator=(const ScrubbedWrites&) = delete;

private:
    store::Database& db_;
    qint64 before_;
};

}  // namespace

struct RememberedLogin::Stored {
    enum class Kind { Nothing, InKeyring, Digest, Typed, TokenInKeyring, TokenInFile } kind = Kind::Nothing;
    QString userName;
    QString secret;  // the digest, or the password as an earlier version kept it
};

RememberedLogin::RememberedLogin(store::Database& db, const SystemKeyring* keyring, const QString& serviceAddress,
                                 const QString& tokenFolder)
    : settings_(db),
      db_(db),
      keyring_(serviceAddress.isEmpty() ? nullptr : keyring),
      serviceAddress_(serviceAddress),
      tokenFolder_(tokenFolder) {}

QString RememberedLogin::keyringService() const { return QStringLiteral("Qinglan ") + serviceAddress_; }

RememberedLogin::Stored RememberedLogin::stored() {
    Stored s;
    s.userName = settings_.get(store::setting::loginName);
    const QString value = settings_.get(store::setting::loginPassword);
    if (value.isEmpty()) return s;
    if (value == kInKeyring) {
        s.kind = Stored::Kind::InKeyring;
    } else if (value == kTokenInKeyring) {
        s.kind = Stored::Kind::TokenInKeyring;
    } else if (value == kTokenInFile) {
        s.kind = Stored::Kind::TokenInFile;
    } else if (value.startsWith(kDigestPrefix)) {
        s.secret = value.mid(kDigestPrefix.size());
        if (isDigest(s.secret)) s.kind = Stored::Kind::Digest;
    } else {
        s.kind = Stored::Kind::Typed;
        s.secret = value;
    }
    if (s.kind != Stored::Kind::Typed) return s;

    // A password kept as typed by an earlier version: from now on only its digest is kept.
    const bool keep = !s.userName.isEmpty() && rememberOn();
    s.secret = keep ? account::passwordDigest(s.secret) : QString();
    s.kind = keep ? Stored::Kind::Digest : Stored::Kind::Nothing;
    if (db_.readOnly()) return s;
    if (keep && keyring_ && keyring_->write(keyringService(), s.userName, s.secret)) s.kind = Stored::Kind::InKeyring;
    if (s.kind == Stored::Kind::InKeyring)
        writeSecret(kInKeyring);
    else
        writeSecret(keep ? kDigestPrefix + s.secret : QString());
    // Earlier writes of the row left copies of the password in the file's free space.
    scrubFile();
    return s;
}

void RememberedLogin::scrubFile() {
    // Only rebuilding the file removes what earlier writes left in its free space. When that
    // fails (another program holds the file, the disk is full) the row is rewritten all the same.
    try {
        db_.execute(QStringLiteral("vacuum"));
    } catch (const store::DatabaseError&) {
    }
    // The rebuilt file goes in now, not once the program is idle, and the log drops the old pages.
    db_.checkpoint();
}

void RememberedLogin::writeSecret(const QString& value) {
    ScrubbedWrites scrubbed(db_);
    settings_.set(store::setting::loginPassword, value);
}

LoginMemory RememberedLogin::read() {
    const Stored s = stored();
    const bool on = rememberOn();
    return {s.userName, on && !s.userName.isEmpty() && s.kind != Stored::Kind::Nothing, on};
}

RememberedLogin::Kept RememberedLogin::keptFor(const QString& userName) {
    const Stored s = stored();
    if (userName.isEmpty() || s.userName != userName || !rememberOn()) return {};
    if (s.kind == Stored::Kind::Digest) return {Lookup::Found, Kind::Digest, s.secret};
    if (s.kind == Stored::Kind::TokenInFile) {
        if (serviceAddress_.isEmpty()) return {};
        if (const auto token = DeviceTokenFile(tokenFolder_, serviceAddress_, userName).read())
            return {Lookup::Found, Kind::DeviceToken, *token};
        forget();
        return {};
    }
    if (s.kind != Stored::Kind::InKeyring && s.kind != Stored::Kind::TokenInKeyring) return {};
    if (!keyring_) return {Lookup::Unreadable, {}, {}};
    const SystemKeyring::Read kept = keyring_->read(keyringService(), userName);
    if (kept.answer == SystemKeyring::Answer::Unavailable) return {Lookup::Unreadable, {}, {}};
    const bool token = s.kind == Stored::Kind::TokenInKeyring;
    if (kept.answer == SystemKeyring::Answer::Done && (token ? isToken(kept.secret) : isDigest(kept.secret)))
        return {Lookup::Found, token ? Kind::DeviceToken : Kind::Digest, kept.secret};
    // The entry is gone (or is not what it should be): nothing is kept any more.
    forget();
    return {};
}

bool RememberedLogin::rememberToken(const QString& userName, const QString& token) {
    const Stored before = stored();
    if (before.userName != userName) dropKept(before.userName, settings_.get(store::setting::loginPassword));
    bool inKeyring = keyring_ && keyring_->write(keyringService(), userName, token);
    const DeviceTokenFile file(tokenFolder_, serviceAddress_, userName);
    bool inFile = false;
    if (inKeyring)
        file.remove();
    else
        inFile = !serviceAddress_.isEmpty() && file.write(token);
    ScrubbedWrites scrubbed(db_);
    store::Transaction transaction(db_);
    settings_.set(store::setting::loginName, userName);
    settings_.set(store::setting::loginPassword, inKeyring ? kTokenInKeyring : inFile ? kTokenInFile : QString());
    settings_.set(store::setting::rememberLogin, true);
    transaction.commit();
    // A digest an earlier version kept in the row leaves no copy behind.
    if (before.kind == Stored::Kind::Digest) scrubFile();
    return inKeyring || inFile;
}

// The keyring entry and the token file of the name, whatever value2 says: a write that outlived
// its wait may have reached the keyring after all.
void RememberedLogin::dropKept(const QString& userName, const QString& value) {
    if (userName.isEmpty() || value.isEmpty()) return;
    if (keyring_ && value != kTokenInFile) keyring_->remove(keyringService(), userName);
    if (!serviceAddress_.isEmpty()) DeviceTokenFile(tokenFolder_, serviceAddress_, userName).remove();
}

void RememberedLogin::forget() {
    const QString value = settings_.get(store::setting::loginPassword);
    if (value.isEmpty()) return;
    dropKept(settings_.get(store::setting::loginName), value);
    writeSecret(QString());
}

void RememberedLogin::setRemember(bool on) {
    if (!on) forget();
    ScrubbedWrites scrubbed(db_);
    settings_.set(store::setting::rememberLogin, on);
}

}  // namespace cloud

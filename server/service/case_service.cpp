#include "service/case_service.h"

#include "audit/audit_log.h"
#include "model/account_name.h"
#include "model/text_checks.h"
#include "protocol/form_body.h"
#include "protocol/reply_format.h"

#include <algorithm>
#include <stdexcept>
#include <variant>

namespace qinglan::caseservice {

namespace {

using Names = std::vector<std::string_view>;

// How an endpoint's reply is read by the client, which decides what a refused request gets.
enum class ReplyKind {
    Message,  // the client shows any unexpected reply as a message: refusals say why
    List,     // a list the client reads from its "ok" field on: refusals say why, and a client
              // that does not show them finds nothing in them
    Records,  // the client reads one record: a refusal is the empty reply ("nothing found")
};

// Account: the handler checks the password itself; Device: it checks a device's token (no
// password hash); User: every request after login, with the session token in "pw".
enum class Access { Account, Device, User };

// What a handler works with: the service's parts and one request, whose user is known for the
// requests of Access::user.
struct Context {
    CaseRepository& store;
    PasswordAuth& auth;
    const LoginNotice& notice;
    AccountQuotaBook& quotas;
};
struct Request {
    const FormFields& form;
    const std::string& clientAddress;
    std::int64_t user = 0;
};
using Handler = ServiceReply (*)(const Context&, const Request&);

ServiceReply logIn(const Context&, const Request&);
ServiceReply registerAccount(const Context&, const Request&);
ServiceReply changePassword(const Context&, const Request&);
ServiceReply saveCase(const Context&, const Request&);
ServiceReply saveTexts(const Context&, const Request&);
ServiceReply loadCase(const Context&, const Request&);
ServiceReply searchCases(const Context&, const Request&);
ServiceReply listCasesOfMonth(const Context&, const Request&);
ServiceReply listYears(const Context&, const Request&);
ServiceReply listMonths(const Context&, const Request&);
ServiceReply loadTexts(const Context&, const Request&);
ServiceReply renameCategory(const Context&, const Request&);
ServiceReply logOut(const Context&, const Request&);
ServiceReply addDevice(const Context&, const Request&);
ServiceReply refreshLogin(const Context&, const Request&);
ServiceReply listDevices(const Context&, const Request&);
ServiceReply removeDevice(const Context&, const Request&);

struct Endpoint {
    std::string_view name;
    // In wire order; "pw" last for the user's own requests. Fields that older clients leave
    // out stand right before "pw": a body without them reads as it always did, every field
    // that is there gets the same checks, and a value holding one of their names after "&"
    // is as ambiguous as one holding any other.
    Names fields;
    ReplyKind kind;
    Access access;
    Handler handler;
};

const std::vector<Endpoint>& endpoints() {
    static const std::vector<Endpoint> table = {
        {"login.php", {"nm", "pw"}, ReplyKind::Message, Access::Account, logIn},
        {"reg.php", {"nm", "pw", "shouji", "youxiang"}, ReplyKind::Message, Access::Account, registerAccount},
        {"changpw.php", {"nm", "oldpw", "newpw"}, ReplyKind::Message, Access::Account, changePassword},
        {"savegua.php",
         {"nm", "save_gua_ming", "save_gua_bianhao", "save_lei_id", "save_nian", "save_yue", "save_ri", "save_xingbie",
          "save_chusheng", "save_shiyou", "save_didian", "save_shizhi", "pw"},
         ReplyKind::Message,
         Access::User,
         saveCase},
        {"saveduanyufankui.php",
         {"nm", "save_gua_ming", "save_gua_bianhao", "save_lei_id", "save_nian", "save_yue", "save_ri", "save_xingbie",
          "save_chusheng", "save_shiyou", "save_duanyu", "save_fankui", "save_b", "save_didian", "save_shizhi", "pw"},
         ReplyKind::Message,
         Access::User,
         saveTexts},
        {"loadgua.php", {"nm", "guaid", "pw"}, ReplyKind::Records, Access::User, loadCase},
        {"cha.php", {"nm", "wd", "pw"}, ReplyKind::List, Access::User, searchCases},
        {"gualist.php", {"nm", "fenlei", "nian", "yue", "pw"}, ReplyKind::List, Access::User, listCasesOfMonth},
        {"nian.php", {"nm", "fenlei", "pw"}, ReplyKind::List, Access::User, listYears},
        {"yue.php", {"nm", "fenlei", "nian", "pw"}, ReplyKind::List, Access::User, listMonths},
        {"getduanyufankui.php", {"nm", "id", "pw"}, ReplyKind::Records, Access::User, loadTexts},
        {"changeleiming.php",
         {"nm", "lei_bendi_id", "lei_mingcheng", "pw"},
         ReplyKind::Message,
         Access::User,
         renameCategory},
        {"logout.php", {"nm", "pw"}, ReplyKind::Message, Access::User, logOut},
        {"token.php", {"nm", "shebei", "pw"}, ReplyKind::Message, Access::Account, addDevice},
        {"refresh.php", {"nm", "lingpai"}, ReplyKind::Message, Access::Device, refreshLogin},
        {"devices.php", {"nm", "pw"}, ReplyKind::Records, Access::User, listDevices},
        {"revoke.php", {"nm", "shebeiid", "pw"}, ReplyKind::Message, Access::User, removeDevice},
    };
    return table;
}

constexpr int kRecentCount = 50;
constexpr int kSearchCount = 100;
constexpr int kMonthListCount = 3001;  // the most rows the client reads from a case list

// A refused request whose reply the client shows. Never holds the letters "ok": the
// texts save counts any reply containing them as saved.
std::string refusal(std::string_view reason) { return "请求被拒绝：" + std::string(reason); }

// Logs the refusal with the client's network (never the name) and says how long to wait.
std::string throttledReply(const Request& r, std::string_view what, int seconds) {
    recordAuditEvent(AuditEvent::LoginThrottled, networkOf(r.clientAddress), what);
    return "登录失败次数过多，请" + std::to_string(seconds) + "秒后再试。";
}

// "256 MiB", "64 KiB" or "1000 字节".
std::string sizeText(std::int64_t bytes) {
    if (bytes % (1024 * 1024) == 0) return std::to_string(bytes / (1024 * 1024)) + " MiB";
    if (bytes % 1024 == 0) return std::to_string(bytes / 1024) + " KiB";
    return std::to_string(bytes) + " 字节";
}

std::int64_t textBytes(const CaseFields& f) {
    return static_cast<std::int64_t>(f.hexagramName.size() + f.caseNumber.size() + f.gender.size() +
                                     f.birthYear.size() + f.subject.size() + f.place.size() + f.timeRule.size());
}

// Charges a save that changes the user's stored bytes by growth to the account's quotas and
// runs write; the refusal instead when a quota is reached (one audit line).
template <class Write>
ServiceReply chargedSave(const Context& c, const Request& r, std::int64_t growth, Write write) {
    const auto admission = c.quotas.admitSave(r.user, growth, [&] { return c.store.storedBytes(r.user); });
    switch (admission.refused) {
    case QuotaRefusal::None: break;
    case QuotaRefusal::SavesPerMinute:
        recordAuditEvent(AuditEvent::QuotaRefused, networkOf(r.clientAddress), "saves per minute");
        return refusal("保存过于频繁（每个账户每分钟至多" + std::to_string(c.quotas.limits().savesPerMinute) +
                       "次），请" + std::to_string(admission.secondsToWait) + "秒后再试");
    case QuotaRefusal::StoredBytes:
        recordAuditEvent(AuditEvent::QuotaRefused, networkOf(r.clientAddress), "stored bytes");
        return refusal("本账户在网络上保存的内容已达上限（" + sizeText(c.quotas.limits().storedBytes) + "），未保存");
    }
    try {
        write();
    } catch (...) {
        c.quotas.returnBytes(r.user, growth);
        throw;
    }
    return std::string(kOk);
}

// "-1" means every category.
std::optional<CategoryFilter> categoryFilter(std::string_view text) {
    const auto value = parseInteger(text);
    if (!value) return std::nullopt;
    return *value == -1 ? CategoryFilter{} : CategoryFilter{*value};
}

// The case fields of a store request (place and clock empty when the client sent none);
// nullopt when a number is not one.
std::optional<CaseFields> caseFields(const FormFields& form) {
    CaseFields f{form.value("save_gua_ming"), form.value("save_gua_bianhao"), form.value("save_lei_id"),
                 form.value("save_nian"),     form.value("save_yue"),         form.value("save_ri"),
                 form.value("save_xingbie"),  form.value("save_chusheng"),    form.value("save_shiyou"),
                 form.value("save_didian"),   form.value("save_shizhi")};
    if (!f.categoryId.empty() && !parseInteger(f.categoryId)) return std::nullopt;
    for (const auto* number : {&f.year, &f.month, &f.day})
        if (!parseInteger(*number)) return std::nullopt;
    return f;
}

// Whether a stored text of the case holds a reply marker.
bool caseHoldsReplyMarker(const CaseFields& f) {
    for (const auto* text :
         {&f.hexagramName, &f.caseNumber, &f.gender, &f.birthYear, &f.subject, &f.place, &f.timeRule})
        if (holdsReplyMarker(*text)) return true;
    return false;
}

// The checked password of the request's name: the user, or the reply that refuses.
std::variant<std::int64_t, ServiceReply> checkedPassword(const Context& c, const Request& r) {
    // A name no account can have is answered at once: nothing is hashed or remembered for it.
    const auto key = accountNameKey(r.form.value("nm"));
    if (!key) return std::string(kNo);
    const auto outcome = c.auth.check(*key, r.form.value("pw"), r.clientAddress);
    switch (outcome.result) {
    case AuthResult::Wrong: return std::string(kNo);
    case AuthResult::Disabled: return std::string(kCancel);
    case AuthResult::Throttled: return throttledReply(r, "login", outcome.secondsToWait);
    case AuthResult::Ok: break;
    }
    return outcome.user;
}

// A new session of the user, with the login reply.
ServiceReply openedSession(const Context& c, std::int64_t user) {
    const auto categories = c.store.categories(user);
    std::string token = c.auth.openSession(user);
    // Nothing to tell: the bare "ok" leaves the client's message label, link and
    // categories as they are.
    if (c.notice.message.empty() && c.notice.url.empty() && c.notice.version == 0 && categories.empty())
        return {std::string(kOk), std::move(token)};
    return {fullLoginReply(c.notice, categories), std::move(token)};
}

ServiceReply logIn(const Context& c, const Request& r) {
    const auto user = checkedPassword(c, r);
    if (const auto* refused = std::get_if<ServiceReply>(&user)) return *refused;
    return openedSession(c, std::get<std::int64_t>(user));
}

// The name a client gives its device: one line of 1 to 64 characters.
bool isDeviceName(std::string_view name) {
    return !name.empty() && codePointCount(name) <= 64 && !holdsReplyMarker(name) &&
           std::none_of(name.begin(), name.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

ServiceReply addDevice(const Context& c, const Request& r) {
    const std::string name = r.form.value("shebei");
    if (!isDeviceName(name)) return refusal("设备名称须为1到64个字，不含控制字符、<t>或<tr>");
    const auto user = checkedPassword(c, r);
    if (const auto* refused = std::get_if<ServiceReply>(&user)) return *refused;
    return deviceTokenReply(c.auth.devices().add(std::get<std::int64_t>(user), name), "");
}

// The device's next token before the login reply's fields: the token is spent either way.
ServiceReply refreshLogin(const Context& c, const Request& r) {
    const auto key = accountNameKey(r.form.value("nm"));
    const auto refreshed = key ? c.auth.devices().refresh(*key, r.form.value("lingpai")) : std::nullopt;
    if (!refreshed) return std::string(kNo);
    ServiceReply login = openedSession(c, refreshed->user);
    login.body = deviceTokenReply(refreshed->token, login.body);
    return login;
}

ServiceReply listDevices(const Context& c, const Request& r) { return deviceListReply(c.store.devices(r.user)); }

ServiceReply removeDevice(const Context& c, const Request& r) {
    const auto device = parseInteger(r.form.value("shebeiid"));
    if (!device) return refusal("设备编号必须是整数");
    if (!c.store.removeDevice(r.user, *device)) return refusal("没有这个设备");
    return std::string(kOk);
}

ServiceReply registerAccount(const Context& c, const Request& r) {
    const std::string pw = r.form.value("pw");
    const std::string phone = r.form.value("shouji");
    const std::string email = r.form.value("youxiang");
    std::string why;
    const auto nm = accountNameForRegistration(r.form.value("nm"), why);
    if (!nm || !isPasswordDigest(pw) || (phone.empty() && email.empty())) return std::string(kCancel);
    int wait = 0;
    switch (c.auth.registerUser(*nm, pw, phone, email, r.clientAddress, wait)) {
    case PasswordAuth::Registration::Created: return std::string(kOk);
    case PasswordAuth::Registration::Taken: return std::string(kNo);
    case PasswordAuth::Registration::Throttled: break;
    }
    recordAuditEvent(AuditEvent::LoginThrottled, networkOf(r.clientAddress), "registration");
    return "注册过于频繁，请" + std::to_string(wait) + "秒后再试。";
}

ServiceReply changePassword(const Context& c, const Request& r) {
    const std::string newpw = r.form.value("newpw");
    const auto key = accountNameKey(r.form.value("nm"));
    if (!key) return std::string(kNo);
    const auto outcome = c.auth.check(*key, r.form.value("oldpw"), r.clientAddress);
    switch (outcome.result) {
    case AuthResult::Wrong:
    case AuthResult::Disabled: return std::string(kNo);
    case AuthResult::Throttled: return throttledReply(r, "password change", outcome.secondsToWait);
    case AuthResult::Ok: break;
    }
    if (!isPasswordDigest(newpw)) return refusal("新密码无效");
    return {std::string(kOk), c.auth.changePassword(outcome.user, newpw)};
}

ServiceReply logOut(const Context& c, const Request& r) {
    c.auth.closeSession(r.form.value("pw"));
    return std::string(kOk);
}

ServiceReply saveCase(const Context& c, const Request& r) {
    const auto fields = caseFields(r.form);
    if (!fields) return refusal("分类、年、月、日必须是整数");
    if (caseHoldsReplyMarker(*fields)) return refusal("内容不能含有<t>或<tr>");
    return chargedSave(c, r, textBytes(*fields) + kStoredRowBytes, [&] { c.store.insertCase(r.user, *fields); });
}

ServiceReply saveTexts(const Context& c, const Request& r) {
    const auto fields = caseFields(r.form);
    if (!fields) return refusal("分类、年、月、日必须是整数");
    const auto which = parseInteger(r.form.value("save_b"));
    if (!which || *which < 1 || *which > 3) return refusal("save_b必须是1、2或3");
    if (fields->caseNumber.empty()) return refusal("卦的编号为空");
    const std::string judgment = r.form.value("save_duanyu");
    const std::string feedback = r.form.value("save_fankui");
    if (caseHoldsReplyMarker(*fields) || holdsReplyMarker(judgment) || holdsReplyMarker(feedback))
        return refusal("内容不能含有<t>或<tr>");
    const bool setJudgment = *which != static_cast<int>(TextsToSave::Feedback);
    const bool setFeedback = *which != static_cast<int>(TextsToSave::Judgment);
    const auto newBytes =
        static_cast<std::int64_t>((setJudgment ? judgment.size() : 0) + (setFeedback ? feedback.size() : 0));
    std::int64_t growth = 0;
    if (c.quotas.limits().storedBytes > 0) {
        // The texts go into every case of the user under that number, or into a new one.
        const NumberedTexts old = c.store.numberedTexts(r.user, fields->caseNumber);
        growth = old.cases == 0 ? textBytes(*fields) + newBytes + kStoredRowBytes
                                : old.cases * newBytes - (setJudgment ? old.judgmentBytes : 0) -
                                      (setFeedback ? old.feedbackBytes : 0);
    }
    return chargedSave(c, r, growth, [&] {
        c.store.saveTexts(r.user, *fields, static_cast<TextsToSave>(*which), judgment, feedback);
    });
}

ServiceReply loadCase(const Context& c, const Request& r) {
    const auto id = parseInteger(r.form.value("guaid"));
    if (!id) return {};
    const auto stored = c.store.loadCase(r.user, *id);
    return stored ? caseReply(*stored) : std::string();
}

ServiceReply searchCases(const Context& c, const Request& r) {
    const std::string wd = r.form.value("wd");
    if (wd == "list50") return caseListReply(c.store.recentCases(r.user, kRecentCount));
    if (wd.empty() || codePointCount(wd) > kMaxKeywordCodePoints) return {};
    const auto turn = c.quotas.searchTurn(r.user);
    if (!turn) {
        recordAuditEvent(AuditEvent::QuotaRefused, networkOf(r.clientAddress), "searches at once");
        return refusal("同时进行的搜索过多，请等前面的搜索结束后再试");
    }
    return caseListReply(c.store.searchCases(r.user, wd, kSearchCount));
}

ServiceReply listCasesOfMonth(const Context& c, const Request& r) {
    const auto category = categoryFilter(r.form.value("fenlei"));
    const auto year = parseInteger(r.form.value("nian"));
    const auto month = parseInteger(r.form.value("yue"));
    if (!category || !year || !month) return {};
    return caseListReply(c.store.casesOfMonth(r.user, *category, *year, *month, kMonthListCount));
}

ServiceReply listYears(const Context& c, const Request& r) {
    const auto category = categoryFilter(r.form.value("fenlei"));
    if (!category) return {};
    return numberListReply(c.store.years(r.user, *category));
}

ServiceReply listMonths(const Context& c, const Request& r) {
    const auto category = categoryFilter(r.form.value("fenlei"));
    const auto year = parseInteger(r.form.value("nian"));
    if (!category || !year) return {};
    return numberListReply(c.store.months(r.user, *category, *year));
}

ServiceReply loadTexts(const Context& c, const Request& r) {
    const auto id = parseInteger(r.form.value("id"));
    if (!id) return {};
    const auto stored = c.store.loadCase(r.user, *id);
    return stored ? textsReply(*stored) : std::string();
}

ServiceReply renameCategory(const Context& c, const Request& r) {
    const auto categoryId = parseInteger(r.form.value("lei_bendi_id"));
    const std::string name = r.form.value("lei_mingcheng");
    if (!categoryId) return refusal("分类编号必须是整数");
    if (name.empty()) return refusal("分类名称为空");
    if (holdsReplyMarker(name)) return refusal("内容不能含有<t>或<tr>");
    // Counted as a new name: it may replace one.
    return chargedSave(c, r, static_cast<std::int64_t>(name.size()) + kStoredRowBytes,
                       [&] { c.store.renameCategory(r.user, *categoryId, name); });
}

}  // namespace

const std::vector<std::string_view>& endpointNames() {
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> out;
        for (const auto& endpoint : endpoints()) out.push_back(endpoint.name);
        return out;
    }();
    return names;
}

bool checksPasswords(std::string_view endpoint) {
    for (const auto& candidate : endpoints())
        if (candidate.name == endpoint) return candidate.access == Access::Account;
    return false;
}

CaseService::CaseService(CaseRepository& store, PasswordAuth& auth, LoginNotice notice, AccountQuotas quotas,
                         const Clock& clock)
    : store_(store), auth_(auth), notice_(std::move(notice)), quotas_(quotas, clock) {}

ServiceReply CaseService::reply(std::string_view endpointName, std::string_view body,
                                const std::string& clientAddress) {
    const Endpoint* endpoint = nullptr;
    for (const auto& candidate : endpoints())
        if (candidate.name == endpointName) endpoint = &candidate;
    if (!endpoint) throw std::invalid_argument("unknown endpoint");

    const auto refuse = [&](std::string_view reason) {
        return ServiceReply{endpoint->kind == ReplyKind::Records ? std::string() : refusal(reason)};
    };
    if (body.size() > kMaxBodyBytes) return refuse("请求过大");
    const FormFields form = parseFormBody(body, endpoint->fields);
    for (const auto field : endpoint->fields) {
        const auto value = form.get(field);
        if (!value) continue;
        if (value->size() > kMaxFieldBytes) return refuse("字段过长（上限256KiB）");
        if (!isValidUtf8(*value)) return refuse("文字编码不是UTF-8");
        if (holdsNulCharacter(*value)) return refuse("内容含有空字符（U+0000），无法保存或搜索");
    }
    // A field value that still holds "&name=" may have been cut at the wrong place: storing
    // it could put text into the wrong field.
    if (form.ambiguous()) return refuse("字段内容含有未转义的“&字段名=”，无法分辨字段");

    const Context context{store_, auth_, notice_, quotas_};
    if (endpoint->access != Access::User) return endpoint->handler(context, {form, clientAddress});
    // Every request after login carries the session token in "pw".
    const auto key = accountNameKey(form.value("nm"));
    const auto user = key ? auth_.sessionUser(*key, form.value("pw")) : std::nullopt;
    if (!user) return std::string(kNo);
    return endpoint->handler(context, {form, clientAddress, *user});
}

}  // namespace qinglan::caseservice

#include "service/case_service.h"

#include "model/account_name.h"
#include "model/text_checks.h"
#include "protocol/form_body.h"
#include "protocol/reply_format.h"

#include <stdexcept>

namespace qinglan::caseservice {

namespace {

using Names = std::vector<std::string_view>;

// How an endpoint's reply is read by the client, which decides what a refused request gets.
enum class ReplyKind {
    Message,  // the client shows any unexpected reply as a message: refusals say why
    Records,  // the client reads records: a refusal is the empty reply ("nothing found")
};

enum class Access { Account, User };

// What a handler works with: the service's parts and one request, whose user is known for the
// requests of Access::user.
struct Context {
    CaseRepository& store;
    PasswordAuth& auth;
    const LoginNotice& notice;
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
        {"cha.php", {"nm", "wd", "pw"}, ReplyKind::Records, Access::User, searchCases},
        {"gualist.php", {"nm", "fenlei", "nian", "yue", "pw"}, ReplyKind::Records, Access::User, listCasesOfMonth},
        {"nian.php", {"nm", "fenlei", "pw"}, ReplyKind::Records, Access::User, listYears},
        {"yue.php", {"nm", "fenlei", "nian", "pw"}, ReplyKind::Records, Access::User, listMonths},
        {"getduanyufankui.php", {"nm", "id", "pw"}, ReplyKind::Records, Access::User, loadTexts},
        {"changeleiming.php",
         {"nm", "lei_bendi_id", "lei_mingcheng", "pw"},
         ReplyKind::Message,
         Access::User,
         renameCategory},
        {"logout.php", {"nm", "pw"}, ReplyKind::Message, Access::User, logOut},
    };
    return table;
}

constexpr int kRecentCount = 50;
constexpr int kSearchCount = 100;
constexpr int kMonthListCount = 3001;  // the most rows the client reads from a case list

// A refused request whose reply the client shows. Never holds the letters "ok": the
// texts save counts any reply containing them as saved.
std::string refusal(std::string_view reason) { return "请求被拒绝：" + std::string(reason); }

std::string throttledReply(int seconds) { return "登录失败次数过多，请" + std::to_string(seconds) + "秒后再试。"; }

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

ServiceReply logIn(const Context& c, const Request& r) {
    // A name no account can have is answered at once: nothing is hashed or remembered for it.
    const auto key = accountNameKey(r.form.value("nm"));
    if (!key) return std::string(kNo);
    const auto outcome = c.auth.check(*key, r.form.value("pw"), r.clientAddress);
    switch (outcome.result) {
    case AuthResult::Wrong: return std::string(kNo);
    case AuthResult::Disabled: return std::string(kCancel);
    case AuthResult::Throttled: return throttledReply(outcome.secondsToWait);
    case AuthResult::Ok: break;
    }
    const auto categories = c.store.categories(outcome.user);
    std::string token = c.auth.openSession(outcome.user);
    // Nothing to tell: the bare "ok" leaves the client's message label, link and
    // categories as they are.
    if (c.notice.message.empty() && c.notice.url.empty() && c.notice.version == 0 && categories.empty())
        return {std::string(kOk), std::move(token)};
    return {fullLoginReply(c.notice, categories), std::move(token)};
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
    case AuthResult::Throttled: return throttledReply(outcome.secondsToWait);
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
    c.store.insertCase(r.user, *fields);
    return std::string(kOk);
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
    c.store.saveTexts(r.user, *fields, static_cast<TextsToSave>(*which), judgment, feedback);
    return std::string(kOk);
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
    c.store.renameCategory(r.user, *categoryId, name);
    return std::string(kOk);
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

CaseService::CaseService(CaseRepository& store, PasswordAuth& auth, LoginNotice notice)
    : store_(store), auth_(auth), notice_(std::move(notice)) {}

ServiceReply CaseService::reply(std::string_view endpointName, std::string_view body,
                                const std::string& clientAddress) {
    const Endpoint* endpoint = nullptr;
    for (const auto& candidate : endpoints())
        if (candidate.name == endpointName) endpoint = &candidate;
    if (!endpoint) throw std::invalid_argument("unknown endpoint");

    const auto refuse = [&](std::string_view reason) {
        return ServiceReply{endpoint->kind == ReplyKind::Message ? refusal(reason) : std::string()};
    };
    if (body.size() > kMaxBodyBytes) return refuse("请求过大");
    const FormFields form = parseFormBody(body, endpoint->fields);
    for (const auto field : endpoint->fields) {
        const auto value = form.get(field);
        if (!value) continue;
        if (value->size() > kMaxFieldBytes) return refuse("字段过长（上限256KiB）");
        if (!isValidUtf8(*value)) return refuse("文字编码不是UTF-8");
        // Refused before the store fails at it: no text the store holds can contain one either.
        if (!store_.storesNulCharacters() && value->find('\0') != std::string_view::npos)
            return refuse("内容含有空字符（U+0000），本服务的数据库无法保存");
    }
    // A field value that still holds "&name=" may have been cut at the wrong place: storing
    // it could put text into the wrong field.
    if (form.ambiguous()) return refuse("字段内容含有未转义的“&字段名=”，无法分辨字段");

    const Context context{store_, auth_, notice_};
    if (endpoint->access == Access::Account) return endpoint->handler(context, {form, clientAddress});
    // Every request after login carries the session token in "pw".
    const auto key = accountNameKey(form.value("nm"));
    const auto user = key ? auth_.sessionUser(*key, form.value("pw")) : std::nullopt;
    if (!user) return std::string(kNo);
    return endpoint->handler(context, {form, clientAddress, *user});
}

}  // namespace qinglan::caseservice

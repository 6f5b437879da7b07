#include "web/web_api.h"

#include "account/password_digest.h"
#include "model/text_checks.h"
#include "web/protocol_replies.h"
#include "web/web_session.h"
#include "web/wire_calls.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <random>

namespace qinglan::caseservice {

namespace {

constexpr int kRecentLimit = 50;
constexpr std::string_view kRefused = "请求被拒绝";  // how the service's refusals begin
const QStringList kGenders = {QStringLiteral("男"), QStringLiteral("女"), QStringLiteral("未知")};

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

WebReply json(unsigned status, const QJsonValue& value) {
    const QByteArray bytes = value.isArray() ? QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact)
                                             : QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    return {status, "application/json; charset=utf-8", bytes.toStdString(), {}};
}

WebReply failure(unsigned status, const QString& message) { return json(status, QJsonObject{{"error", message}}); }
WebReply failure(unsigned status, const std::string& message) { return failure(status, text(message)); }

std::string queryValue(const WebRequest& request, std::string_view name) {
    for (const auto& [key, value] : request.query)
        if (key == name) return value;
    return {};
}

// The reply of a write: "ok" saved, "no" the session ended, anything else the refusal's reason.
WebReply writeOutcome(const std::string& reply, const QJsonObject& saved) {
    if (reply == "ok") return json(200, saved);
    if (reply == "no") return failure(401, QStringLiteral("登录已失效，请重新登录"));
    return failure(409, reply);
}

std::optional<QJsonObject> jsonBody(const WebRequest& request) {
    QJsonParseError error{};
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromRawData(request.body.data(), qsizetype(request.body.size())), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
    return document.object();
}

// The id of /api/cases/ID and /api/cases/ID/texts; nullopt for anything else.
std::optional<std::int64_t> caseIdOf(std::string_view path, std::string_view suffix) {
    constexpr std::string_view prefix = "/api/cases/";
    if (!path.starts_with(prefix) || !path.ends_with(suffix)) return std::nullopt;
    const std::string_view digits = path.substr(prefix.size(), path.size() - prefix.size() - suffix.size());
    if (digits.empty() || digits.size() > 18 || digits.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    return parseInteger(digits);
}

class Exchange {
public:
    Exchange(CaseService& service, const CaseCharts& charts, const WebRequest& request)
        : service_(service), charts_(charts), request_(request) {}

    WebReply answer() {
        const std::string& path = request_.path;
        const bool get = request_.method == "GET";
        if (request_.method != "GET" && !isJson()) return failure(415, QStringLiteral("请求须为JSON"));
        if (path == "/api/login" && request_.method == "POST") return logIn();

        session_ = sessionOfCookie(request_.cookie);
        if (!session_) return failure(401, QStringLiteral("未登录"));
        // Every write carries the session's CSRF token: a page of another site cannot learn it.
        if (!get && !csrfTokenMatches(*session_, request_.csrfToken))
            return failure(403, QStringLiteral("缺少或错误的CSRF令牌"));
        const ProtocolCall call{service_, *session_, request_.clientAddress};

        if (get && path == "/api/session") return currentSession(call);
        if (get && path == "/api/cases") return listCases(call);
        if (get && path == "/api/years") return listYears(call);
        if (get && path == "/api/months") return listMonths(call);
        if (get && path == "/api/search") return search(call);
        if (request_.method == "POST" && path == "/api/logout") return logOut(call);
        if (request_.method == "POST" && path == "/api/cases") return cast(call);
        if (const auto id = caseIdOf(path, "/texts"); id && request_.method == "PUT") return saveTexts(call, *id);
        if (const auto id = caseIdOf(path, ""); id && get) return openCase(call, *id);
        return failure(404, QStringLiteral("没有这个接口"));
    }

private:
    // A form of another site cannot send this type without asking first, and is never allowed to.
    bool isJson() const { return request_.contentType.starts_with("application/json"); }

    WebReply logIn() {
        const auto body = jsonBody(request_);
        if (!body || !(*body)["name"].isString() || !(*body)["password"].isString())
            return failure(400, QStringLiteral("需要name和password"));
        const std::string name = (*body)["name"].toString().toStdString();
        const std::string digest = account::passwordDigest((*body)["password"].toString()).toStdString();
        const auto reply = service_.reply("login.php", formBody({{"nm", name}, {"pw", digest}}), request_.clientAddress);
        const auto fields = replyFields(reply.body);
        if (reply.sessionToken.empty() || fields.empty() || fields[0] != "ok") {
            if (reply.body == "no") return failure(401, QStringLiteral("用户名或密码错误"));
            if (reply.body == "cancel") return failure(403, QStringLiteral("账户已停用"));
            // The rest say why: a refused request, or the throttle's pause.
            return failure(reply.body.starts_with(kRefused) ? 400 : 429, reply.body);
        }
        const WebSession session{name, reply.sessionToken};
        // Category names and ids follow the notice field.
        QJsonArray categories;
        for (std::size_t at = 2; at + 2 <= fields.size(); at += 2)
            if (const auto id = parseInteger(fields[at + 1]))
                categories.append(QJsonObject{{"id", static_cast<qint64>(*id)}, {"name", text(fields[at])}});
        WebReply answer = json(200, QJsonObject{{"csrf", text(csrfTokenOf(session))},
                                                {"name", text(name)},
                                                {"categories", categories}});
        answer.headers.emplace_back("Set-Cookie", sessionCookie(session, request_.https));
        return answer;
    }

    WebReply currentSession(const ProtocolCall& call) {
        // A cheap request that needs the session: the recent list, limited to nothing.
        if (call("cha.php", {{"wd", "list50"}}) == "no") return failure(401, QStringLiteral("登录已失效"));
        return json(200, QJsonObject{{"csrf", text(csrfTokenOf(*session_))}, {"name", text(session_->name)}});
    }

    WebReply logOut(const ProtocolCall& call) {
        call("logout.php", {});
        WebReply answer = json(200, QJsonObject{});
        answer.headers.emplace_back("Set-Cookie", endedSessionCookie(request_.https));
        return answer;
    }

    WebReply listCases(const ProtocolCall& call) {
        const std::string category = queryValue(request_, "category");
        const std::string year = queryValue(request_, "year");
        const std::string month = queryValue(request_, "month");
        std::string reply;
        int limit = kRecentLimit;
        if (!year.empty() || !month.empty()) {
            reply = call("gualist.php", {{"fenlei", category.empty() ? "-1" : category}, {"nian", year}, {"yue", month}});
            limit = std::numeric_limits<int>::max();
        } else {
            if (const auto asked = parseInteger(queryValue(request_, "limit")); asked && *asked > 0 && *asked < limit)
                limit = static_cast<int>(*asked);
            reply = call("cha.php", {{"wd", "list50"}});
        }
        if (reply == "no") return failure(401, QStringLiteral("登录已失效"));
        return json(200, caseList(reply, limit));
    }

    WebReply listYears(const ProtocolCall& call) {
        const std::string category = queryValue(request_, "category");
        const std::string reply = call("nian.php", {{"fenlei", category.empty() ? "-1" : category}});
        if (reply == "no") return failure(401, QStringLiteral("登录已失效"));
        return json(200, numberList(reply));
    }

    WebReply listMonths(const ProtocolCall& call) {
        const std::string category = queryValue(request_, "category");
        const std::string reply =
            call("yue.php", {{"fenlei", category.empty() ? "-1" : category}, {"nian", queryValue(request_, "year")}});
        if (reply == "no") return failure(401, QStringLiteral("登录已失效"));
        return json(200, numberList(reply));
    }

    WebReply search(const ProtocolCall& call) {
        const std::string keyword = queryValue(request_, "q");
        // "list50" is the protocol's word for the recent list, never a keyword.
        if (keyword.empty() || keyword == "list50") return json(200, QJsonArray{});
        const std::string reply = call("cha.php", {{"wd", keyword}});
        if (reply == "no") return failure(401, QStringLiteral("登录已失效"));
        return json(200, caseList(reply, std::numeric_limits<int>::max()));
    }

    WebReply openCase(const ProtocolCall& call, std::int64_t id) {
        const LoadedCase loaded = loadCase(call, id);
        if (!loaded.found()) return failure(404, QStringLiteral("没有这个卦例"));
        const auto& f = loaded.fields;
        QJsonObject out{{"id", static_cast<qint64>(id)}, {"name", text(f[1])},      {"caseNumber", text(f[2])},
                        {"categoryId", text(f[3])},      {"year", text(f[4])},      {"month", text(f[5])},
                        {"day", text(f[6])},             {"gender", text(f[7])},    {"birthYear", text(f[8])},
                        {"subject", text(f[9])},         {"judgment", text(f[10])}, {"feedback", text(f[11])},
                        {"castDate", castDateOf(f[2])}};
        std::string problem;
        if (const auto chart = charts_.chartOf(f[2], problem)) {
            out.insert("chart", chart->chart);
            out.insert("report", QJsonArray::fromStringList(chart->report));
        } else {
            out.insert("chartProblem", text(problem));
        }
        return json(200, out);
    }

    WebReply saveTexts(const ProtocolCall& call, std::int64_t id) {
        const auto body = jsonBody(request_);
        if (!body) return failure(400, QStringLiteral("请求须为JSON对象"));
        const bool judgment = (*body)["judgment"].isString();
        const bool feedback = (*body)["feedback"].isString();
        if (!judgment && !feedback) return failure(400, QStringLiteral("需要judgment或feedback"));
        const LoadedCase loaded = loadCase(call, id);
        if (!loaded.found()) return failure(404, QStringLiteral("没有这个卦例"));
        FormList fields = storedCaseFields(loaded);
        fields.emplace_back("save_duanyu", judgment ? (*body)["judgment"].toString().toStdString() : loaded.fields[10]);
        fields.emplace_back("save_fankui", feedback ? (*body)["feedback"].toString().toStdString() : loaded.fields[11]);
        fields.emplace_back("save_b", judgment && feedback ? "3" : judgment ? "1" : "2");
        return writeOutcome(call("saveduanyufankui.php", std::move(fields)), QJsonObject{{"id", static_cast<qint64>(id)}});
    }

    // By six throws ({"throws": [six codes, the first line first]}) or, without them, by the
    // computer: three coins a line.
    WebReply cast(const ProtocolCall& call) {
        const auto body = jsonBody(request_);
        if (!body) return failure(400, QStringLiteral("请求须为JSON对象"));
        std::array<int, 6> codes{};  // top line first
        const QJsonValue throws = (*body)["throws"];
        if (throws.isArray()) {
            const QJsonArray values = throws.toArray();
            if (values.size() != 6) return failure(400, QStringLiteral("需要六次所得"));
            for (int i = 0; i < 6; ++i) {
                const int value = values[i].toInt(0);
                if (value < 1 || value > 4) return failure(400, QStringLiteral("每次所得须为1到4"));
                codes[std::size_t(5 - i)] = value;
            }
        } else if (!throws.isUndefined() && !throws.isNull()) {
            return failure(400, QStringLiteral("throws须为六个数"));
        } else {
            std::random_device random;
            for (int& code : codes) {
                int heads = 0;  // coins showing 花
                for (int coin = 0; coin < 3; ++coin) heads += static_cast<int>(random() & 1u);
                code = heads == 0 ? 4 : heads;  // three 字 make old yin
            }
        }
        const QString gender = (*body)["gender"].toString(QStringLiteral("未知"));
        if (!kGenders.contains(gender)) return failure(400, QStringLiteral("性别须为男、女或未知"));
        const QJsonValue category = (*body)["categoryId"];
        if (!category.isUndefined() && !category.isNull() && !category.isDouble())
            return failure(400, QStringLiteral("categoryId须为整数"));
        const auto made = charts_.castOf(QDateTime::currentDateTime(), codes);
        if (!made) return failure(400, QStringLiteral("无法起卦"));
        const QDate today = QDate::fromString(castDateOf(made->caseNumber), QStringLiteral("yyyy-MM-dd"));
        const std::string reply = call(
            "savegua.php", {{"save_gua_ming", made->hexagramName},
                            {"save_gua_bianhao", made->caseNumber},
                            {"save_lei_id", category.isDouble() ? std::to_string(category.toInteger()) : ""},
                            {"save_nian", std::to_string(today.year())},
                            {"save_yue", std::to_string(today.month())},
                            {"save_ri", std::to_string(today.day())},
                            {"save_xingbie", gender.toStdString()},
                            {"save_chusheng", (*body)["birthYear"].toString().toStdString()},
                            {"save_shiyou", (*body)["subject"].toString().toStdString()}});
        if (reply != "ok") return writeOutcome(reply, {});
        // The store answers no id: the newest case with this number is the one just made.
        const QJsonArray recent = caseList(call("cha.php", {{"wd", "list50"}}), kRecentLimit);
        for (const auto& row : recent)
            if (row.toObject()["caseNumber"].toString() == text(made->caseNumber))
                return json(201, QJsonObject{{"id", row.toObject()["id"]}, {"caseNumber", text(made->caseNumber)}});
        return json(201, QJsonObject{{"caseNumber", text(made->caseNumber)}});
    }

    CaseService& service_;
    const CaseCharts& charts_;
    const WebRequest& request_;
    std::optional<WebSession> session_;
};

}  // namespace

WebReply WebApi::answer(const WebRequest& request) { return Exchange(service_, charts_, request).answer(); }

}  // namespace qinglan::caseservice

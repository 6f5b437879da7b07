#include "web/protocol_replies.h"

#include "model/text_checks.h"

#include <QJsonObject>

namespace qinglan::caseservice {

namespace {

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

QString castDateOf(const std::string& caseNumber) {
    if (caseNumber.size() < 8) return {};
    for (std::size_t i = 0; i < 8; ++i)
        if (caseNumber[i] < '0' || caseNumber[i] > '9') return {};
    return text(caseNumber.substr(0, 4) + "-" + caseNumber.substr(4, 2) + "-" + caseNumber.substr(6, 2));
}

QJsonArray caseList(const std::string& reply, int limit) {
    const auto fields = replyFields(reply);
    QJsonArray rows;
    for (std::size_t at = 1; at + 4 <= fields.size() && rows.size() < limit; at += 4) {
        const auto id = parseInteger(fields[at]);
        if (!id) continue;
        rows.append(QJsonObject{{"id", static_cast<qint64>(*id)},
                                {"caseNumber", text(fields[at + 1])},
                                {"name", text(fields[at + 3])},
                                {"subject", text(fields[at + 2])},
                                {"castDate", castDateOf(fields[at + 1])}});
    }
    return rows;
}

QJsonArray numberList(const std::string& reply) {
    const auto fields = replyFields(reply);
    QJsonArray values;
    for (std::size_t at = 1; at < fields.size(); ++at)
        if (const auto value = parseInteger(fields[at])) values.append(static_cast<qint64>(*value));
    return values;
}

std::string ProtocolCall::operator()(std::string_view endpoint, FormList fields) const {
    fields.insert(fields.begin(), {"nm", session.name});
    fields.emplace_back("pw", session.token);
    return service.reply(endpoint, formBody(fields), address).body;
}

LoadedCase loadCase(const ProtocolCall& call, std::int64_t id) {
    return {replyFields(call("loadgua.php", {{"guaid", std::to_string(id)}}))};
}

FormList storedCaseFields(const LoadedCase& loaded) {
    static constexpr std::string_view kNames[] = {"save_gua_ming", "save_gua_bianhao", "save_lei_id",
                                                  "save_nian",     "save_yue",         "save_ri",
                                                  "save_xingbie",  "save_chusheng",    "save_shiyou"};
    FormList fields;
    for (std::size_t i = 0; i < 9; ++i) fields.emplace_back(kNames[i], loaded.fields[i + 1]);
    return fields;
}

}  // namespace qinglan::caseservice

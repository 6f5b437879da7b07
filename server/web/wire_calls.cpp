#include "web/wire_calls.h"

#include <string>

namespace qinglan::caseservice {

namespace {

constexpr std::string_view kFieldEnd = "<t>";

bool isPlain(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

std::string formBody(const FormList& fields) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const auto& [name, value] : fields) {
        if (!out.empty()) out += '&';
        out += name;
        out += '=';
        for (const char c : value) {
            if (isPlain(c)) {
                out += c;
            } else {
                const auto byte = static_cast<unsigned char>(c);
                out += '%';
                out += kHex[byte >> 4];
                out += kHex[byte & 0xF];
            }
        }
    }
    return out;
}

std::vector<std::string> replyFields(std::string_view reply) {
    std::vector<std::string> fields;
    while (!reply.empty()) {
        const auto end = reply.find(kFieldEnd);
        fields.emplace_back(reply.substr(0, end));
        if (end == std::string_view::npos) break;
        reply.remove_prefix(end + kFieldEnd.size());
    }
    return fields;
}


}  // namespace qinglan::caseservice

#include "protocol/reply_format.h"

#include <cstdio>

namespace qinglan::caseservice {

namespace {

void appendField(std::string& out, std::string_view value) {
    out += value;
    out += kFieldEnd;
}

void appendUnit(std::string& out, std::uint32_t unit) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%%%04X", static_cast<unsigned>(unit));
    out += buffer;
}

// Decodes one code point of well-formed UTF-8 at text[i], advancing i.
std::uint32_t nextCodePoint(std::string_view text, std::size_t& i) {
    const auto c = static_cast<unsigned char>(text[i]);
    int length = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : 4;
    std::uint32_t code = length == 1 ? c : length == 2 ? (c & 0x1F) : length == 3 ? (c & 0x0F) : (c & 0x07);
    for (int k = 1; k < length && i + k < text.size(); ++k)
        code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    i += static_cast<std::size_t>(length);
    return code;
}

}  // namespace

std::string encodeLoginMessage(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::uint32_t code = nextCodePoint(utf8, i);
        const bool plain = (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z');
        if (plain) {
            out += static_cast<char>(code);
        } else if (code >= 0x10000) {
            appendUnit(out, 0xD800 + ((code - 0x10000) >> 10));
            appendUnit(out, 0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            appendUnit(out, code);
        }
    }
    return out;
}

std::string caseListReply(const std::vector<CaseSummary>& rows) {
    if (rows.empty()) return {};
    std::string out;
    appendField(out, kOk);
    for (const auto& row : rows) {
        appendField(out, std::to_string(row.id));
        appendField(out, row.caseNumber);
        appendField(out, row.subject);
        appendField(out, row.hexagramName);
    }
    return out;
}

std::string numberListReply(const std::vector<std::int64_t>& values) {
    if (values.empty()) return {};
    std::string out;
    appendField(out, kOk);
    for (const auto value : values) appendField(out, std::to_string(value));
    return out;
}

std::string caseReply(const StoredCase& stored) {
    const auto& f = stored.fields;
    std::string out;
    appendField(out, kOk);
    for (const auto* value : {&f.hexagramName, &f.caseNumber, &f.categoryId, &f.year, &f.month, &f.day, &f.gender,
                              &f.birthYear, &f.subject, &stored.judgment, &stored.feedback, &f.place, &f.timeRule})
        appendField(out, *value);
    return out;
}

std::string textsReply(const StoredCase& stored) {
    return stored.judgment + std::string(kTextsSeparator) + stored.feedback;
}

std::string fullLoginReply(const LoginNotice& notice, const std::vector<Category>& categories) {
    std::string out;
    appendField(out, kOk);
    out += encodeLoginMessage(notice.message) + "<msg>";
    out += notice.url + "<url>";
    out += std::to_string(notice.version) + "<v>";
    out += kFieldEnd;
    for (const auto& category : categories) {
        appendField(out, category.categoryName);
        appendField(out, std::to_string(category.categoryId));
    }
    return out;
}

std::string deviceTokenReply(std::string_view token, std::string_view loginReply) {
    std::string out;
    appendField(out, kOk);
    appendField(out, token);
    const std::size_t head = kOk.size() + kFieldEnd.size();
    if (loginReply.size() > head) out += loginReply.substr(head);
    return out;
}

std::string deviceListReply(const std::vector<DeviceSummary>& devices) {
    if (devices.empty()) return {};
    std::string out;
    appendField(out, kOk);
    for (const auto& device : devices) {
        appendField(out, std::to_string(device.id));
        appendField(out, device.name);
        appendField(out, std::to_string(device.created));
        appendField(out, std::to_string(device.lastUsed));
    }
    return out;
}

}  // namespace qinglan::caseservice

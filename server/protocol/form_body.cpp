#include "protocol/form_body.h"

namespace qinglan::caseservice {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string marker(std::string_view name) {
    std::string text = "&";
    text += name;
    text += '=';
    return text;
}

}  // namespace

std::optional<std::string> FormFields::get(std::string_view name) const {
    for (const auto& [key, value] : fields_)
        if (key == name) return value;
    return std::nullopt;
}

void FormFields::set(std::string name, std::string value) { fields_.emplace_back(std::move(name), std::move(value)); }

std::string percentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

FormFields parseFormBody(std::string_view body, const std::vector<std::string_view>& names) {
    FormFields fields;
    if (names.empty()) return fields;
    const std::string first = std::string(names.front()) + "=";
    if (body.substr(0, first.size()) != first) return fields;

    // Where each found field's value starts and where its marker begins.
    struct Span {
        std::size_t name;
        std::size_t markerAt;
        std::size_t valueAt;
    };
    std::vector<Span> spans{{0, 0, first.size()}};

    // The last field: searched from the end, so a free text before it may hold its marker.
    std::optional<Span> last;
    std::size_t end = body.size();
    if (names.size() > 1) {
        const std::string m = marker(names.back());
        const auto at = body.rfind(m);
        if (at != std::string_view::npos && at >= first.size()) {
            last = Span{names.size() - 1, at, at + m.size()};
            end = at;
        }
    }
    for (std::size_t n = 1; n + 1 < names.size(); ++n) {
        const std::string m = marker(names[n]);
        const auto at = body.substr(0, end).find(m, spans.back().valueAt);
        if (at == std::string_view::npos) break;
        spans.push_back({n, at, at + m.size()});
    }
    if (last) spans.push_back(*last);

    for (std::size_t i = 0; i < spans.size(); ++i) {
        const std::size_t stop = i + 1 < spans.size() ? spans[i + 1].markerAt : body.size();
        const auto raw = body.substr(spans[i].valueAt, stop - spans[i].valueAt);
        for (const auto name : names)
            if (raw.find(marker(name)) != std::string_view::npos) fields.markAmbiguous();
        fields.set(std::string(names[spans[i].name]), percentDecode(raw));
    }
    return fields;
}

}  // namespace qinglan::caseservice

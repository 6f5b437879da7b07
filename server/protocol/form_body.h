// Reading a form-post body as the desktop client writes it: fields joined by "&" in a fixed
// order, "&" inside values sent as "%26" (older clients left it as it is), "=" and "+" left
// unescaped inside values, and only some characters sent as "%" and two hex digits. So a
// body is split only where "&" is followed by the next field name the endpoint expects and
// "=" (the last field is searched from the end of the body, since free texts come before it),
// and "+" is never read as a blank. A value that still holds "&", a field name and "" cannot
// be told apart from a field boundary: the body is ambiguous.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qinglan::caseservice {

class FormFields {
public:
    // nullopt when the field was not in the body.
    std::optional<std::string> get(std::string_view name) const;
    std::string value(std::string_view name) const { return get(name).value_or(std::string()); }
    void set(std::string name, std::string value);
    // Some value, as it arrived, holds "&" followed by one of the endpoint's field names and "=".
    bool ambiguous() const { return ambiguous_; }
    void markAmbiguous() { ambiguous_ = true; }

private:
    std::vector<std::pair<std::string, std::string>> fields_;
    bool ambiguous_ = false;
};

// Splits the body into the expected fields (names given in wire order) and decodes the
// percent escapes of each value. A body must start with the first name and "="; a
// field that is not found is absent from the result (and so are the ones after it,
// except the last, which is looked for on its own).
FormFields parseFormBody(std::string_view body, const std::vector<std::string_view>& names);

// "%" and two hex digits become that byte; a "%" not followed by two hex digits is kept.
std::string percentDecode(std::string_view text);

}  // namespace qinglan::caseservice

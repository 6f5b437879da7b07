#pragma once
// The request body of a post and the decoding of the login message.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace cloud {

// Each field is "name=value" as typed, unescaped. Name and value (split at the first "=") are
// encoded separately: every UTF-8 byte of a character below 33 or outside ASCII, and every
// character of "*#%<> []&", becomes "%" and two uppercase hex digits; everything else, "=" and
// "+" among it, goes as it is. The fields are joined by "&" in list order, so an "&" in the
// body is always a field boundary.
QByteArray encodeFormBody(const QStringList& fields);

class UrlDecodeError : public std::runtime_error {
public:
    UrlDecodeError() : std::runtime_error("Invalid hex digit in URL") {}
};

// "%" and four hex digits become that one UTF-16 code unit, "+" a blank, anything else is
// copied. A "%" followed by fewer than four characters or by a non-hex one throws UrlDecodeError.
QString urlDecode(const QString& text);

}  // namespace cloud

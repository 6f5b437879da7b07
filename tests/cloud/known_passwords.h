// Passwords the login tests type, with their digests worked out with coreutils: md5 of the text
// as 32 uppercase hex digits, hashed again the same way:
//   d() { printf '%s' "$(printf '%s' "$1" | md5sum | cut -c1-32 | tr a-f A-F)" | md5sum | ...; }
#pragma once

#include <QString>

namespace cloud_test {

inline const QString kFirst = QStringLiteral("First#Pass1");
inline const QString kFirstDigest = QStringLiteral("6D11985338B4CA0B752CF2635F8432AA");
inline const QString kNew = QStringLiteral("NewPass#77");
inline const QString kNewDigest = QStringLiteral("4C87EE69ADA084F8184D1F05245C803C");
inline const QString kUser = QStringLiteral("张三");

}  // namespace cloud_test

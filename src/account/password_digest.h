#pragma once
#include <QString>

namespace account {

// What every endpoint receives in place of a password: the text as 7-bit ASCII (each character
// outside ASCII becomes "?"), MD5 as 32 uppercase hex digits, and that text hashed the same way
// again. The plain password never leaves the machine.
QString passwordDigest(const QString& text);

}  // namespace account

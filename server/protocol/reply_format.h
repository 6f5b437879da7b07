// The reply grammar the desktop client reads: "<t>" after every field, a leading "ok"
// field before records, the login reply's "<msg>", "<url>" and "<v>" terminators.
#pragma once

#include "model/records.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qinglan::caseservice {

inline constexpr std::string_view kOk = "ok";
inline constexpr std::string_view kNo = "no";
inline constexpr std::string_view kCancel = "cancel";
inline constexpr std::string_view kFieldEnd = "<t>";
inline constexpr std::string_view kTextsSeparator = "<tr>";

// The message of the login reply as the client's urlDecode reads it: letters and digits
// as they are, every other UTF-16 code unit as "%" and four uppercase hex digits.
std::string encodeLoginMessage(std::string_view utf8);

// "ok<t>" followed by one record per summary: id, case number, matter, hexagram name.
// The empty text when there are no rows (the client's "nothing found").
std::string caseListReply(const std::vector<CaseSummary>& rows);

// "ok<t>" and one field per value; the empty text when there are none.
std::string numberListReply(const std::vector<std::int64_t>& values);

// "ok<t>" + the nine case fields, the judgment, the feedback, the place and the clock rule,
// each followed by "<t>". Older clients read up to the feedback and leave the rest.
std::string caseReply(const StoredCase& stored);

// The judgment, "<tr>", the feedback.
std::string textsReply(const StoredCase& stored);

// "ok<t>" + message "<msg>" + link "<url>" + version "<v>" "<t>" + name<t>lei_id<t> pairs.
std::string fullLoginReply(const LoginNotice& notice, const std::vector<Category>& categories);

// "ok<t>" + a device's token + "<t>", then the fields of the full login reply after its "ok<t>"
// (loginReply: a full login reply, or empty for none).
std::string deviceTokenReply(std::string_view token, std::string_view loginReply);

// "ok<t>" followed by one record per device: id, name, added, last used (seconds since the
// epoch). The empty text when there are none.
std::string deviceListReply(const std::vector<DeviceSummary>& devices);

}  // namespace qinglan::caseservice

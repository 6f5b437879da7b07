// The web endpoints speak to the case service through the desktop protocol's own endpoints,
// so logins, throttles, limits and quotas are the same for both: a form body in, the reply's
// fields out.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qinglan::caseservice {

using FormList = std::vector<std::pair<std::string_view, std::string>>;

// The fields in order, every byte but ASCII letters and digits as "%XX": no value can be
// mistaken for a field boundary.
std::string formBody(const FormList& fields);

// The fields of a reply, each ended by "<t>"; a last field without its end is kept.
std::vector<std::string> replyFields(std::string_view reply);

}  // namespace qinglan::caseservice

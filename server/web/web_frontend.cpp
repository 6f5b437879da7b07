#include "web/web_frontend.h"

namespace qinglan::caseservice {

WebFrontend::WebFrontend(CaseService& service, const std::filesystem::path& pageFolder)
    : files_(pageFolder), api_(service, charts_) {}

WebReply WebFrontend::answer(const WebRequest& request) {
    if (request.path.starts_with("/api/")) return api_.answer(request);
    return files_.answer(request);
}

std::filesystem::path defaultPageFolder() {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return program.parent_path().parent_path() / "share" / "qinglan" / "web";
}

}  // namespace qinglan::caseservice

#include "web/static_files.h"

#include <fstream>
#include <iterator>

namespace qinglan::caseservice {

namespace {

constexpr std::uintmax_t kMaxFileBytes = 1024 * 1024;
constexpr std::uintmax_t kMaxTotalBytes = 8 * 1024 * 1024;

const char* contentTypeOf(const std::filesystem::path& path) {
    const std::string extension = path.extension().string();
    if (extension == ".html") return "text/html; charset=utf-8";
    if (extension == ".css") return "text/css; charset=utf-8";
    if (extension == ".js") return "text/javascript; charset=utf-8";
    if (extension == ".svg") return "image/svg+xml";
    if (extension == ".json" || extension == ".webmanifest") return "application/json";
    return nullptr;
}

}  // namespace

StaticFiles::StaticFiles(const std::filesystem::path& folder) {
    std::error_code error;
    std::uintmax_t total = 0;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (!it->is_regular_file(error)) continue;
        const char* type = contentTypeOf(it->path());
        const std::uintmax_t size = it->file_size(error);
        if (!type || error || size > kMaxFileBytes || total + size > kMaxTotalBytes) continue;
        std::ifstream in(it->path(), std::ios::binary);
        std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (!in.good() && !in.eof()) continue;
        total += bytes.size();
        files_[std::filesystem::relative(it->path(), folder).generic_string()] = {type, std::move(bytes)};
    }
}

WebReply StaticFiles::answer(const WebRequest& request) const {
    if (request.path == "/app") return {308, {}, {}, {{"Location", "/app/"}}};
    std::string_view name = std::string_view(request.path).substr(std::string_view("/app/").size());
    if (name.empty()) name = "index.html";
    const auto found = files_.find(name);
    if (request.method != "GET" || found == files_.end()) return {404, {}, "not found", {}};
    return {200, found->second.contentType, found->second.bytes, {}};
}

}  // namespace qinglan::caseservice

// The page's files (HTML, CSS, ES modules, SVG), read once at start from one folder and served
// from memory under /app/. Only the files found then are served: no path from a request ever
// reaches the file system.
#pragma once

#include "http/web_exchange.h"

#include <filesystem>
#include <map>
#include <string>

namespace qinglan::caseservice {

class StaticFiles {
public:
    // Reads the folder's files of the known types (at most 1 MiB each, 8 MiB in all); a missing
    // folder serves nothing.
    explicit StaticFiles(const std::filesystem::path& folder);

    // GET /app/NAME (/app/ is index.html, /app leads there); 404 for anything else.
    WebReply answer(const WebRequest& request) const;
    std::size_t size() const { return files_.size(); }

private:
    struct File {
        std::string contentType;
        std::string bytes;
    };
    std::map<std::string, File, std::less<>> files_;  // by the name under /app/
};

}  // namespace qinglan::caseservice

// The web front end of the case service: the page under /app/ and its JSON endpoints under
// /api/, answered for the transport (FrontendSettings::web).
#pragma once

#include "http/web_exchange.h"
#include "service/case_service.h"
#include "web/case_charts.h"
#include "web/static_files.h"
#include "web/web_api.h"

#include <filesystem>

namespace qinglan::caseservice {

class WebFrontend {
public:
    // pageFolder holds the page's files (share/qinglan/web when installed).
    WebFrontend(CaseService& service, const std::filesystem::path& pageFolder);
    WebReply answer(const WebRequest& request);
    std::size_t pageFiles() const { return files_.size(); }

private:
    CaseCharts charts_;
    StaticFiles files_;
    WebApi api_;
};

// The page's folder beside a program in PREFIX/bin: PREFIX/share/qinglan/web (the build tree
// links build/share/qinglan/web to the source's web/).
std::filesystem::path defaultPageFolder();

}  // namespace qinglan::caseservice

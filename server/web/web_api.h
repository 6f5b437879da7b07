// The JSON endpoints under /api/ the page calls (listed in the README). Each one is answered by
// the desktop protocol's endpoints of CaseService, with the session of the cookie: the same
// accounts, throttles, limits and quotas. Writes need the session's X-CSRF-Token and a JSON body.
#pragma once

#include "http/web_exchange.h"
#include "service/case_service.h"
#include "web/case_charts.h"

namespace qinglan::caseservice {

class WebApi {
public:
    WebApi(CaseService& service, const CaseCharts& charts) : service_(service), charts_(charts) {}
    WebReply answer(const WebRequest& request);

private:
    CaseService& service_;
    const CaseCharts& charts_;
};

}  // namespace qinglan::caseservice

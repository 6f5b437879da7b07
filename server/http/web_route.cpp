#include "audit/audit_log.h"
#include "http/exchange.h"
#include "http/http_frontend.h"
#include "http/web_route.h"
#include "http/worker_pool.h"

#include <microhttpd.h>

#include <cstring>
#include <iostream>

namespace qinglan::caseservice {

namespace {

constexpr int kMaxQueryArguments = 16;

bool queueWebReply(MHD_Connection* connection, const WebReply& reply, unsigned& answered) {
    MHD_Response* response = MHD_create_response_from_buffer(reply.body.size(), const_cast<char*>(reply.body.data()),
                                                              MHD_RESPMEM_MUST_COPY);
    if (!response) return false;
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE,
                            reply.contentType.empty() ? "text/plain; charset=utf-8" : reply.contentType.c_str());
    for (const auto& [name, value] : webSecurityHeaders())
        MHD_add_response_header(response, name.c_str(), value.c_str());
    for (const auto& [name, value] : reply.headers) MHD_add_response_header(response, name.c_str(), value.c_str());
    answered = reply.status;
    const MHD_Result queued = MHD_queue_response(connection, reply.status, response);
    MHD_destroy_response(response);
    return queued == MHD_YES;
}

bool refuse(MHD_Connection* connection, unsigned status, const char* text, unsigned& answered) {
    WebReply reply;
    reply.status = status;
    reply.body = text;
    return queueWebReply(connection, reply, answered);
}

MHD_Result collectArgument(void* list, MHD_ValueKind, const char* key, const char* value) {
    auto& query = *static_cast<HeaderList*>(list);
    if (query.size() >= kMaxQueryArguments) return MHD_NO;
    query.emplace_back(key, value ? value : "");
    return MHD_YES;
}

std::string header(MHD_Connection* connection, const char* name) {
    const char* value = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, name);
    return value ? value : "";
}

}  // namespace

bool HttpFrontend::startWeb(MHD_Connection* connection, const char* method, std::string_view path,
                            Exchange& exchange) {
    const bool known = std::strcmp(method, MHD_HTTP_METHOD_GET) == 0 || std::strcmp(method, MHD_HTTP_METHOD_PUT) == 0 ||
                       std::strcmp(method, MHD_HTTP_METHOD_POST) == 0;
    if (!known) return refuse(connection, MHD_HTTP_METHOD_NOT_ALLOWED, "method not allowed", exchange.answered);
    const std::string length = header(connection, MHD_HTTP_HEADER_CONTENT_LENGTH);
    const auto declared = length.empty() ? 0 : std::strtoull(length.c_str(), nullptr, 10);
    if (declared > kMaxBodyBytes)
        return refuse(connection, MHD_HTTP_CONTENT_TOO_LARGE, "request too large", exchange.answered);
    if (declared > 0 && !reserveBody(connection, exchange, declared))
        return refuse(connection, MHD_HTTP_SERVICE_UNAVAILABLE, kBusy, exchange.answered);
    exchange.body.reserve(declared);
    exchange.web = std::make_unique<WebExchange>();
    WebRequest& request = exchange.web->request;
    request.method = method;
    request.path = std::string(path);
    MHD_get_connection_values(connection, MHD_GET_ARGUMENT_KIND, &collectArgument, &request.query);
    request.contentType = header(connection, MHD_HTTP_HEADER_CONTENT_TYPE);
    request.cookie = header(connection, MHD_HTTP_HEADER_COOKIE);
    request.csrfToken = header(connection, "X-CSRF-Token");
    request.https =
        settings_.tls != nullptr || (settings_.trustForwardedFor && header(connection, "X-Forwarded-Proto") == "https");
    return true;
}

// The body has been read (into exchange.body, within the body budget) when this is called.
bool HttpFrontend::continueWeb(MHD_Connection* connection, Exchange& exchange) {
    WebExchange& web = *exchange.web;
    if (exchange.tooLarge) return refuse(connection, MHD_HTTP_CONTENT_TOO_LARGE, "request too large", exchange.answered);
    if (exchange.overBudget) return refuse(connection, MHD_HTTP_SERVICE_UNAVAILABLE, kBusy, exchange.answered);
    if (web.ready) return queueWebReply(connection, web.reply, exchange.answered);
    if (web.handedOver) return true;

    web.handedOver = true;
    web.request.body = std::move(exchange.body);
    web.request.clientAddress = clientAddress(connection);
    MHD_suspend_connection(connection);
    Exchange* handed = &exchange;
    WorkerPool::Job answer = [this, connection, handed](bool cancelled) {
        WebExchange& web = *handed->web;
        WebReply& reply = web.reply;
        if (cancelled) {
            reply.status = MHD_HTTP_SERVICE_UNAVAILABLE;
            reply.body = kBusy;
        } else {
            try {
                reply = settings_.web(web.request);
            } catch (const std::exception& error) {
                std::cerr << std::string("qinglan-caseservice: web request: ") + error.what() + "\n";
                reply = WebReply{MHD_HTTP_INTERNAL_SERVER_ERROR, {}, "server error", {}};
            }
        }
        web.request.body.clear();
        web.request.body.shrink_to_fit();
        freeBody(*handed);
        web.ready = true;
        MHD_resume_connection(connection);
    };
    if (!webRequestChecksPasswords(web.request.path)) {
        if (!casePool_->submit(answer)) answer(true);
    } else if (const auto refused = passwordPool_->submitFairly(networkOf(web.request.clientAddress), std::move(answer));
               !refused.empty()) {
        recordAuditEvent(AuditEvent::PasswordQueueFull, refused);
    }
    return true;
}

}  // namespace qinglan::caseservice

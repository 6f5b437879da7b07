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
                            std::unique_ptr<WebExchange>& web, unsigned& answered) {
    const bool known = std::strcmp(method, MHD_HTTP_METHOD_GET) == 0 || std::strcmp(method, MHD_HTTP_METHOD_PUT) == 0 ||
                       std::strcmp(method, MHD_HTTP_METHOD_POST) == 0;
    if (!known) return refuse(connection, MHD_HTTP_METHOD_NOT_ALLOWED, "method not allowed", answered);
    const std::string length = header(connection, MHD_HTTP_HEADER_CONTENT_LENGTH);
    if (!length.empty() && std::strtoull(length.c_str(), nullptr, 10) > kMaxBodyBytes)
        return refuse(connection, MHD_HTTP_CONTENT_TOO_LARGE, "request too large", answered);
    web = std::make_unique<WebExchange>();
    WebRequest& request = web->request;
    request.method = method;
    request.path = std::string(path);
    MHD_get_connection_values(connection, MHD_GET_ARGUMENT_KIND, &collectArgument, &request.query);
    request.contentType = header(connection, MHD_HTTP_HEADER_CONTENT_TYPE);
    request.cookie = header(connection, MHD_HTTP_HEADER_COOKIE);
    request.csrfToken = header(connection, "X-CSRF-Token");
    request.https = !settings_.tlsCertificate.empty() ||
                    (settings_.trustForwardedFor && header(connection, "X-Forwarded-Proto") == "https");
    return true;
}

bool HttpFrontend::continueWeb(MHD_Connection* connection, const char* uploadData, std::size_t* uploadSize,
                               WebExchange& web, unsigned& answered) {
    if (*uploadSize > 0) {
        if (web.request.body.size() + *uploadSize > kMaxBodyBytes)
            web.tooLarge = true;
        else
            web.request.body.append(uploadData, *uploadSize);
        *uploadSize = 0;
        return true;
    }
    if (web.tooLarge) return refuse(connection, MHD_HTTP_CONTENT_TOO_LARGE, "request too large", answered);
    if (web.ready) return queueWebReply(connection, web.reply, answered);
    if (web.handedOver) return true;

    web.handedOver = true;
    web.request.clientAddress = clientAddress(connection);
    setWorking(connection, true);
    MHD_suspend_connection(connection);
    auto& pool = webRequestChecksPasswords(web.request.path) ? *passwordPool_ : *casePool_;
    WebExchange* handed = &web;
    const auto answer = [this, connection, handed](bool cancelled) {
        WebReply& reply = handed->reply;
        if (cancelled) {
            reply.status = MHD_HTTP_SERVICE_UNAVAILABLE;
            reply.body = "busy, try again later";
        } else {
            try {
                reply = settings_.web(handed->request);
            } catch (const std::exception& error) {
                std::cerr << std::string("qinglan-caseservice: web request: ") + error.what() + "\n";
                reply = WebReply{MHD_HTTP_INTERNAL_SERVER_ERROR, {}, "server error", {}};
            }
        }
        handed->request.body.clear();
        handed->request.body.shrink_to_fit();
        handed->ready = true;
        MHD_resume_connection(connection);
    };
    if (!pool.submit(answer)) answer(true);
    return true;
}

}  // namespace qinglan::caseservice

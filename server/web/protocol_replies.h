// The desktop protocol's replies read into the JSON the page gets, and the calls that fetch them
// with the session of the page's cookie.
#pragma once

#include "service/case_service.h"
#include "web/web_session.h"
#include "web/wire_calls.h"

#include <QJsonArray>
#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qinglan::caseservice {

// "yyyy-mm-dd" from the first eight digits of a case number; empty when they are not digits.
QString castDateOf(const std::string& caseNumber);

// The records of a list reply (id, case number, subject, hexagram name after the status field),
// at most `limit`, as [{id, caseNumber, name, subject, castDate}]; records without a numeric id
// are left out.
QJsonArray caseList(const std::string& reply, int limit);

// The numbers of a years or months reply.
QJsonArray numberList(const std::string& reply);

struct ProtocolCall {
    CaseService& service;
    const WebSession& session;
    const std::string& address;
    // Posts the fields between nm and pw to a protocol endpoint; the reply text.
    std::string operator()(std::string_view endpoint, FormList fields) const;
};

struct LoadedCase {
    std::vector<std::string> fields;  // ok, nine case fields, judgment, feedback
    bool found() const { return fields.size() >= 12 && fields[0] == "ok"; }
};

LoadedCase loadCase(const ProtocolCall& call, std::int64_t id);

// The nine case fields of a loaded case in wire order, with their wire names.
FormList storedCaseFields(const LoadedCase& loaded);

}  // namespace qinglan::caseservice

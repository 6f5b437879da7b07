// Opens the repository a store location names: the composition of the service's storage.
#pragma once

#include "store/case_repository.h"
#include "store/store_location.h"

#include <chrono>
#include <memory>

namespace qinglan::caseservice {

struct StoreOpening {
    std::chrono::milliseconds queryTimeLimit{2000};
    int connections = 18;  // PostgreSQL: the most connections this instance opens
};

// Opens the store; throws std::runtime_error saying what is wrong.
std::unique_ptr<CaseRepository> openCaseRepository(const StoreLocation& location, const StoreOpening& opening = {});

}  // namespace qinglan::caseservice

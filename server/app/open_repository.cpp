#include "app/open_repository.h"

#include "store/postgresql/postgres_case_repository.h"
#include "store/sqlite/sqlite_case_repository.h"

namespace qinglan::caseservice {

std::unique_ptr<CaseRepository> openCaseRepository(const StoreLocation& location, const StoreOpening& opening) {
    if (location.kind == StoreKind::Postgresql) {
        PgPoolSettings pool;
        pool.maxConnections = opening.connections;
        pool.statementTimeout = opening.queryTimeLimit;
        return std::make_unique<PostgresCaseRepository>(location.where, pool);
    }
    StoreSettings settings;
    settings.queryTimeLimit = opening.queryTimeLimit;
    return std::make_unique<SqliteCaseRepository>(location.where, settings);
}

}  // namespace qinglan::caseservice

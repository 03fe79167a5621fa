#include "session/shell_jobs.h"

#include "catalog/catalog_failure.h"
#include "catalog/catalog_schema.h"
#include "session/shell_state.h"
#include "session/task_dispatcher.h"

#include <exception>

namespace mirelon {

void CreateCatalog(TShellState& state) {
    try {
        state.CatalogDatabase = CreateDatabase(state.DataDirectory);
        state.CatalogFailure.clear();
    } catch (const std::exception& error) {
        state.CatalogFailure = DescribeFailure(error);
        throw;
    }
}

void RegisterShellJobs(TTaskDispatcher& dispatcher, TShellState& state) {
    dispatcher.SetJob(kTaskCreateDatabase, [&state](TThreadEx&) { CreateCatalog(state); });
}

} // namespace mirelon

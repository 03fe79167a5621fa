#pragma once

namespace mirelon {

class TTaskDispatcher;
struct TShellState;

// Sets the jobs the shell knows into the dispatcher. Each job that arrives later is one line
// here.
void RegisterShellJobs(TTaskDispatcher& dispatcher, TShellState& state);

// The "Create Database" job: opens or creates the catalog in the data directory. On failure the
// catalog stays absent, the reason is kept, and the exception goes on.
void CreateCatalog(TShellState& state);

} // namespace mirelon

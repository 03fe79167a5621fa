#pragma once

namespace mirelon {

class TfrmMain;

// Unattended runs for tests and tools only; the program itself reads no environment. With
// MIRELON_QUIT_AFTER_STARTUP set, the program quits once the start-up catalog job has ended
// (exit code 0 when the catalog is open, else 1). With MIRELON_SCREENSHOT set to a file name,
// it saves a PNG of the main window there and then quits. Messages go to standard error.
void InstallStartupHooks(TfrmMain& frmMain);

} // namespace mirelon

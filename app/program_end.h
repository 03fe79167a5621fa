#pragma once

namespace mirelon {

class TfrmMain;

// The program ends when its main window has closed, whatever other windows show. It ends by
// leaving the event loop, not by quitting, since quitting would first close every window and a
// closed results window saves its column widths.
void EndProgramWithMainWindow(TfrmMain& frmMain);

// Closes what holds the user in a loop of its own: an open menu, a message box as with Cancel, a
// drop-down panel as with Esc, the innermost one only. False when nothing is open.
bool CloseInnermost();

// Ends the program as the user would: an open menu is closed, an open message box answered as
// with Cancel, an open drop-down panel left as with Esc, the innermost first and one a turn, so
// each code that waits for one carries on; then the main window closes, which lets a running
// job stop first.
void RequestProgramEnd(TfrmMain& frmMain);

} // namespace mirelon

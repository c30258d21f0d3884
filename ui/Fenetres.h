// The program's start: its name and icon, and its four windows.
#pragma once

namespace Fenetres {

// The application's name, which captions the error boxes and names the program to the desktop,
// and its icon. The windows' captions stay exactly their own: no display name is appended.
void PrepareApplication();

// Creates EphPosition, TEmoinsTUdlg, AboutBox and Ephemeride, in this order, each complete
// before the next, then the solar day's window Journee; only the main window is shown, by the
// caller.
void CreeFenetres();

// Deletes the windows, the reverse of their creation.
void DetruitFenetres();

}  // namespace Fenetres

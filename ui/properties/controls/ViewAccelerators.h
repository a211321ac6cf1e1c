// The program's accelerator keys (the main frame's table) for the bars. A
// floating bar is a window of its own, out of the main frame's reach, so each
// bar carries the table and hands the commands to the main window, which
// passes them to the view as its menus do.
#pragma once

#include <wx/accel.h>

#include <functional>

class wxWindow;

// The accelerator table with the commands' wx numbers.
wxAcceleratorTable ProgramAcceleratorTable();
// While an editable text box has the keyboard, Select All, Cut, Copy and
// Paste (by the commands' documented numbers) act on its text, as the keys
// do in any text box, and never on the scene's objects. True when the
// command was taken so.
bool ApplyToFocusedText(int command);
// Gives window the table. Its commands go to the application's top window
// while a view exists (else the key does nothing); after, when given, runs
// once the command is done.
void InstallViewAccelerators(wxWindow* window, std::function<void()> after = {});

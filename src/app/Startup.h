#pragma once
// The start-up sequence, shared by main() and the tests.

namespace Startup {

// Creates, in order: frmCommon, the splash (fade in, bitmap, fade out), the
// main window and the five dialogs, hidden. Needs a ZendrelApplication.
void CreateWindows();

// Deletes every window that CreateWindows made and that still exists.
void DestroyWindows();

// The program's entry: start-up, then the message loop, which shows the
// main window.
int Run(int argc, char **argv);

} // namespace Startup

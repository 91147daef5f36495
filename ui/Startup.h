#pragma once

#include "DialogService.h"
#include "u_dm.h"

class QApplication;

// The program from start to end: the main window, then the data module; the
// window shown only when the data module was created; the event loop; at the
// end the data module first, then the window. When the data module cannot
// be created, the "Application Error" box is shown, no window ever, and the
// exit code is 1; it is 1 too when the final commit failed. A termination
// signal (see TerminationSignals) ends the program as closing the window
// does. Returns the program's exit code.
int runProgram(QApplication& application, DialogService& dialogs,
               const TdmSettings& settings = TdmSettings());

#pragma once
// The run of the desktop program: the data module, then the main window, then the
// message loop until the main window closes, then everything released in reverse order.

#include "app/startup.h"

class LoginDialog;

// Runs the program and returns the process's exit code. Requires a QApplication and an
// installed prompter. The data module connects and logs the user in (env gives the
// program's directory, the log-on name and the station's address); when it asks the
// application to end, the main window is created but never shown, and the run ends at
// once. A second copy for the same program file and log-on user brings the running copy
// to the front and ends without showing its window.
int RunProgram(const StartupEnvironment &env, LoginDialog &loginDialog, const QString &programFile);

// The application's settings for the program's windows, before any is created: Qt's own
// texts (standard buttons, the save dialog) in Czech, and no application display name, so
// that the window system shows every title exactly as the window sets it.
void PrepareApplication();

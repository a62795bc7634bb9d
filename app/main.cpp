// The desktop program. It reads no command line and no environment: the data module
// reads Kramora.ini beside the program file, connects to the shared database and logs
// the user in; then the main window runs until it is closed.

#include "core/config.h"
#include "core/osinfo.h"
#include "app/program.h"
#include "app/login_form.h"
#include "ui/messagebox_prompter.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    PrepareApplication();
    MessageBoxPrompter messages;
    WidgetLoginDialog loginDialog;
    const StartupEnvironment env{defaultExePath(), GetWindowsUserName(), GetLocalAddress()};
    return RunProgram(env, loginDialog, QApplication::applicationFilePath());
}

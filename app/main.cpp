// The desktop program. It reads no command line and no environment: the data module is
// created, reads Kramora.ini beside the program file and connects to the shared
// database; then the main window runs until it is closed.

#include "app/general_error.h"
#include "app/osinfo.h"
#include "app/startup.h"
#include "store/connection.h"
#include "store/tdata.h"
#include "ui/dodavky_window.h"
#include "ui/messagebox_prompter.h"
#include "ui/screens_widgets.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Podklady"));
    MessageBoxPrompter messages;

    TData data;
    data.LocalAddress = GetLocalAddress();
    data.ExePath = defaultExePath();
    bool configured = false;
    if (!RunWithGeneralErrorDisplay([&] { configured = IniPrepare(data); }) || !configured)
        return 1;
    data.SetTableNames();
    try {
        data.Database.Connect(ConnectionParamsFor(data));
    } catch (const std::exception &) {
        // What counts is whether the connection is open; the message below says so.
    }
    if (!data.Database.IsConnected()) {
        prompter().ShowMessage(ServerUnreachableText(data));
        return 1;
    }

    WidgetScreens windows;
    DodavkyWindow window;
    window.show();
    return app.exec();
}

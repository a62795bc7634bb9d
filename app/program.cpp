#include "program.h"

#include "app/single_instance.h"
#include "ui/progres_win_form.h"
#include "reports/data_sestavy.h"
#include "import/data_import.h"
#include "store/tdata.h"
#include "ui/dodavky_form.h"
#include "ui/qt_czech.h"
#include "ui/screens_widgets.h"

#include <QApplication>

void PrepareApplication()
{
    InstallQtCzech();
}

int RunProgram(const StartupEnvironment &env, LoginDialog &loginDialog, const QString &programFile)
{
    TData data;
    int exitCode = 1;
    const bool run = DataCreate(data, loginDialog, env);
    TDataSestavy reports;
    // Asked to end (no configuration, no server, failed login): the message has been
    // shown once, and no window is created that could show more or take input.
    if (run) {
        TDataImport import;   // after the data module, whose configuration it reads
        TOneInstance guard(TOneInstance::keyFor(programFile, env.logOnName));
        if (!guard.Check()) {
            exitCode = 0;   // the running copy has come to the front
        } else {
            WidgetScreens windows;
            ProgresWinWindows progress;
            DodavkyWindow window;
            guard.OnActivate = [&window] {
                window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
                window.show();
                window.raise();
                window.activateWindow();
            };
            window.show();
            exitCode = QApplication::exec();
        }
    }
    return exitCode;
}

// A stand-in program for the single-instance tests: it runs the guard the way the
// desktop program does and says on stdout what happened.
//   single_instance_probe KEY WAIT_MS run|hang
// Prints RUN when it is to run (then serves hand-overs, printing ACTIVATED for each, and
// ends after the first), or HANDOVER when it handed over to a running copy. With "hang"
// it stops serving its event loop after RUN, like a hung program.

#include "app/single_instance.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 4)
        return 64;
    TOneInstance guard(QString::fromLocal8Bit(argv[1]), atoi(argv[2]));
    guard.OnActivate = [] {
        std::printf("ACTIVATED\n");
        std::fflush(stdout);
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    };
    if (!guard.Check()) {
        std::printf("HANDOVER\n");
        return 0;
    }
    std::printf("RUN\n");
    std::fflush(stdout);
    if (QByteArray(argv[3]) == "hang") {
        sleep(60);
        return 0;
    }
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    return app.exec();
}

// One station racing for a lock: locks "POD"/0000000001 until it has held it N times,
// logging "+address" when it gets the lock and "-address" before it lets it go.
//   lock_racer sqlite:FILE|pg:HOST:PORT:DATABASE:USER ADDRESS N LOGFILE

#include "core/prompter.h"
#include "station_target.h"
#include "store/tdata.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

class SilentPrompter final : public Prompter {
public:
    void ShowMessage(const QString &) override {}
    bool Confirm(const QString &) override { return false; }
};

void logLine(int fd, const QByteArray &line)
{
    // One write with O_APPEND: lines of several processes never interleave.
    if (write(fd, line.constData(), size_t(line.size())) != line.size())
        std::perror("lock_racer: log");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 5)
        return 64;
    const store::ConnectionParams params = StationTargetParams(QString::fromLocal8Bit(argv[1]));
    SilentPrompter quiet;
    setPrompter(&quiet);

    TData data;
    data.SetTableNames();
    data.LocalAddress = QString::fromLatin1(argv[2]);
    const int wanted = atoi(argv[3]);
    const int fd = open(argv[4], O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0)
        return 2;
    try {
        data.Database.Connect(params);
        const QString code = QStringLiteral("POD"), key = QStringLiteral("0000000001");
        for (int held = 0; held < wanted;) {
            if (!data.LockRecord(code, key)) {
                QThread::usleep(200);
                continue;
            }
            ++held;
            logLine(fd, '+' + QByteArray(argv[2]) + '\n');
            QThread::usleep(500);
            logLine(fd, '-' + QByteArray(argv[2]) + '\n');
            data.UnlockRecord(code, key);
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "lock_racer: %s\n", e.what());
        return 1;
    }
    close(fd);
    return 0;
}

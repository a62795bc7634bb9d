#pragma once
// A throwaway PostgreSQL server of one test program's own, with a shop's durability, on a
// free loopback port: started, stopped under its clients and started again through
// tools/pg-test-cluster, and removed with its files when the object goes. No other test
// loses its connection when this one stops it.

#include "store/database.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace stations {

// A loopback port nobody listens on now.
inline int freePort()
{
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(s, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
        && getsockname(s, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    close(s);
    return port;
}

// The server: `script` is tools/pg-test-cluster; run("start"), run("halt") (every session
// ended at once, files kept) and run("stop") (done by the destructor as well).
class ThrowawayCluster {
public:
    explicit ThrowawayCluster(const QString &script) : m_script(script), m_port(freePort()) {}
    ~ThrowawayCluster() { run(QStringLiteral("stop")); }
    ThrowawayCluster(const ThrowawayCluster &) = delete;
    ThrowawayCluster &operator=(const ThrowawayCluster &) = delete;

    bool run(const QString &command) const
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PODKLADY_PG_PORT"), QString::number(m_port));
        env.remove(QStringLiteral("PODKLADY_PG_DIR"));
        env.insert(QStringLiteral("PODKLADY_PG_DURABLE"), QStringLiteral("1"));  // as a shop's server
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(m_script, {command});
        return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }
    store::ConnectionParams params() const
    {
        store::ConnectionParams p;
        p.kind = store::ConnectionParams::Kind::PostgreSQL;
        p.host = QStringLiteral("127.0.0.1");
        p.port = m_port;
        p.database = QStringLiteral("postgres");
        p.user = QStringLiteral("postgres");
        return p;
    }
    int port() const { return m_port; }

private:
    QString m_script;
    int m_port;
};

} // namespace stations

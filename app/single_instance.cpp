#include "single_instance.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace {
// What a later copy sends and what the running copy answers once it is in front.
const QByteArray kRequest = "1324\n";
const QByteArray kAnswer = "ok\n";
} // namespace

TOneInstance::TOneInstance(const QString &key, int waitMs, QObject *parent)
    : QObject(parent), m_key(key), m_waitMs(waitMs)
{
}

TOneInstance::~TOneInstance() = default;

QString TOneInstance::keyFor(const QString &programFile, const QString &userName)
{
    // Socket names must be short and plain; the hash keeps any user name usable.
    const QString base = QFileInfo(programFile).fileName() + QLatin1Char('-') + userName;
    const QByteArray hash = QCryptographicHash::hash(base.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QFileInfo(programFile).fileName() + QLatin1Char('-') + QString::fromLatin1(hash);
}

bool TOneInstance::Check()
{
    QLocalSocket socket;
    socket.connectToServer(m_key);
    if (!socket.waitForConnected(m_waitMs)) {
        // Nobody listens (or the running copy never took the connection): run.
        return becomeRunningCopy();
    }
    socket.write(kRequest);
    socket.flush();
    while (socket.bytesAvailable() < kAnswer.size()) {
        if (!socket.waitForReadyRead(m_waitMs))
            return becomeRunningCopy();   // the running copy hangs: take over
    }
    return socket.read(kAnswer.size()) == kAnswer ? false : becomeRunningCopy();
}

bool TOneInstance::becomeRunningCopy()
{
    // A name left behind by a copy that died (or that hangs) is taken over.
    QLocalServer::removeServer(m_key);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_key)) {
        // Without the name this copy still runs; it only cannot be found by later ones.
        delete m_server;
        m_server = nullptr;
        return true;
    }
    connect(m_server, &QLocalServer::newConnection, this, &TOneInstance::answerRequest);
    return true;
}

void TOneInstance::answerRequest()
{
    while (QLocalSocket *client = m_server->nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QLocalSocket::readyRead, this, [this, client] {
            if (client->bytesAvailable() < kRequest.size())
                return;
            if (client->read(kRequest.size()) != kRequest) {
                client->disconnectFromServer();
                return;
            }
            if (OnActivate)
                OnActivate();
            client->write(kAnswer);
            client->flush();
            client->disconnectFromServer();
        });
    }
}

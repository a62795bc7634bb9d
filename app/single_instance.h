#pragma once
// One running copy of the program per program file name and log-on user.
//
// The first copy listens on a local socket named after both. A later copy connects,
// asks the running copy to come to the front and, once it has answered, ends without
// showing a window of its own. If the running copy does not take the connection within
// the wait, or does not answer within a second wait (it hangs), the later copy takes the
// name over and runs as a copy of its own.

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

class TOneInstance : public QObject {
    Q_OBJECT
public:
    // key: the name shared by all copies that must not run side by side.
    // waitMs: each of the two waits of a later copy.
    explicit TOneInstance(const QString &key, int waitMs = 10000, QObject *parent = nullptr);
    ~TOneInstance() override;

    // The name used for the given program file and log-on user.
    static QString keyFor(const QString &programFile, const QString &userName);

    // Returns true when this copy is to run: no copy ran, or the running copy did not
    // answer in time and this copy took over. Returns false when a running copy has been
    // brought to the front: this copy must end without showing its window.
    bool Check();

    // Called on the running copy (in its event loop) when a later copy hands over:
    // restore the main window from the minimised state and bring it to the front.
    std::function<void()> OnActivate;

private:
    bool becomeRunningCopy();
    void answerRequest();

    QString m_key;
    int m_waitMs;
    QLocalServer *m_server = nullptr;
};

#include "app/SingleInstance.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

#include <unistd.h>

namespace {

// One request is the UTF-8 path followed by a line feed; the instance answers
// with "ok\n" once it has taken the file.
constexpr char kAnswer[] = "ok\n";

}  // namespace

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent),
      serverName_(serverName.isEmpty() ? QStringLiteral("quillet-%1").arg(getuid()) : serverName)
{
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::HandOver(const QString& path, int timeoutMs) const
{
    // Waits in a local event loop rather than blocking, so that an instance
    // served by the same thread (as in tests) can still answer.
    QLocalSocket socket;
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    QByteArray answer;
    bool failed = false;
    QObject::connect(&timeout, &QTimer::timeout, &loop, [&] {
        failed = true;
        loop.quit();
    });
    QObject::connect(&socket, &QLocalSocket::errorOccurred, &loop, [&] {
        failed = true;
        loop.quit();
    });
    QObject::connect(&socket, &QLocalSocket::connected, &loop, [&] {
        socket.write(QFileInfo(path).absoluteFilePath().toUtf8() + '\n');
    });
    QObject::connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
        answer += socket.readAll();
        if (answer.endsWith('\n'))
            loop.quit();
    });
    timeout.start(timeoutMs);
    socket.connectToServer(serverName_);
    if (!failed && answer != kAnswer)
        loop.exec();
    return !failed && answer == kAnswer;
}

bool SingleInstance::Listen()
{
    // Two instances starting at once take turns here, so that only one of
    // them ends up listening.
    QLockFile turn(QDir::temp().filePath(serverName_ + QStringLiteral(".lock")));
    if (!turn.tryLock(5000))
        return false;
    // Another instance that answers on the name stays the one that takes
    // files handed over. (Listening would succeed anyway: the server is
    // created beside the name and moved over it.)
    {
        QLocalSocket probe;
        probe.connectToServer(serverName_);
        if (probe.waitForConnected(1000))
            return false;
    }
    // Whatever is left under the name belongs to an instance that crashed.
    QLocalServer::removeServer(serverName_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(serverName_))
        return false;
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::AcceptConnections);
    return true;
}

void SingleInstance::AcceptConnections()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                const QByteArray line = socket->readLine().chopped(1);
                if (!line.isEmpty())
                    emit FileRequested(QString::fromUtf8(line));
                socket->write(kAnswer);
                socket->flush();
            }
        });
    }
}

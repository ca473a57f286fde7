#include "app/SingleInstance.h"

#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

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
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(QFileInfo(path).absoluteFilePath().toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    QByteArray answer;
    while (!answer.endsWith('\n') && socket.waitForReadyRead(timeoutMs))
        answer += socket.readAll();
    return answer == kAnswer;
}

bool SingleInstance::Listen()
{
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(serverName_)) {
        // A socket left behind by an instance that crashed.
        QLocalServer::removeServer(serverName_);
        if (!server_->listen(serverName_))
            return false;
    }
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

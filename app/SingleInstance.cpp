#include "app/SingleInstance.h"

#include "platform/core/PrivateFolder.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>

#include <sys/socket.h>
#include <unistd.h>

namespace {

// One request is the UTF-8 path followed by a line feed; the instance answers
// with "ok\n" once it has taken the file.
constexpr char kAnswer[] = "ok\n";

QString ChannelPath(const QString& name)
{
    if (name.startsWith(QLatin1Char('/')))
        return name;
    const std::string folder = quillet::platform::PrivateRuntimeFolder();
    if (folder.empty())
        return {};
    return QString::fromStdString(folder) + QLatin1Char('/') +
           (name.isEmpty() ? QStringLiteral("quillet") : name);
}

// Whether the process at the other end of the socket runs as this user.
bool PeerIsThisUser(const QLocalSocket& socket)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    const int descriptor = static_cast<int>(socket.socketDescriptor());
    return descriptor >= 0 && getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == geteuid();
}

}  // namespace

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), serverName_(ChannelPath(serverName))
{
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::HandOver(const QString& path, int timeoutMs) const
{
    return HandOver(QStringList{path}, timeoutMs);
}

bool SingleInstance::HandOver(const QStringList& paths, int timeoutMs) const
{
    if (serverName_.isEmpty() || paths.isEmpty())
        return false;
    QByteArray requests;
    for (const QString& path : paths) {
        const QByteArray line = QFileInfo(path).absoluteFilePath().toUtf8() + '\n';
        // The instance refuses a longer line, and the whole connection with it.
        if (line.size() > kMaxRequest)
            return false;
        requests += line;
    }
    const QByteArray expected = QByteArray(kAnswer).repeated(static_cast<int>(paths.size()));
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
        // A path is told only to a process of the same user.
        if (!PeerIsThisUser(socket)) {
            failed = true;
            loop.quit();
            return;
        }
        socket.write(requests);
    });
    QObject::connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
        answer += socket.readAll();
        if (answer.size() >= expected.size() || !expected.startsWith(answer))
            loop.quit();
    });
    timeout.start(timeoutMs);
    socket.connectToServer(serverName_);
    if (!failed && answer != expected)
        loop.exec();
    return !failed && answer == expected;
}

bool SingleInstance::Listen()
{
    if (serverName_.isEmpty())
        return false;
    // Two instances starting at once take turns here, so that only one of
    // them ends up listening.
    QLockFile turn(serverName_ + QStringLiteral(".lock"));
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
        if (!PeerIsThisUser(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        socket->setReadBufferSize(kMaxRequest + 1);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadRequests(socket); });
    }
}

void SingleInstance::ReadRequests(QLocalSocket* socket)
{
    // Only reads and answers: the files are opened later, from the event
    // loop, when nothing refers to this connection any more.
    const bool hadPending = !pending_.isEmpty();
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine(kMaxRequest + 1);
        const QString path = QString::fromUtf8(line.chopped(1));
        // What is not an absolute path is not a request of ours.
        if (!line.endsWith('\n') || (line.size() > 1 && !path.startsWith(QLatin1Char('/')))) {
            socket->abort();
            break;
        }
        if (line.size() > 1)
            pending_ << path;
        socket->write(kAnswer);
    }
    // A line longer than any path we take is not a request.
    if (socket->state() == QLocalSocket::ConnectedState) {
        if (socket->bytesAvailable() > kMaxRequest)
            socket->abort();
        else
            socket->flush();
    }
    if (!hadPending && !pending_.isEmpty())
        QTimer::singleShot(0, this, &SingleInstance::TellRequests);
}

void SingleInstance::TellRequests()
{
    // A message shown while one file opens runs the event loop, and files
    // handed over meanwhile wait their turn here.
    if (telling_)
        return;
    telling_ = true;
    while (!pending_.isEmpty())
        emit FileRequested(pending_.takeFirst());
    telling_ = false;
}

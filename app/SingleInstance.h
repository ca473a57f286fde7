#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

// Lets a second start of the editor hand the file it was given to the
// instance already running, over a local socket private to the user: it
// lives in the user's runtime folder (or a private folder of ours in the
// temporary folder), and each side checks that the other runs as the same
// user before a path goes over it.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // The longest request line taken; a longer one ends the connection.
    static constexpr int kMaxRequest = 4096;

    // serverName: the socket's file name in the private runtime folder
    // ("quillet" by default), or a full path.
    explicit SingleInstance(QString serverName = {}, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Sends the absolute path to a running instance; true when one of the
    // user's own took it.
    bool HandOver(const QString& path, int timeoutMs = 2000) const;
    // Sends each absolute path as a request line of its own over one
    // connection; true when the instance took every one of them.
    bool HandOver(const QStringList& paths, int timeoutMs = 2000) const;
    // Starts listening for hand-overs; false when the name cannot be taken.
    bool Listen();

    // The socket's path; empty when there is no private place for it.
    const QString& ServerName() const { return serverName_; }

signals:
    // Told from the event loop once the connection has been answered, so
    // that what the file's opening shows (a message box with its own event
    // loop) never holds a connection that its peer may close meanwhile.
    void FileRequested(const QString& path);

private:
    void AcceptConnections();
    void ReadRequests(QLocalSocket* socket);
    void TellRequests();

    QString serverName_;
    QLocalServer* server_ = nullptr;
    // Requests taken and answered, not yet told.
    QStringList pending_;
    bool telling_ = false;
};

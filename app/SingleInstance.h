#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// Lets a second start of the editor hand the file it was given to the
// instance already running, over a local socket private to the user.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // serverName defaults to one per user ("quillet-<uid>").
    explicit SingleInstance(QString serverName = {}, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Sends the absolute path to a running instance; true when one took it.
    bool HandOver(const QString& path, int timeoutMs = 2000) const;
    // Starts listening for hand-overs; false when the name cannot be taken.
    bool Listen();

    const QString& ServerName() const { return serverName_; }

signals:
    void FileRequested(const QString& path);

private:
    void AcceptConnections();

    QString serverName_;
    QLocalServer* server_ = nullptr;
};

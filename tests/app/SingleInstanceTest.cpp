// The hand-over channel of a second start belongs to its user: a path goes
// only to a process of the same user, requests come only from one, and the
// channel's folder and the recovery journals' folder are the user's alone.
// A second start that leaves, or sends what is no request, is just gone.
#include "app/CRecoveryStore.h"
#include "app/CScrivoApp.h"
#include "app/CScrivoDoc.h"
#include "app/SingleInstance.h"
#include "platform/core/MemoryProfile.h"
#include "platform/core/MessageSeam.h"
#include "platform/core/PrivateFolder.h"
#include "tests/app/AppOptions.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLocalSocket>
#include <QTimer>

#include <atomic>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

// A short Python program run as the user "nobody": a server that takes one
// connection on a socket (writing what it was sent to a file and answering
// "ok"), or a client that sends a path and prints the answer.
constexpr const char* kForeignServer = R"(
import os, socket, sys
path, received = sys.argv[1], sys.argv[2]
server = socket.socket(socket.AF_UNIX)
server.bind(path)
os.chmod(path, 0o777)
server.listen(1)
server.settimeout(10)
try:
    client, _ = server.accept()
    client.settimeout(3)
    data = b''
    try:
        while not data.endswith(b'\n'):
            piece = client.recv(4096)
            if not piece:
                break
            data += piece
    except socket.timeout:
        pass
    open(received, 'wb').write(data)
    client.sendall(b'ok\n')
except socket.timeout:
    open(received, 'wb').write(b'no connection')
)";

constexpr const char* kForeignClient = R"(
import socket, sys
client = socket.socket(socket.AF_UNIX)
client.settimeout(5)
client.connect(sys.argv[1])
client.sendall(sys.argv[2].encode() + b'\n')
try:
    print(client.recv(16).decode(), end='')
except (socket.timeout, ConnectionResetError):
    pass
)";

bool CanRunAsNobody()
{
    return geteuid() == 0 && getpwnam("nobody") &&
           RunProcess({"sh", "-c", "command -v setpriv && test -x /usr/bin/python3"}).exitStatus == 0;
}

ProcessResult RunAsNobody(const char* program, const std::vector<std::string>& arguments)
{
    std::vector<std::string> argv{"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups",
                                  "--", "/usr/bin/python3", "-c", program};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return RunProcess(argv, "/");
}

void SpinUntil(const std::function<bool()>& done, int milliseconds = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

TEST(SingleInstanceChannel, IsNeverHandedToAnotherUsersSocket)
{
    if (!CanRunAsNobody())
        GTEST_SKIP() << "needs root, the user 'nobody', setpriv and /usr/bin/python3";
    TempDir dir;
    fs::permissions(dir.Path(), fs::perms::all);
    const std::string socketPath = dir.File("taken");
    const std::string received = dir.File("received");
    std::thread server([&] { RunAsNobody(kForeignServer, {socketPath, received}); });
    SpinUntil([&] { return fs::exists(socketPath); });
    const bool listening = fs::exists(socketPath);

    SingleInstance channel(QString::fromStdString(socketPath));
    EXPECT_FALSE(channel.HandOver(QStringLiteral("/home/someone/Secret.java")));
    server.join();
    ASSERT_TRUE(listening) << "the other user's server did not start";
    EXPECT_EQ(ReadFileBytes(received).find("Secret"), std::string::npos) << ReadFileBytes(received);
}

TEST(SingleInstanceChannel, RefusesRequestsOfAnotherUser)
{
    if (!CanRunAsNobody())
        GTEST_SKIP() << "needs root, the user 'nobody', setpriv and /usr/bin/python3";
    TempDir dir;
    fs::permissions(dir.Path(), fs::perms::all);
    const std::string socketPath = dir.File("ours");
    SingleInstance channel(QString::fromStdString(socketPath));
    ASSERT_TRUE(channel.Listen());
    // Even with the socket open to everyone, the request is not taken.
    fs::permissions(socketPath, fs::perms::all);
    QStringList requested;
    QObject::connect(&channel, &SingleInstance::FileRequested,
                     [&](const QString& path) { requested << path; });

    std::atomic<bool> done = false;
    ProcessResult client;
    std::thread other([&] {
        client = RunAsNobody(kForeignClient, {socketPath, "/tmp/Planted.java"});
        done = true;
    });
    SpinUntil([&] { return done.load(); });
    other.join();
    EXPECT_EQ(client.err, "");
    EXPECT_EQ(client.out, "");
    EXPECT_TRUE(requested.isEmpty()) << requested.join(',').toStdString();
}

TEST(SingleInstanceChannel, TakesRequestsOfItsUserUpToFourKilobytes)
{
    TempDir dir;
    const std::string socketPath = dir.File("ours");
    SingleInstance channel(QString::fromStdString(socketPath));
    ASSERT_TRUE(channel.Listen());
    QStringList requested;
    QObject::connect(&channel, &SingleInstance::FileRequested,
                     [&](const QString& path) { requested << path; });

    EXPECT_TRUE(SingleInstance(QString::fromStdString(socketPath)).HandOver(QStringLiteral("/src/A.java")));
    // Told from the event loop, once the second start has its answer.
    SpinUntil([&] { return !requested.isEmpty(); });
    EXPECT_EQ(requested, QStringList{QStringLiteral("/src/A.java")});

    // A line longer than any path ends the connection unanswered.
    QLocalSocket flood;
    flood.connectToServer(QString::fromStdString(socketPath));
    ASSERT_TRUE(flood.waitForConnected(2000));
    flood.write(QByteArray(3 * SingleInstance::kMaxRequest, 'x'));
    flood.flush();
    SpinUntil([&] { return flood.state() == QLocalSocket::UnconnectedState; }, 5000);
    EXPECT_EQ(flood.state(), QLocalSocket::UnconnectedState);
    EXPECT_EQ(flood.readAll(), QByteArray());
    EXPECT_EQ(requested.size(), 1);
}

// A message box as the user meets it: it runs an event loop of its own
// until the user clicks OK, and things happen meanwhile.
class ModalMessages : public quillet::platform::RecordingMessageSink {
public:
    std::function<void()> whileShown;

    quillet::platform::MessageAnswer Show(const quillet::platform::Message& message) override
    {
        const quillet::platform::MessageAnswer answer = RecordingMessageSink::Show(message);
        if (whileShown)
            whileShown();
        QEventLoop box;
        QTimer::singleShot(300, &box, &QEventLoop::quit);
        box.exec();
        return answer;
    }
};

class HandOverToTheRunningEditor : public ::testing::Test {
protected:
    void SetUp() override
    {
        profile.WriteInt("Java Files", "Associate", 1);
        ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
    }

    // A second start as a raw client: it sends its lines and is gone.
    void SendAndLeave(const QByteArray& lines)
    {
        QLocalSocket client;
        client.connectToServer(channel.ServerName());
        ASSERT_TRUE(client.waitForConnected(2000));
        client.write(lines);
        client.flush();
        client.abort();
    }

    bool HandOverStillOpens(const std::string& name)
    {
        WriteFileBytes(dir.File(name), "class A {}\n");
        if (!channel.HandOver(QString::fromStdString(dir.File(name))))
            return false;
        SpinUntil([&] { return !app.Documents().empty(); }, 5000);
        return app.Documents().size() == 1 && app.Documents()[0]->PathName() == dir.File(name);
    }

    TempDir dir;
    ModalMessages messages;
    quillet::platform::MemoryProfile profile;
    CScrivoApp app{profile, AppOptionsIn(dir)};
    SingleInstance channel{AppOptionsIn(dir).instanceName};
};

TEST_F(HandOverToTheRunningEditor, AFolderIsRefusedWithItsMessageAfterTheSecondStartHasGone)
{
    QLocalSocket client;
    QByteArray answer;
    // The second start gives up and ends while the message is still shown.
    messages.whileShown = [&] {
        if (client.bytesAvailable() == 0)
            client.waitForReadyRead(1000);
        answer += client.readAll();
        client.abort();
    };
    client.connectToServer(channel.ServerName());
    ASSERT_TRUE(client.waitForConnected(2000));
    client.write(QFile::encodeName(QString::fromStdString(dir.Path().string())) + '\n');
    client.flush();
    SpinUntil([&] { return !messages.Messages().empty(); });
    SpinUntil([] { return false; }, 500);

    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"'" + dir.Path().string() + "' is a directory."});
    // The second start was answered before anything was shown.
    EXPECT_EQ(answer, QByteArray("ok\n"));
    EXPECT_TRUE(app.Documents().empty());
    EXPECT_TRUE(HandOverStillOpens("After.java"));
}

TEST_F(HandOverToTheRunningEditor, ClientsThatSendGarbageOrAMissingFileAndLeaveAreJustGone)
{
    SendAndLeave("\x01\xffnot a path\n");
    SendAndLeave("/no/such/Missing.java\n");
    SendAndLeave("/no/such/Half");
    SpinUntil([&] { return !messages.Messages().empty(); });
    SpinUntil([] { return false; }, 500);

    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"'/no/such/Missing.java' was not found."});
    EXPECT_TRUE(app.Documents().empty());
    EXPECT_TRUE(HandOverStillOpens("After.java"));
}

TEST(PrivateFolders, AreMadeForTheUserAloneAndRefusedWhenTheyAreNot)
{
    TempDir dir;
    const std::string journals = dir.File("state/Quillet/recovery");
    {
        const CRecoveryStore store(journals);
        EXPECT_TRUE(store.IsUsable()) << store.Problem();
    }
    struct stat status {};
    ASSERT_EQ(0, stat(journals.c_str(), &status));
    EXPECT_EQ(0700u, status.st_mode & 0777);

    // A folder of ours that others may enter is narrowed.
    const std::string open = dir.File("open");
    fs::create_directory(open);
    fs::permissions(open, fs::perms::all);
    EXPECT_TRUE(quillet::platform::MakePrivateFolder(open));
    ASSERT_EQ(0, stat(open.c_str(), &status));
    EXPECT_EQ(0700u, status.st_mode & 0777);

    // A link or a file under the name is not our folder.
    fs::create_directory_symlink(open, dir.File("link"));
    std::string reason;
    EXPECT_FALSE(quillet::platform::MakePrivateFolder(dir.File("link"), &reason));
    EXPECT_NE(reason.find("is not a folder"), std::string::npos) << reason;
    const CRecoveryStore linked(dir.File("link"));
    EXPECT_FALSE(linked.IsUsable());

    if (geteuid() == 0 && getpwnam("nobody")) {
        const std::string theirs = dir.File("theirs");
        fs::create_directory(theirs);
        ASSERT_EQ(0, chown(theirs.c_str(), getpwnam("nobody")->pw_uid, getpwnam("nobody")->pw_gid));
        ASSERT_EQ(0, chmod(theirs.c_str(), 0700));
        const CRecoveryStore store(theirs);
        EXPECT_FALSE(store.IsUsable());
        EXPECT_NE(store.Problem().find("belongs to another user"), std::string::npos) << store.Problem();
    }
}

}  // namespace
}  // namespace quillet::test

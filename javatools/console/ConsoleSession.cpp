#include "javatools/console/ConsoleSession.h"

#include <QSocketNotifier>
#include <QTimer>

namespace {

constexpr int kDefaultRows = 24;
constexpr int kDefaultColumns = 80;
// Bytes taken from the pty per wake-up of the event loop: enough to keep up
// with a fast program, little enough that painting and input come between.
constexpr std::size_t kReadChunk = 16 * 1024;
constexpr int kChunksPerWake = 4;
// After a program has ended, at most this much of what is still buffered is
// read (a background process may go on writing).
constexpr int kDrainChunks = 64;
// How often a running program is checked for having ended, for programs
// whose children keep the terminal open after them.
constexpr int kExitCheckMs = 200;

}  // namespace

ConsoleSession::ConsoleSession(QObject* parent)
    : QObject(parent), screen_(kDefaultRows, kDefaultColumns), exitCheck_(new QTimer(this))
{
    // Keys and the terminal's answers to a program's queries go to its input.
    screen_.SetOutput([this](const char* bytes, std::size_t size) { Write(bytes, size); });
    exitCheck_->setInterval(kExitCheckMs);
    connect(exitCheck_, &QTimer::timeout, this, &ConsoleSession::CheckExit);
}

ConsoleSession::~ConsoleSession()
{
    Terminate();
}

bool ConsoleSession::Start(const std::vector<std::string>& argv,
                           const std::string& workingDirectory,
                           const std::vector<std::string>& environment, std::string* error)
{
    Terminate();
    auto pty = std::make_unique<ConsolePty>();
    if (!pty->Start(argv, workingDirectory, environment,
                    ConsolePty::Size{screen_.Rows(), screen_.Columns()}, error))
        return false;
    pty_ = std::move(pty);
    notifier_ = new QSocketNotifier(pty_->Fd(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &ConsoleSession::ReadAvailable);
    exitCheck_->start();
    return true;
}

void ConsoleSession::Write(const char* bytes, std::size_t size)
{
    if (pty_ && size > 0)
        pty_->Write(bytes, size);
}

void ConsoleSession::Resize(int rows, int columns)
{
    if (rows == screen_.Rows() && columns == screen_.Columns())
        return;
    screen_.Resize(rows, columns);
    if (pty_)
        pty_->Resize(ConsolePty::Size{screen_.Rows(), screen_.Columns()});
    emit Changed();
}

void ConsoleSession::ReadAvailable()
{
    if (!pty_)
        return;
    char buffer[kReadChunk];
    bool fed = false;
    for (int chunk = 0; chunk < kChunksPerWake; ++chunk) {
        const std::ptrdiff_t got = pty_->Read(buffer, sizeof buffer);
        if (got > 0) {
            screen_.Feed(buffer, static_cast<std::size_t>(got));
            fed = true;
            continue;
        }
        if (got < 0) {
            // Nobody holds the terminal any more: the program is ending.
            StopReading();
            exitCheck_->setInterval(10);
        }
        break;
    }
    if (fed)
        emit Changed();
}

void ConsoleSession::CheckExit()
{
    int status = 0;
    if (!pty_ || !pty_->PollExit(&status))
        return;
    exitCheck_->stop();
    exitCheck_->setInterval(kExitCheckMs);
    // What the program wrote before it ended is still in the terminal.
    char buffer[kReadChunk];
    for (int chunk = 0; chunk < kDrainChunks && notifier_; ++chunk) {
        const std::ptrdiff_t got = pty_->Read(buffer, sizeof buffer);
        if (got <= 0)
            break;
        screen_.Feed(buffer, static_cast<std::size_t>(got));
    }
    StopReading();
    pty_.reset();
    emit Changed();
    emit Ended(status);
}

void ConsoleSession::StopReading()
{
    if (notifier_) {
        notifier_->setEnabled(false);
        notifier_->deleteLater();
        notifier_ = nullptr;
    }
}

int ConsoleSession::Terminate()
{
    exitCheck_->stop();
    exitCheck_->setInterval(kExitCheckMs);
    StopReading();
    if (!pty_)
        return -1;
    const int status = pty_->IsRunning() ? pty_->Terminate() : -1;
    pty_.reset();
    return status;
}

#pragma once

#include "javatools/console/ConsolePty.h"
#include "javatools/console/ConsoleScreen.h"

#include <QObject>

#include <memory>
#include <string>
#include <vector>

class QSocketNotifier;
class QTimer;

// A terminal and the program on it: the pty is read from the event loop in
// bounded chunks, so the editor stays responsive while a program prints
// without pause, and what was read goes into the screen. One program runs at
// a time; when it has ended, another can be started on the same screen.
class ConsoleSession : public QObject {
    Q_OBJECT
public:
    explicit ConsoleSession(QObject* parent = nullptr);
    ~ConsoleSession() override;

    ConsoleScreen& Screen() { return screen_; }
    const ConsoleScreen& Screen() const { return screen_; }

    bool Start(const std::vector<std::string>& argv, const std::string& workingDirectory,
               const std::vector<std::string>& environment, std::string* error);
    bool IsRunning() const { return pty_ && pty_->IsRunning(); }
    // Bytes for the program's input, as typed.
    void Write(const char* bytes, std::size_t size);
    void Write(const std::string& bytes) { Write(bytes.data(), bytes.size()); }
    // The terminal's size in character cells; the program is told.
    void Resize(int rows, int columns);
    // Hangs up the program and reaps it; returns its wait status, or -1 when
    // none was running. Ended is not emitted.
    int Terminate();

signals:
    // New output is in the screen; painters coalesce their repaints.
    void Changed();
    // The program has ended (waitStatus as waitpid reports it) and its
    // output has been read.
    void Ended(int waitStatus);

private:
    void ReadAvailable();
    void CheckExit();
    void StopReading();

    ConsoleScreen screen_;
    std::unique_ptr<ConsolePty> pty_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer* exitCheck_;
};

#pragma once

#include "javatools/debug/JdwpPacketStream.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

// One JDWP connection on a connected, non-blocking socket, driven from the
// caller's event loop: the caller watches Fd() for reading (and for
// writing while WantsWrite()) and calls OnReadable / OnWritable; nothing
// here blocks or starts a thread. The handshake goes out on Open. Each
// command gets its reply handler; commands from the virtual machine (the
// events) go to the command handler. When the connection ends, every
// command still waiting gets a reply with the error VM_DEAD, and the close
// handler is told why. Handlers may send further commands; they must not
// destroy the connection.
class JdwpConnection {
public:
    using ReplyHandler = std::function<void(const JdwpPacket& reply)>;
    using CommandHandler = std::function<void(const JdwpPacket& command)>;
    using CloseHandler = std::function<void(const std::string& reason)>;

    // What one OnReadable reads at most, so a chatty virtual machine leaves
    // the event loop its turns.
    static constexpr std::size_t kReadBudget = std::size_t{1} << 20;

    JdwpConnection() = default;
    ~JdwpConnection();
    JdwpConnection(const JdwpConnection&) = delete;
    JdwpConnection& operator=(const JdwpConnection&) = delete;

    // Takes the socket over (made non-blocking and close-on-exec) and sends
    // the handshake.
    void Open(int fd);
    int Fd() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    bool WantsWrite() const { return fd_ >= 0 && !output_.empty(); }

    void SetCommandHandler(CommandHandler handler) { onCommand_ = std::move(handler); }
    void SetCloseHandler(CloseHandler handler) { onClose_ = std::move(handler); }

    // Sends a command; returns its packet id.
    std::uint32_t Send(std::uint8_t commandSet, std::uint8_t command, std::string_view body, ReplyHandler onReply);

    void OnReadable();
    void OnWritable();
    // Ends the connection; reason empty for an ordinary end.
    void Close(const std::string& reason);

private:
    void Flush();
    void Dispatch(const JdwpPacket& packet);

    int fd_ = -1;
    std::uint32_t nextId_ = 1;
    std::string output_;
    JdwpPacketStream input_;
    std::map<std::uint32_t, ReplyHandler> waiting_;
    CommandHandler onCommand_;
    CloseHandler onClose_;
};

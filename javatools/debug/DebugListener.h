#pragma once

#include <string>

// Waits on a fresh loopback port (127.0.0.1, chosen by the system) for the
// debugged program's agent to connect, so no JDWP server port is ever
// opened. Accepts one connection, and only from a socket of this user: the
// owner of the peer's socket is read from /proc/net/tcp (and tcp6) by its
// port; a connection from anyone else is closed and the wait goes on. The
// listening socket closes with the first accepted connection. Non-blocking:
// the caller watches Fd() and calls Accept when it is readable.
class DebugListener {
public:
    DebugListener() = default;
    ~DebugListener();
    DebugListener(const DebugListener&) = delete;
    DebugListener& operator=(const DebugListener&) = delete;

    // False with the reason when no port could be had.
    bool Listen(std::string* failure);
    int Port() const { return port_; }
    // The listening socket; -1 once a connection was accepted.
    int Fd() const { return fd_; }
    // The accepted connection (the caller owns it), or -1 while none of
    // this user's is waiting.
    int Accept();

    // The agent's option for `java` that connects to this listener.
    static std::string AgentArgument(int port);
    // The uid that owns the TCP socket whose local end is the port on
    // 127.0.0.1 and whose peer is peerPort, read from the kernel's tables
    // (procRoot "/proc" but for tests); -1 when none is listed.
    static long SocketOwner(int localPort, int peerPort, const std::string& procRoot = "/proc");

private:
    int fd_ = -1;
    int port_ = 0;
};

#include "javatools/debug/DebugListener.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <netinet/in.h>
#include <sstream>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The port of a "ADDRESS:PORT" column of /proc/net/tcp, -1 if malformed.
long PortOf(const std::string& column)
{
    const std::size_t colon = column.rfind(':');
    if (colon == std::string::npos || colon + 1 >= column.size())
        return -1;
    char* end = nullptr;
    const long port = std::strtol(column.c_str() + colon + 1, &end, 16);
    return *end == '\0' ? port : -1;
}

bool IsLoopback(const std::string& column)
{
    const std::string address = column.substr(0, column.rfind(':'));
    // 127.0.0.1 as the kernel prints it, alone or as an IPv4-mapped address.
    static const std::string kV4 = "0100007F";
    return address == kV4 || address == "0000000000000000FFFF0000" + kV4;
}

}  // namespace

DebugListener::~DebugListener()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool DebugListener::Listen(std::string* failure)
{
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd_, 4) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (failure)
            *failure = std::string("no loopback port for the debugger: ") + std::strerror(errno);
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
        return false;
    }
    port_ = ntohs(address.sin_port);
    return true;
}

int DebugListener::Accept()
{
    while (fd_ >= 0) {
        sockaddr_in peer{};
        socklen_t length = sizeof peer;
        const int connection = ::accept4(fd_, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_CLOEXEC);
        if (connection < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        const int peerPort = ntohs(peer.sin_port);
        // The peer's socket has the peer port as its local end and ours as
        // its remote end.
        if (peer.sin_family == AF_INET && peer.sin_addr.s_addr == htonl(INADDR_LOOPBACK) &&
            SocketOwner(peerPort, port_) == static_cast<long>(::getuid())) {
            ::close(fd_);
            fd_ = -1;
            return connection;
        }
        ::close(connection);
    }
    return -1;
}

std::string DebugListener::AgentArgument(int port)
{
    return "-agentlib:jdwp=transport=dt_socket,server=n,suspend=y,address=127.0.0.1:" + std::to_string(port);
}

long DebugListener::SocketOwner(int localPort, int peerPort, const std::string& procRoot)
{
    for (const char* table : {"/net/tcp", "/net/tcp6"}) {
        std::ifstream in(procRoot + table);
        std::string line;
        std::getline(in, line);  // the heading
        while (std::getline(in, line)) {
            std::istringstream columns(line);
            std::string slot, local, remote, state, queues, timer, retransmits;
            long uid = -1;
            if (!(columns >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> uid))
                continue;
            if (PortOf(local) == localPort && PortOf(remote) == peerPort && IsLoopback(local) && IsLoopback(remote))
                return uid;
        }
    }
    return -1;
}

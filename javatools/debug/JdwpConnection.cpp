#include "javatools/debug/JdwpConnection.h"

#include "javatools/debug/JdwpProtocol.h"
#include "javatools/debug/JdwpWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace {

JdwpPacket DeadReply(std::uint32_t id)
{
    JdwpPacket reply;
    reply.id = id;
    reply.isReply = true;
    reply.errorCode = jdwp::error::kVmDead;
    return reply;
}

}  // namespace

JdwpConnection::~JdwpConnection()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void JdwpConnection::Open(int fd)
{
    fd_ = fd;
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);
    ::fcntl(fd_, F_SETFD, FD_CLOEXEC);
    output_.append(jdwp::kHandshake, jdwp::kHandshakeSize);
    Flush();
}

std::uint32_t JdwpConnection::Send(std::uint8_t commandSet, std::uint8_t command, std::string_view body,
                                   ReplyHandler onReply)
{
    const std::uint32_t id = nextId_++;
    if (fd_ < 0) {
        if (onReply)
            onReply(DeadReply(id));
        return id;
    }
    output_ += JdwpWriter::CommandPacket(id, commandSet, command, body);
    waiting_[id] = std::move(onReply);
    Flush();
    return id;
}

void JdwpConnection::Flush()
{
    while (fd_ >= 0 && !output_.empty()) {
        const ssize_t written = ::send(fd_, output_.data(), output_.size(), MSG_NOSIGNAL);
        if (written > 0) {
            output_.erase(0, static_cast<std::size_t>(written));
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        Close(std::string("the connection to the virtual machine failed: ") + std::strerror(errno));
        return;
    }
}

void JdwpConnection::OnWritable()
{
    Flush();
}

void JdwpConnection::OnReadable()
{
    std::size_t budget = kReadBudget;
    char chunk[65536];
    while (fd_ >= 0 && budget > 0) {
        const ssize_t got = ::recv(fd_, chunk, sizeof chunk, 0);
        if (got > 0) {
            budget -= std::min(budget, static_cast<std::size_t>(got));
            input_.Append(std::string_view(chunk, static_cast<std::size_t>(got)));
            JdwpPacket packet;
            while (fd_ >= 0 && input_.Next(packet))
                Dispatch(packet);
            if (input_.Broken()) {
                Close(input_.Failure());
                return;
            }
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        Close(got == 0 ? std::string()
                       : std::string("the connection to the virtual machine failed: ") + std::strerror(errno));
        return;
    }
}

void JdwpConnection::Dispatch(const JdwpPacket& packet)
{
    if (!packet.isReply) {
        if (onCommand_)
            onCommand_(packet);
        return;
    }
    const auto found = waiting_.find(packet.id);
    if (found == waiting_.end())
        return;
    ReplyHandler handler = std::move(found->second);
    waiting_.erase(found);
    if (handler)
        handler(packet);
}

void JdwpConnection::Close(const std::string& reason)
{
    if (fd_ < 0)
        return;
    ::close(fd_);
    fd_ = -1;
    output_.clear();
    auto waiting = std::move(waiting_);
    waiting_.clear();
    for (auto& [id, handler] : waiting)
        if (handler)
            handler(DeadReply(id));
    if (onClose_)
        onClose_(reason);
}

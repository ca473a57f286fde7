#include "FuzzCheck.h"
#include "FuzzTargets.h"
#include "javatools/debug/DebugSession.h"
#include "javatools/debug/IDebugObserver.h"
#include "javatools/debug/JdwpPacketStream.h"
#include "javatools/debug/JdwpReader.h"
#include "javatools/debug/JdwpReplies.h"

#include <string>
#include <string_view>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

// Every reader of reply bodies and events over the bytes. A parse that
// succeeds has read no more entries than the bytes can hold.
void ParseEverything(std::string_view body, const jdwp::IdSizes& sizes)
{
    {
        JdwpReader reader(body, sizes);
        JdwpEventSet set;
        if (ParseEventSet(reader, set))
            QUILLET_FUZZ_CHECK(set.events.size() * 5 <= body.size());
    }
    {
        JdwpReader reader(body, sizes);
        JdwpVersion version;
        if (ParseVersion(reader, version))
            QUILLET_FUZZ_CHECK(version.description.size() + version.vmName.size() <= body.size());
    }
    {
        JdwpReader reader(body, sizes);
        jdwp::IdSizes out;
        if (ParseIdSizes(reader, out))
            QUILLET_FUZZ_CHECK(out.object >= 1 && out.object <= 8);
    }
    for (const bool flag : {false, true}) {
        JdwpReader refs(body, sizes);
        std::vector<JdwpClassRef> classes;
        if (ParseClassRefs(refs, flag, classes))
            QUILLET_FUZZ_CHECK(classes.size() <= body.size());
        JdwpReader members(body, sizes);
        std::vector<JdwpMember> list;
        if (ParseMembers(members, flag, list))
            QUILLET_FUZZ_CHECK(list.size() <= body.size());
        JdwpReader variables(body, sizes);
        std::vector<JdwpVariable> table;
        if (ParseVariableTable(variables, flag, table))
            QUILLET_FUZZ_CHECK(table.size() <= body.size());
    }
    {
        JdwpReader reader(body, sizes);
        JdwpLineTable table;
        if (ParseLineTable(reader, table))
            QUILLET_FUZZ_CHECK(table.lines.size() * 12 <= body.size());
    }
    {
        JdwpReader reader(body, sizes);
        std::vector<JdwpFrame> frames;
        ParseFrames(reader, frames);
    }
    {
        JdwpReader values(body, sizes);
        std::vector<DebugValue> list;
        if (ParseValues(values, list))
            QUILLET_FUZZ_CHECK(list.size() <= body.size());
        JdwpReader region(body, sizes);
        if (ParseArrayRegion(region, list))
            QUILLET_FUZZ_CHECK(list.size() <= body.size());
        for (const DebugValue& value : list)
            DebugValueText(value);
    }
}

class QuietObserver : public IDebugObserver {
public:
    void OnStopped(const DebugStop& stop) override
    {
        for (const DebugFrame& frame : stop.frames)
            QUILLET_FUZZ_CHECK(frame.thread == stop.thread);
    }
    void OnDisconnected(const std::string&) override { ended = true; }
    bool ended = false;
};

// The bytes as the whole stream of a virtual machine after its handshake,
// played to a session through a socket: replies, events, anything.
void PlayToSession(std::string_view stream)
{
    int sockets[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, sockets) != 0)
        return;
    QuietObserver observer;
    {
        DebugSession session(observer);
        session.AddBreakpoint("/nonexistent/Square.java", "Square", 8);
        session.Start(sockets[0]);
        std::string bytes(jdwp::kHandshake, jdwp::kHandshakeSize);
        bytes.append(stream);
        std::size_t at = 0;
        while (at < bytes.size()) {
            const ssize_t written = ::write(sockets[1], bytes.data() + at, bytes.size() - at);
            if (written <= 0)
                break;
            at += static_cast<std::size_t>(written);
            session.OnReadable();
        }
        ::close(sockets[1]);
        for (int turn = 0; turn < 8 && session.IsConnected(); ++turn)
            session.OnReadable();
        QUILLET_FUZZ_CHECK(!session.IsConnected());
        QUILLET_FUZZ_CHECK(observer.ended);
    }
}

}  // namespace

// The first byte chooses the id sizes; the rest is the stream a virtual
// machine sends after its handshake.
int FuzzJdwpPacket(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    jdwp::IdSizes sizes;
    sizes.object = sizes.frame = 1 + (data[0] & 7);
    sizes.referenceType = sizes.method = sizes.field = 1 + ((data[0] >> 3) & 7);
    const std::string_view stream(reinterpret_cast<const char*>(data) + 1, size - 1);

    JdwpPacketStream packets;
    packets.Append(std::string_view(jdwp::kHandshake, jdwp::kHandshakeSize));
    packets.Append(stream);
    JdwpPacket packet;
    std::size_t taken = 0;
    while (packets.Next(packet)) {
        taken += packet.body.size() + jdwp::kHeaderSize;
        QUILLET_FUZZ_CHECK(taken <= stream.size());
        ParseEverything(packet.body, sizes);
    }
    QUILLET_FUZZ_CHECK(!packets.Next(packet));
    ParseEverything(stream, sizes);
    PlayToSession(stream);
    return 0;
}

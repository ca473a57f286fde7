#include "javatools/debug/JdwpReplies.h"

#include "javatools/debug/JdwpReader.h"

namespace {

// The fewest bytes a string can take: its length.
constexpr std::size_t kMinString = 4;

bool Done(JdwpReader& reader)
{
    return reader.Ok();
}

}  // namespace

bool ParseVersion(JdwpReader& reader, JdwpVersion& out)
{
    out.description = reader.String();
    out.major = static_cast<int>(reader.Int());
    out.minor = static_cast<int>(reader.Int());
    out.vmVersion = reader.String();
    out.vmName = reader.String();
    return Done(reader);
}

bool ParseIdSizes(JdwpReader& reader, jdwp::IdSizes& out)
{
    jdwp::IdSizes sizes;
    int* fields[] = {&sizes.field, &sizes.method, &sizes.object, &sizes.referenceType, &sizes.frame};
    for (int* field : fields) {
        const std::uint32_t size = reader.Int();
        if (size < 1 || size > 8)
            reader.Fail();
        *field = static_cast<int>(size);
    }
    if (!Done(reader))
        return false;
    out = sizes;
    return true;
}

bool ParseClassRefs(JdwpReader& reader, bool withStatus, std::vector<JdwpClassRef>& out)
{
    const std::uint32_t count = reader.Count(1 + static_cast<std::size_t>(reader.Sizes().referenceType));
    out.clear();
    for (std::uint32_t i = 0; i < count && reader.Ok(); ++i) {
        JdwpClassRef ref;
        ref.typeTag = reader.Byte();
        ref.typeId = reader.ReferenceTypeId();
        if (withStatus)
            ref.status = reader.Int();
        out.push_back(ref);
    }
    return Done(reader);
}

bool ParseTypeOf(JdwpReader& reader, JdwpClassRef& out)
{
    out.typeTag = reader.Byte();
    out.typeId = reader.ReferenceTypeId();
    return Done(reader);
}

bool ParseMembers(JdwpReader& reader, bool fields, std::vector<JdwpMember>& out)
{
    const int idSize = fields ? reader.Sizes().field : reader.Sizes().method;
    const std::uint32_t count = reader.Count(static_cast<std::size_t>(idSize) + 2 * kMinString + 4);
    out.clear();
    for (std::uint32_t i = 0; i < count && reader.Ok(); ++i) {
        JdwpMember member;
        member.id = reader.Sized(idSize);
        member.name = reader.String();
        member.signature = reader.String();
        member.modifiers = reader.Int();
        out.push_back(std::move(member));
    }
    return Done(reader);
}

bool ParseLineTable(JdwpReader& reader, JdwpLineTable& out)
{
    out.start = static_cast<std::int64_t>(reader.Long());
    out.end = static_cast<std::int64_t>(reader.Long());
    const std::uint32_t count = reader.Count(12);
    out.lines.clear();
    for (std::uint32_t i = 0; i < count && reader.Ok(); ++i) {
        JdwpLine line;
        line.codeIndex = reader.Long();
        line.line = static_cast<int>(reader.Int());
        out.lines.push_back(line);
    }
    return Done(reader);
}

bool ParseVariableTable(JdwpReader& reader, bool withGeneric, std::vector<JdwpVariable>& out)
{
    reader.Int();  // words of arguments
    const std::uint32_t count = reader.Count(8 + (withGeneric ? 3 : 2) * kMinString + 8);
    out.clear();
    for (std::uint32_t i = 0; i < count && reader.Ok(); ++i) {
        JdwpVariable variable;
        variable.codeIndex = reader.Long();
        variable.name = reader.String();
        variable.signature = reader.String();
        if (withGeneric)
            reader.String();
        variable.length = reader.Int();
        variable.slot = static_cast<int>(reader.Int());
        out.push_back(std::move(variable));
    }
    return Done(reader);
}

bool ParseFrames(JdwpReader& reader, std::vector<JdwpFrame>& out)
{
    const auto& sizes = reader.Sizes();
    const std::uint32_t count =
        reader.Count(static_cast<std::size_t>(sizes.frame) + 1 + sizes.referenceType + sizes.method + 8);
    out.clear();
    for (std::uint32_t i = 0; i < count && reader.Ok(); ++i) {
        JdwpFrame frame;
        frame.frameId = reader.FrameId();
        frame.location = reader.Location();
        out.push_back(frame);
    }
    return Done(reader);
}

bool ParseValues(JdwpReader& reader, std::vector<DebugValue>& out)
{
    const std::uint32_t count = reader.Count(1);
    out.clear();
    for (std::uint32_t i = 0; i < count && reader.Ok(); ++i)
        out.push_back(ReadTaggedValue(reader));
    return Done(reader);
}

bool ParseArrayRegion(JdwpReader& reader, std::vector<DebugValue>& out)
{
    const std::uint8_t tag = reader.Byte();
    const bool tagged = IsObjectTag(tag);
    const int size = UntaggedValueSize(tag, reader);
    if (!tagged && size <= 0)
        reader.Fail();
    const std::uint32_t count = reader.Count(tagged ? 1 : static_cast<std::size_t>(size > 0 ? size : 1));
    out.clear();
    for (std::uint32_t i = 0; i < count && reader.Ok(); ++i)
        out.push_back(tagged ? ReadTaggedValue(reader) : ReadUntaggedValue(reader, tag));
    return Done(reader);
}

bool ParseEventSet(JdwpReader& reader, JdwpEventSet& out)
{
    out.suspendPolicy = reader.Byte();
    const std::uint32_t count = reader.Count(5);
    out.events.clear();
    for (std::uint32_t i = 0; i < count && reader.Ok(); ++i) {
        JdwpEvent event;
        event.kind = reader.Byte();
        event.requestId = reader.Int();
        switch (event.kind) {
        case jdwp::kind::kVmStart:
        case jdwp::kind::kThreadStart:
        case jdwp::kind::kThreadDeath:
            event.thread = reader.ObjectId();
            break;
        case jdwp::kind::kSingleStep:
        case jdwp::kind::kBreakpoint:
            event.thread = reader.ObjectId();
            event.location = reader.Location();
            break;
        case jdwp::kind::kException:
            event.thread = reader.ObjectId();
            event.location = reader.Location();
            event.exception = ReadTaggedValue(reader);
            event.catchLocation = reader.Location();
            break;
        case jdwp::kind::kClassPrepare:
            event.thread = reader.ObjectId();
            event.typeTag = reader.Byte();
            event.typeId = reader.ReferenceTypeId();
            event.signature = reader.String();
            event.status = reader.Int();
            break;
        case jdwp::kind::kClassUnload:
            event.signature = reader.String();
            break;
        case jdwp::kind::kVmDeath:
            break;
        default:
            reader.Fail();
            break;
        }
        if (reader.Ok())
            out.events.push_back(std::move(event));
    }
    return Done(reader);
}

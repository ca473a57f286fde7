// The packet layer of the debugger: what is written reads back, packets are
// cut out of the byte stream however it arrives, and damaged packets are
// refused without a read outside them.
#include "javatools/debug/JdwpPacketStream.h"
#include "javatools/debug/JdwpReader.h"
#include "javatools/debug/JdwpReplies.h"
#include "javatools/debug/JdwpWriter.h"
#include "javatools/debug/SourceClassBodies.h"
#include "javatools/debug/SourceTopLevelClass.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

jdwp::IdSizes MixedSizes()
{
    jdwp::IdSizes sizes;
    sizes.field = 4;
    sizes.method = 8;
    sizes.object = 8;
    sizes.referenceType = 2;
    sizes.frame = 3;
    return sizes;
}

jdwp::Location SomeLocation(std::uint64_t index)
{
    jdwp::Location location;
    location.typeTag = 1;
    location.classId = 0x1234;
    location.methodId = 0x1122334455667788ull;
    location.index = index;
    return location;
}

// An event set with one event of every kind the debugger reads.
std::string EveryEvent(const jdwp::IdSizes& sizes)
{
    JdwpWriter body(sizes);
    body.Byte(jdwp::suspend::kAll).Int(8);
    body.Byte(jdwp::kind::kVmStart).Int(0).ObjectId(7);
    body.Byte(jdwp::kind::kBreakpoint).Int(3).ObjectId(7).Location(SomeLocation(12));
    body.Byte(jdwp::kind::kSingleStep).Int(4).ObjectId(7).Location(SomeLocation(13));
    body.Byte(jdwp::kind::kException).Int(5).ObjectId(7).Location(SomeLocation(14));
    body.Byte(jdwp::tag::kObject).ObjectId(99).Location(SomeLocation(0));
    body.Byte(jdwp::kind::kClassPrepare).Int(6).ObjectId(7).Byte(1).ReferenceTypeId(0x55).String("LSquare$Side;").Int(7);
    body.Byte(jdwp::kind::kClassUnload).Int(8).String("LGone;");
    body.Byte(jdwp::kind::kThreadDeath).Int(9).ObjectId(7);
    body.Byte(jdwp::kind::kVmDeath).Int(0);
    return body.Bytes();
}

TEST(JdwpPacket, WrittenFieldsReadBackInTheVmsIdSizes)
{
    const jdwp::IdSizes sizes = MixedSizes();
    const std::string bytes = EveryEvent(sizes);
    JdwpReader reader(bytes, sizes);
    JdwpEventSet set;
    ASSERT_TRUE(ParseEventSet(reader, set));
    EXPECT_TRUE(reader.AtEnd());
    ASSERT_EQ(set.events.size(), 8u);
    EXPECT_EQ(set.suspendPolicy, jdwp::suspend::kAll);
    EXPECT_EQ(set.events[1].kind, jdwp::kind::kBreakpoint);
    EXPECT_EQ(set.events[1].location.methodId, 0x1122334455667788ull);
    EXPECT_EQ(set.events[1].location.classId, 0x1234u);
    EXPECT_EQ(set.events[1].location.index, 12u);
    EXPECT_EQ(set.events[3].exception.tag, jdwp::tag::kObject);
    EXPECT_EQ(set.events[3].exception.bits, 99u);
    EXPECT_EQ(set.events[4].signature, "LSquare$Side;");
    EXPECT_EQ(set.events[4].typeId, 0x55u);
    EXPECT_EQ(set.events[5].signature, "LGone;");
    EXPECT_EQ(set.events[7].kind, jdwp::kind::kVmDeath);

    const std::string packet = JdwpWriter::CommandPacket(0x01020304, 15, 1, "ab");
    EXPECT_EQ(packet, std::string("\0\0\0\x0d\x01\x02\x03\x04\0\x0f\x01" "ab", 13));
}

TEST(JdwpPacket, PacketsAreCutOutOfTheStreamWhereverItBreaks)
{
    std::string stream(jdwp::kHandshake, jdwp::kHandshakeSize);
    std::vector<std::string> bodies;
    for (int i = 0; i < 40; ++i) {
        bodies.push_back(std::string(static_cast<std::size_t>(i * 7), static_cast<char>('a' + i % 26)));
        stream += i % 2 ? JdwpWriter::ReplyPacket(static_cast<std::uint32_t>(i), static_cast<std::uint16_t>(i), bodies.back())
                        : JdwpWriter::CommandPacket(static_cast<std::uint32_t>(i), 64, 100, bodies.back());
    }
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        JdwpPacketStream packets;
        std::vector<JdwpPacket> got;
        std::size_t at = 0;
        while (at < stream.size()) {
            const std::size_t piece = std::min<std::size_t>(stream.size() - at, random() % 40 + 1);
            packets.Append(std::string_view(stream).substr(at, piece));
            at += piece;
            JdwpPacket packet;
            while (packets.Next(packet))
                got.push_back(packet);
        }
        ASSERT_FALSE(packets.Broken());
        ASSERT_EQ(got.size(), bodies.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].id, i);
            EXPECT_EQ(got[i].isReply, i % 2 == 1);
            EXPECT_EQ(got[i].body, bodies[i]);
            if (got[i].isReply)
                EXPECT_EQ(got[i].errorCode, i);
            else
                EXPECT_EQ(got[i].commandSet, 64);
        }
    }
}

TEST(JdwpPacket, AWrongHandshakeOrLengthBreaksTheStream)
{
    JdwpPacketStream wrongHandshake;
    wrongHandshake.Append("JDWP-Handshakx");
    JdwpPacket packet;
    EXPECT_FALSE(wrongHandshake.Next(packet));
    EXPECT_TRUE(wrongHandshake.Broken());

    for (const std::uint32_t length : {0u, 10u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        JdwpPacketStream stream;
        std::string bytes(jdwp::kHandshake, jdwp::kHandshakeSize);
        bytes += JdwpWriter::ReplyPacket(1, 0, "xyz");
        for (int i = 0; i < 4; ++i)
            bytes[jdwp::kHandshakeSize + i] = static_cast<char>(length >> (24 - 8 * i));
        stream.Append(bytes);
        EXPECT_FALSE(stream.Next(packet)) << length;
        EXPECT_TRUE(stream.Broken()) << length;
    }
}

// Every reader over the bytes; with ASan any read outside them fails the test.
int ParseAll(const std::string& bytes, const jdwp::IdSizes& sizes)
{
    int accepted = 0;
    auto count = [&](bool ok) { accepted += ok ? 1 : 0; };
    {
        JdwpReader r(bytes, sizes);
        JdwpEventSet set;
        count(ParseEventSet(r, set));
    }
    {
        JdwpReader r(bytes, sizes);
        JdwpVersion version;
        count(ParseVersion(r, version));
    }
    {
        JdwpReader r(bytes, sizes);
        jdwp::IdSizes out;
        count(ParseIdSizes(r, out));
    }
    for (const bool status : {false, true}) {
        JdwpReader r(bytes, sizes);
        std::vector<JdwpClassRef> refs;
        count(ParseClassRefs(r, status, refs));
    }
    for (const bool fields : {false, true}) {
        JdwpReader r(bytes, sizes);
        std::vector<JdwpMember> members;
        count(ParseMembers(r, fields, members));
    }
    {
        JdwpReader r(bytes, sizes);
        JdwpLineTable table;
        count(ParseLineTable(r, table));
    }
    for (const bool generic : {false, true}) {
        JdwpReader r(bytes, sizes);
        std::vector<JdwpVariable> variables;
        count(ParseVariableTable(r, generic, variables));
    }
    {
        JdwpReader r(bytes, sizes);
        std::vector<JdwpFrame> frames;
        count(ParseFrames(r, frames));
    }
    {
        JdwpReader r(bytes, sizes);
        std::vector<DebugValue> values;
        count(ParseValues(r, values));
    }
    {
        JdwpReader r(bytes, sizes);
        std::vector<DebugValue> values;
        count(ParseArrayRegion(r, values));
    }
    return accepted;
}

TEST(JdwpPacket, CutOrDamagedBodiesAreRefusedWithoutReadingOutside)
{
    const jdwp::IdSizes sizes = MixedSizes();
    const std::string events = EveryEvent(sizes);
    // A cut event set is never taken for a whole one.
    for (std::size_t cut = 0; cut < events.size(); ++cut) {
        const std::string part = events.substr(0, cut);
        JdwpReader reader(part, sizes);
        JdwpEventSet set;
        EXPECT_FALSE(ParseEventSet(reader, set)) << cut;
        ParseAll(part, sizes);
    }
    JdwpWriter region(sizes);
    region.Byte(jdwp::tag::kInt).Int(3).Int(1).Int(2).Int(3);
    JdwpWriter variables(sizes);
    variables.Int(1).Int(1).Long(0).String("count").String("I").Int(10).Int(1);
    const std::string seeds[] = {events, region.Bytes(), variables.Bytes()};
    std::mt19937 random(11);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = seeds[round % 3];
        const int flips = 1 + static_cast<int>(random() % 4);
        for (int f = 0; f < flips; ++f)
            bytes[random() % bytes.size()] = static_cast<char>(random());
        ParseAll(bytes, sizes);
        // Each id size from 1 to 8, and the damaged sizes of the reply itself.
        jdwp::IdSizes other;
        other.object = other.referenceType = other.frame = 1 + static_cast<int>(random() % 8);
        ParseAll(bytes, other);
    }
    // A count beyond the body fails at once instead of looping.
    JdwpWriter huge(sizes);
    huge.Int(0xFFFFFFFFu);
    JdwpReader reader(huge.Bytes(), sizes);
    std::vector<DebugValue> values;
    EXPECT_FALSE(ParseValues(reader, values));
    EXPECT_TRUE(values.empty());
    // Id sizes outside 1..8 are refused.
    JdwpWriter badSizes(sizes);
    badSizes.Int(8).Int(8).Int(9).Int(8).Int(8);
    JdwpReader sizeReader(badSizes.Bytes(), sizes);
    jdwp::IdSizes got;
    EXPECT_FALSE(ParseIdSizes(sizeReader, got));
}

TEST(SourceClassBodies, NestedAndAnonymousBodiesAreTheirOwn)
{
    const SourceClassBodies bodies(
        "public class Square {\n"            // 1
        "    static class Side {\n"          // 2
        "        int area() { return 1; }\n" // 3
        "        // \"class\" { in a comment\n"  // 4
        "    }\n"                            // 5
        "    void run() {\n"                 // 6
        "        String s = \"{\";\n"        // 7
        "        Runnable r = new Runnable() {\n"  // 8
        "            public void run() {}\n" // 9
        "        };\n"                       // 10
        "        if (s.isEmpty()) {\n"       // 11
        "        }\n"                        // 12
        "    }\n"                            // 13
        "}\n");                              // 14
    const int square = bodies.BodyOfLine(1);
    const int side = bodies.BodyOfLine(2);
    EXPECT_NE(square, 0);
    EXPECT_NE(side, square);
    EXPECT_EQ(bodies.BodyOfLine(3), side);
    EXPECT_EQ(bodies.BodyOfLine(4), side);
    EXPECT_EQ(bodies.BodyOfLine(5), square);
    EXPECT_EQ(bodies.BodyOfLine(7), square);
    const int anonymous = bodies.BodyOfLine(8);
    EXPECT_NE(anonymous, square);
    EXPECT_NE(anonymous, side);
    EXPECT_EQ(bodies.BodyOfLine(9), anonymous);
    EXPECT_EQ(bodies.BodyOfLine(10), square);
    EXPECT_EQ(bodies.BodyOfLine(11), square);
    EXPECT_EQ(bodies.BodyOfLine(14), 0);
    EXPECT_EQ(bodies.BodyOfLine(99), -1);
}

TEST(SourceTopLevelClass, TheFileNameAfterThePackage)
{
    EXPECT_EQ(SourceTopLevelClass("/src/p/q/Square.java", "/* head */ // note\npackage p . q;\nclass Square {}"),
              "p.q.Square");
    EXPECT_EQ(SourceTopLevelClass("/src/Square.java", "import java.util.List;\nclass Square {}"), "Square");
    EXPECT_EQ(SourceTopLevelClass("Square.java", "@Deprecated package a;"), "a.Square");
    EXPECT_EQ(SourceTopLevelClass("/src/Square.java", "packages x;"), "Square");
    EXPECT_EQ(SourceTopLevelClass("/src/Square.java", ""), "Square");
}

}  // namespace

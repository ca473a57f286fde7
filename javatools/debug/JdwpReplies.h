#pragma once

#include "javatools/debug/DebugValue.h"
#include "javatools/debug/JdwpProtocol.h"

#include <cstdint>
#include <string>
#include <vector>

class JdwpReader;

// The reply bodies and events the debugger reads, each with a parser that
// gives false (and leaves the reader failed) for a body that does not hold
// the whole reply.

struct JdwpVersion {
    std::string description;
    int major = 0;
    int minor = 0;
    std::string vmVersion;
    std::string vmName;
};
bool ParseVersion(JdwpReader& reader, JdwpVersion& out);
bool ParseIdSizes(JdwpReader& reader, jdwp::IdSizes& out);

struct JdwpClassRef {
    std::uint8_t typeTag = 0;
    std::uint64_t typeId = 0;
    std::uint32_t status = 0;
};
// ClassesBySignature (with status) and NestedTypes (without).
bool ParseClassRefs(JdwpReader& reader, bool withStatus, std::vector<JdwpClassRef>& out);
// ObjectReference.ReferenceType.
bool ParseTypeOf(JdwpReader& reader, JdwpClassRef& out);

struct JdwpMember {
    std::uint64_t id = 0;
    std::string name;
    std::string signature;
    std::uint32_t modifiers = 0;
};
// ReferenceType.Fields (field ids) and Methods (method ids).
bool ParseMembers(JdwpReader& reader, bool fields, std::vector<JdwpMember>& out);

struct JdwpLine {
    std::uint64_t codeIndex = 0;
    int line = 0;
};
struct JdwpLineTable {
    std::int64_t start = -1;
    std::int64_t end = -1;
    std::vector<JdwpLine> lines;
};
bool ParseLineTable(JdwpReader& reader, JdwpLineTable& out);

struct JdwpVariable {
    std::uint64_t codeIndex = 0;
    std::string name;
    std::string signature;
    std::uint32_t length = 0;
    int slot = 0;
    bool VisibleAt(std::uint64_t index) const { return index >= codeIndex && index - codeIndex < length; }
};
bool ParseVariableTable(JdwpReader& reader, bool withGeneric, std::vector<JdwpVariable>& out);

struct JdwpFrame {
    std::uint64_t frameId = 0;
    jdwp::Location location;
};
bool ParseFrames(JdwpReader& reader, std::vector<JdwpFrame>& out);
// StackFrame.GetValues and ObjectReference.GetValues: tagged values.
bool ParseValues(JdwpReader& reader, std::vector<DebugValue>& out);
// ArrayReference.GetValues: an array region, tagged only for objects.
bool ParseArrayRegion(JdwpReader& reader, std::vector<DebugValue>& out);

// One event of a composite event set; the fields its kind does not carry
// stay zero.
struct JdwpEvent {
    std::uint8_t kind = 0;
    std::uint32_t requestId = 0;
    std::uint64_t thread = 0;
    jdwp::Location location;
    DebugValue exception;
    jdwp::Location catchLocation;
    std::uint8_t typeTag = 0;
    std::uint64_t typeId = 0;
    std::string signature;
    std::uint32_t status = 0;
};
struct JdwpEventSet {
    std::uint8_t suspendPolicy = 0;
    std::vector<JdwpEvent> events;
};
// An Event.Composite command. Kinds the debugger never asks for end the
// reading there (their layout is not read), and the parse fails.
bool ParseEventSet(JdwpReader& reader, JdwpEventSet& out);

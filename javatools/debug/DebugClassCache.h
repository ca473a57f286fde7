#pragma once

#include "javatools/debug/DebugClassInfo.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

class JdwpConnection;
struct JdwpPacket;

// Reads classes from the virtual machine on first need and keeps them: the
// signature, source file and methods at once, line tables, variables and
// fields when asked. Every request answers through its callback, after the
// replies it needs have come (at once when all is known); a class that
// cannot be read answers with nullptr. A DebugClassInfo, once made, lives as
// long as the cache, so replies in any order find theirs.
class DebugClassCache {
public:
    using ClassHandler = std::function<void(DebugClassInfo* info)>;
    using MethodHandler = std::function<void(DebugClassInfo* info, DebugMethodInfo* method)>;
    using FieldsHandler = std::function<void(std::vector<JdwpMember> fields)>;

    explicit DebugClassCache(JdwpConnection& connection) : connection_(connection) {}

    void SetIdSizes(const jdwp::IdSizes& sizes) { sizes_ = sizes; }
    const jdwp::IdSizes& IdSizes() const { return sizes_; }

    // Signature, source file and the list of methods.
    void WithClass(std::uint64_t typeId, ClassHandler handler);
    // ...and the line table of every method.
    void WithLines(std::uint64_t typeId, ClassHandler handler);
    // The line table of one method.
    void WithMethodLines(std::uint64_t typeId, std::uint64_t methodId, MethodHandler handler);
    // The local variables of one method (the line table too).
    void WithVariables(std::uint64_t typeId, std::uint64_t methodId, MethodHandler handler);
    // The instance fields of the class and its superclasses, in that order
    // from the class itself up.
    void WithInstanceFields(std::uint64_t typeId, FieldsHandler handler);
    // A class whose signature the event gave is known without asking.
    void NoteSignature(std::uint64_t typeId, std::uint8_t typeTag, const std::string& signature);

private:
    void Load(std::uint64_t typeId);
    void Finish(std::uint64_t typeId, bool ok);
    void LoadLines(DebugClassInfo* info, DebugMethodInfo* method, std::function<void()> done);
    void LoadFields(DebugClassInfo* info, std::function<void()> done);
    void CollectFields(std::uint64_t typeId, std::shared_ptr<std::vector<JdwpMember>> fields, FieldsHandler handler,
                       int depth);

    JdwpConnection& connection_;
    jdwp::IdSizes sizes_;
    std::map<std::uint64_t, std::unique_ptr<DebugClassInfo>> classes_;
    std::set<std::uint64_t> loaded_;
    std::map<std::uint64_t, std::vector<ClassHandler>> loading_;
};

#pragma once

#include "javatools/debug/DebugStop.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class DebugClassCache;
class JdwpConnection;

// Reads values of a stopped program for the Variables window: the locals
// and `this` of a frame, an object's fields, a string's text, an array's
// length and a range of its elements. Each answers through its handler
// once the replies are in; error is empty on success and says what could
// not be read otherwise. Frames are valid only until the program resumes.
class DebugValueReader {
public:
    using VariablesHandler = std::function<void(std::vector<DebugVariable> variables, std::string error)>;
    using ValueHandler = std::function<void(DebugValue value, std::string error)>;
    using StringHandler = std::function<void(std::string text, std::string error)>;
    using ThreadHandler = std::function<void(DebugThreadState state, std::string error)>;
    using ArrayHandler =
        std::function<void(std::int64_t length, std::vector<DebugVariable> elements, std::string error)>;

    DebugValueReader(JdwpConnection& connection, DebugClassCache& classes) : connection_(connection), classes_(classes) {}

    // The arguments and locals in scope at the frame's position, `this` left
    // out (ReadThis gives it).
    void ReadLocals(const DebugFrame& frame, VariablesHandler handler);
    // `this` of the frame; null in a static method.
    void ReadThis(const DebugFrame& frame, ValueHandler handler);
    // The instance fields of an object, its own class's first.
    void ReadFields(std::uint64_t objectId, VariablesHandler handler);
    void ReadString(std::uint64_t stringId, StringHandler handler);
    // The length and the elements first .. first+count-1 (fewer at the end),
    // named "[i]".
    void ReadArray(std::uint64_t arrayId, std::int64_t first, std::int64_t count, ArrayHandler handler);

    // The thread's state, whether it is suspended, and its frame count.
    void ReadThreadState(std::uint64_t thread, ThreadHandler handler);

private:
    using Variables = std::shared_ptr<std::vector<DebugVariable>>;
    // Reads the text of the strings and the length of the arrays among
    // the variables, then hands them over.
    void Complete(Variables variables, VariablesHandler handler);

    JdwpConnection& connection_;
    DebugClassCache& classes_;
};

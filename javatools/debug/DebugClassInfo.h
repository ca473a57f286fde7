#pragma once

#include "javatools/debug/JdwpReplies.h"

#include <cstdint>
#include <string>
#include <vector>

// What the debugger has read of one method: its line table and local
// variables, each read once when first needed.
struct DebugMethodInfo {
    JdwpMember member;
    bool linesLoaded = false;
    JdwpLineTable lines;
    bool variablesLoaded = false;
    std::vector<JdwpVariable> variables;
    std::string variablesError;  // why there are none (no debug information)

    // The line of a code index: that of the last line-table entry at or
    // before it; -1 when the method has no lines.
    int LineAt(std::uint64_t codeIndex) const;
};

// What the debugger has read of one class, interface or array type.
struct DebugClassInfo {
    std::uint64_t typeId = 0;
    std::uint8_t typeTag = 0;
    std::string signature;   // "Lp/Square$Inner;"
    std::string sourceFile;  // "Square.java", empty when the class has none
    std::vector<DebugMethodInfo> methods;
    bool fieldsLoaded = false;
    std::vector<JdwpMember> fields;  // declared here only
    std::uint64_t superclass = 0;

    // "p.Square$Inner" (arrays: "int[]").
    std::string Name() const;
    DebugMethodInfo* Method(std::uint64_t methodId);
    const DebugMethodInfo* Method(std::uint64_t methodId) const;
};

// The dotted name of a type signature: "Ljava/lang/String;" is
// "java.lang.String", "[[I" is "int[][]".
std::string TypeNameOfSignature(const std::string& signature);

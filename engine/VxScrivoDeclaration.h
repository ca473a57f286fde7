#pragma once

#include <cstdint>
#include <string>

// One class, interface, enum or record declared in a Java text, as the class
// view lists it: its plain name and the line where its declaration starts.
struct VxScrivoDeclaration {
    enum Kind { kClass = 0, kInterface = 1, kEnum = 2, kRecord = 3 };

    std::string name;
    std::int32_t line = 0;
    int kind = kClass;

    bool operator==(const VxScrivoDeclaration&) const = default;
};

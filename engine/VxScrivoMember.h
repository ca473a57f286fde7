#pragma once

#include <cstdint>
#include <string>

// One entry of a Java text's outline as the class tree shows it: a type
// (class, interface, enum, record) or one of its constructors, methods and
// fields, with the line of its name. Entries are in source order; each
// names the type it belongs to by its index in the outline.
struct VxScrivoMember {
    enum Kind { kClass = 0, kInterface = 1, kEnum = 2, kRecord = 3, kConstructor = 4, kMethod = 5, kField = 6 };

    // A method's or constructor's entry reads "put(K, V)"; the others are names.
    std::string label;
    std::string name;
    std::int32_t line = 0;
    int kind = kClass;
    int parent = -1;      // -1 for a top-level type
    int parameters = 0;   // of a method or constructor

    bool IsType() const { return kind <= kRecord; }
    bool operator==(const VxScrivoMember&) const = default;
};

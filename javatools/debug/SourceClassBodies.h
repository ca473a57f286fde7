#pragma once

#include <string_view>
#include <vector>

// Which class body each line of a Java source ends in: a number per body
// (0 outside every class), found from the braces, with comments, strings
// and character literals passed over. A brace opens a class body when its
// declaration names class, interface, enum or record, or when it follows
// the closing parenthesis of a `new` expression (an anonymous class).
// Breakpoints use it so that a line without code moves to the next line
// with code of the same class, never into the class around a nested one.
class SourceClassBodies {
public:
    explicit SourceClassBodies(std::string_view text);

    // The body that line (1-based) ends in; -1 past the end.
    int BodyOfLine(int line) const;
    int LineCount() const { return static_cast<int>(bodyAtEnd_.size()); }

private:
    std::vector<int> bodyAtEnd_;
};

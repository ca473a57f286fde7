#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// What the configurable scanner cannot say about JavaScript: where a
// regular-expression literal may start, how long it and a number are, and
// the structure of template literals, whose `${...}` substitutions hold code
// that may hold further templates, across lines. Works on one line at a
// time with a small state carried from line to line.
class VxEditJsLexer {
public:
    enum class Kind { Code, Template, String, Comment, DocComment, Regex };

    // A stretch of one line: [start, start + length) of the given kind.
    struct Piece {
        std::int32_t start = 0;
        std::int32_t length = 0;
        Kind kind = Kind::Code;
    };

    // Where the lexer stands at a line's start. Each entry of the stack is
    // an open template literal (kInTemplate) or a substitution with that
    // many unclosed braces of its own.
    struct State {
        static constexpr int kInTemplate = -1;
        // The body of a script element: code whose braces never close it.
        static constexpr int kScriptBody = -2;
        std::vector<int> stack;
        bool inComment = false;
        bool docComment = false;
        // Style sheet rules: no templates, regular expressions or line
        // comments.
        bool css = false;

        bool InsideTemplate() const { return !stack.empty(); }
        bool operator==(const State& other) const = default;
    };

    // The state just after the opening backquote of a template literal.
    static State OpenedTemplate();
    // The state at the start of the body of a script or style element.
    static State OpenedScript(bool css);

    // Lexes text[from, length) of a line in state, appending its pieces
    // (when pieces is given) and stopping just past the backquote that
    // closes the outermost template, where the stack becomes empty. Returns
    // the column where it stopped. previousLine is the text of the line
    // above, for a regular expression at the start of this one.
    static std::int32_t LexLine(const char* text, std::int32_t length, std::int32_t from, State& state,
                                std::string_view previousLine, std::vector<Piece>* pieces);

    // Whether a '/' at column starts a regular expression rather than a
    // division, by what stands before it: after an operator, an opening
    // bracket, a comma, '}' or a keyword such as return or typeof it does;
    // after a name, a number, a string, ']' or ')' it does not, unless the
    // ')' closes the head of an if, while, for or with. At the start of a
    // line the end of previousLine decides.
    static bool RegexMayStart(const char* text, std::int32_t column, std::string_view previousLine);
    // The length of the regular-expression literal at text[0] ('/'),
    // flags included, or 0 when the line holds no closing '/'.
    static std::int32_t RegexLength(const char* text, std::int32_t length);
    // The length of the numeric literal at text[0] (decimal with fraction
    // and exponent, hex, octal, binary, separators, BigInt n, a leading
    // '.'), or 0 when none starts there.
    static std::int32_t NumberLength(const char* text, std::int32_t length);
};

#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A private profile (ini) file: "[section]" lines followed by "key=value"
// lines. Section and key names compare without regard to case; names and
// values are trimmed of surrounding blanks, and a value in double quotes
// stands for the text between them (written so when it has surrounding
// blanks); lines starting with ';' are comments. Only the first section of a name and the first key of a name in
// it count, as with the platform's profile functions.
//
// Writes change the text in memory and keep every other line as it was;
// Commit replaces the file through a temporary file in the same folder, so a
// failed write leaves the file untouched.
class VxEditIniFile {
public:
    VxEditIniFile() = default;
    explicit VxEditIniFile(std::string path) : path_(std::move(path)) {}

    // Reads the file. A missing file is an empty one (true); a file that
    // exists but cannot be read leaves the store empty and reports false.
    bool Load();
    // Takes the text of a file.
    void Parse(std::string_view text);

    bool Has(std::string_view section, std::string_view key) const;
    std::string GetString(std::string_view section, std::string_view key, std::string_view fallback) const;
    // A decimal integer with an optional sign; the fallback when the key is
    // missing or its value does not start with a number.
    int GetInt(std::string_view section, std::string_view key, int fallback) const;
    // Every line of the section other than comments and blank lines,
    // trimmed; "key=value" lines as such.
    std::vector<std::string> GetSection(std::string_view section) const;
    // The names of all sections in file order.
    std::vector<std::string> SectionNames() const;

    // Sets the key, adding the section and the key as needed. Refuses (false)
    // names and values that cannot stand on one line of the file: line breaks
    // anywhere, '=' or a leading '[' or ';' in a key, ']' in a section name.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInt(std::string_view section, std::string_view key, int value);

    // Writes the text to the file (temporary file, flush, rename).
    bool Commit() const;
    std::string Text() const;
    const std::string& Path() const { return path_; }

private:
    enum class LineKind { kOther, kSection, kEntry };
    struct Line {
        std::string text;
        LineKind kind = LineKind::kOther;
        std::string name;   // section or key name, trimmed
        std::string value;  // trimmed, entries only
        std::string ending; // the line's own line end, empty for a last line without one
    };

    static Line Classify(std::string text);
    static bool SameName(std::string_view a, std::string_view b);
    static std::string Quoted(std::string_view value);
    // The index of the section's header line, or npos.
    std::size_t FindSection(std::string_view section) const;
    // The index of the key's line in the section that starts at header, or npos.
    std::size_t FindKey(std::size_t header, std::string_view key) const;
    const Line* FindEntry(std::string_view section, std::string_view key) const;

    std::string path_;
    std::vector<Line> lines_;
    std::string lineEnd_ = "\n";  // for new lines: the file's first line end
    bool hasByteOrderMark_ = false;
};

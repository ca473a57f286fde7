#pragma once

#include <string>
#include <vector>

// The text of a javac "@file": one argument a line, each in double quotes,
// so that blanks, quotes, '#' and '@' in paths mean nothing special. Inside
// quotes javac reads a backslash as an escape and ends an argument at a line
// end, so backslashes, double quotes and line ends are written escaped.
std::string ArgumentFileText(const std::vector<std::string>& arguments);

// A private temporary file (mode 0600, in $TMPDIR or /tmp) that holds the
// arguments, removed when this is destroyed. A path handed to a compiler
// must outlive the compile.
class TemporaryArgumentFile {
public:
    TemporaryArgumentFile() = default;
    ~TemporaryArgumentFile();
    TemporaryArgumentFile(const TemporaryArgumentFile&) = delete;
    TemporaryArgumentFile& operator=(const TemporaryArgumentFile&) = delete;

    // False with the reason when the file could not be written.
    bool Write(const std::vector<std::string>& arguments, std::string* failure);
    // Empty until written.
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

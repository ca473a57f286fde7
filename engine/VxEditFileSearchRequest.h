#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// What Find in Files looks for and where: the text (plain, or a pattern
// under the rules of Find), the folder, the file name patterns ("*.java"),
// whether subfolders count, and the current texts of the documents open in
// the editor, which are searched instead of their files.
struct VxEditFileSearchRequest {
    std::string text;
    bool matchCase = false;
    bool wholeWord = false;
    bool pattern = false;
    std::string folder;
    std::vector<std::string> fileTypes;
    bool subfolders = true;
    // Absolute path to the document's text, saved or not.
    std::map<std::string, std::string> openTexts;

    // "*.java;*.html" into its patterns; blanks around each are dropped.
    static std::vector<std::string> SplitFileTypes(const std::string& types);
};

// One line that holds a match: the file, the 1-based line number, the
// first match's byte column and length, and the line's text without its end.
struct VxEditFileMatch {
    std::string path;
    std::int64_t line = 0;
    std::int64_t column = 0;
    std::int64_t length = 0;
    std::string text;
};

// Counts of a finished (or stopped) search.
struct VxEditFileSearchSummary {
    std::int64_t matches = 0;         // lines with a match
    std::int64_t filesMatched = 0;
    std::int64_t filesSearched = 0;
    std::int64_t binarySkipped = 0;   // a NUL in the first 8 KiB
    std::int64_t unreadable = 0;      // files and folders that could not be read
    bool stopped = false;
    std::string patternError;         // set when the pattern does not compile
    // Lines the pattern was too complex for (matches on them may be
    // missing), and the first of them in file order.
    std::int64_t tooComplexLines = 0;
    std::string tooComplexPath;
    std::int64_t tooComplexLine = 0;  // 1-based
};

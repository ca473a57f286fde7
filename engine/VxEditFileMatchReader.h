#pragma once

#include "engine/VxEditFileSearchRequest.h"
#include "engine/VxEditLineMatcher.h"

#include <atomic>
#include <string>
#include <vector>

// Searches one file (or the text of its open document) with a line
// matcher, reading it in pieces of whole lines through a buffer that is
// kept from file to file.
class VxEditFileMatchReader {
public:
    enum class Outcome { Searched, Binary, Unreadable, Stopped };

    // How far into a file a NUL makes it binary.
    static constexpr std::size_t kBinaryProbe = 8192;

    VxEditFileMatchReader(VxEditLineMatcher& matcher, const std::atomic<bool>& stop);

    // Appends the file's matching lines to matches.
    Outcome Search(const std::string& path, std::vector<VxEditFileMatch>& matches);
    Outcome SearchText(const std::string& path, const std::string& text, std::vector<VxEditFileMatch>& matches);

    // The lines of the last file searched that the pattern was too complex
    // for (matches on them may be missing): how many, and the first one,
    // 1-based (0 for none).
    std::int64_t TooComplexLines() const { return tooComplexLines_; }
    std::int64_t FirstTooComplexLine() const { return firstTooComplex_; }

private:
    // Matches in whole lines [0, length) of the buffer, numbered from line_.
    void SearchLines(const char* text, std::size_t length, const std::string& path,
                     std::vector<VxEditFileMatch>& matches);

    VxEditLineMatcher& matcher_;
    const std::atomic<bool>& stop_;
    // Starts a file's counts afresh.
    void Begin();

    std::vector<char> buffer_;
    std::int64_t line_ = 0;
    std::int64_t tooComplexLines_ = 0;
    std::int64_t firstTooComplex_ = 0;
};

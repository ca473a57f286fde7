#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class VxEditKeywordTable;
class VxEditTextBuffer;

// One candidate of Complete Word: the word to put in and, for a class of
// the JDK, the package it lives in (empty for words and keywords).
struct VxEditCompletion {
    std::string word;
    std::string package;

    bool IsClass() const { return !package.empty(); }
    bool operator==(const VxEditCompletion&) const = default;
};

// Gathers the candidates that start with a prefix, case counting: the
// words of texts, a language's keywords and qualified class names. Texts
// are searched for the prefix itself (memmem over the store's two pieces),
// so a text costs a pass over its bytes and a look at each occurrence,
// never a split into words.
class VxEditWordCompleter {
public:
    // Longer runs of word bytes are no words anyone completes.
    static constexpr std::size_t kLongestWord = 256;

    explicit VxEditWordCompleter(std::string prefix) : prefix_(std::move(prefix)) {}

    const std::string& Prefix() const { return prefix_; }

    // The words of the text that start with the prefix.
    void AddWordsOf(const VxEditTextBuffer& text);
    void AddKeywords(const VxEditKeywordTable& keywords);
    void AddClass(std::string_view name, std::string_view package);

    // Sorted by word, then package. The prefix itself is no candidate, and
    // a plain word that names a class gives way to the class, whose choice
    // also brings its import.
    std::vector<VxEditCompletion> Candidates() const;

    // Letters, digits, '_', '$' and every byte of a multi-byte character.
    static bool IsWordByte(unsigned char byte);
    // Where the word that ends at column begins (column when none does).
    static std::size_t WordStartBefore(std::string_view line, std::size_t column);

private:
    void AddWordAt(const VxEditTextBuffer& text, std::int64_t offset, std::int64_t length);

    std::string prefix_;
    std::set<std::string, std::less<>> words_;
    std::vector<VxEditCompletion> classes_;
};

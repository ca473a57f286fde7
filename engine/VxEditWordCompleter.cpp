#include "engine/VxEditWordCompleter.h"

#include "engine/VxEditTextBuffer.h"
#include "language/VxEditKeywordTable.h"

#include <algorithm>
#include <cstring>
#include <tuple>

bool VxEditWordCompleter::IsWordByte(unsigned char byte)
{
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= '0' && byte <= '9') || byte == '_' || byte == '$' || byte >= 0x80;
}

std::size_t VxEditWordCompleter::WordStartBefore(std::string_view line, std::size_t column)
{
    column = std::min(column, line.size());
    while (column > 0 && IsWordByte(static_cast<unsigned char>(line[column - 1])))
        --column;
    return column;
}

// An occurrence of the prefix at offset: a word when no word byte stands
// before it; the word runs on across the store's gap.
void VxEditWordCompleter::AddWordAt(const VxEditTextBuffer& text, std::int64_t offset, std::int64_t length)
{
    if (offset > 0 && IsWordByte(static_cast<unsigned char>(text.CharAt(offset - 1))))
        return;
    std::int64_t end = offset + static_cast<std::int64_t>(prefix_.size());
    const std::int64_t limit = std::min<std::int64_t>(length, offset + kLongestWord + 1);
    while (end < limit && IsWordByte(static_cast<unsigned char>(text.CharAt(end))))
        ++end;
    if (end - offset > static_cast<std::int64_t>(kLongestWord))
        return;
    std::string word(static_cast<std::size_t>(end - offset), '\0');
    text.CopyOut(word.data(), offset, end - offset);
    words_.insert(std::move(word));
}

void VxEditWordCompleter::AddWordsOf(const VxEditTextBuffer& text)
{
    if (prefix_.empty())
        return;
    const std::int64_t length = text.Length();
    const auto prefixLength = static_cast<std::int64_t>(prefix_.size());
    std::int64_t pieceStart = 0;
    text.ForEachPiece(0, length, [&](const char* piece, std::ptrdiff_t count) {
        // An occurrence that straddles the gap: its start lies in the last
        // prefixLength - 1 bytes before this piece.
        for (std::int64_t at = std::max<std::int64_t>(0, pieceStart - prefixLength + 1);
             at < pieceStart && at + prefixLength <= length; ++at) {
            std::int64_t matched = 0;
            while (matched < prefixLength && text.CharAt(at + matched) == prefix_[matched])
                ++matched;
            if (matched == prefixLength)
                AddWordAt(text, at, length);
        }
        const char* from = piece;
        const char* end = piece + count;
        while (end - from >= prefixLength) {
            const void* hit = memmem(from, static_cast<std::size_t>(end - from), prefix_.data(), prefix_.size());
            if (!hit)
                break;
            const char* found = static_cast<const char*>(hit);
            AddWordAt(text, pieceStart + (found - piece), length);
            from = found + 1;
        }
        pieceStart += count;
    });
}

void VxEditWordCompleter::AddKeywords(const VxEditKeywordTable& keywords)
{
    for (const auto& [keyword, group] : keywords.Entries()) {
        if (keyword.starts_with(prefix_))
            words_.insert(keyword);
    }
}

void VxEditWordCompleter::AddClass(std::string_view name, std::string_view package)
{
    if (name.starts_with(prefix_) && !package.empty())
        classes_.push_back({std::string(name), std::string(package)});
}

std::vector<VxEditCompletion> VxEditWordCompleter::Candidates() const
{
    std::vector<VxEditCompletion> candidates = classes_;
    std::sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
        return std::tie(a.word, a.package) < std::tie(b.word, b.package);
    });
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
    const std::size_t classCount = candidates.size();
    for (const std::string& word : words_) {
        if (word == prefix_)
            continue;
        const auto named = std::lower_bound(candidates.begin(), candidates.begin() + classCount, word,
                                            [](const VxEditCompletion& c, const std::string& w) { return c.word < w; });
        if (named == candidates.begin() + classCount || named->word != word)
            candidates.push_back({word, {}});
    }
    std::inplace_merge(candidates.begin(), candidates.begin() + classCount, candidates.end(),
                       [](const auto& a, const auto& b) { return std::tie(a.word, a.package) < std::tie(b.word, b.package); });
    return candidates;
}

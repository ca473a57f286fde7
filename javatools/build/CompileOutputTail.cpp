#include "javatools/build/CompileOutputTail.h"

#include <algorithm>
#include <cstring>

namespace {

// Compaction moves the kept bytes to the front once this many lie unused
// before them and they are no more than the unused part.
constexpr std::size_t kCompactAt = std::size_t{64} << 10;

bool IsContinuation(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

std::string Grouped(std::uint64_t number)
{
    std::string digits = std::to_string(number);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, 1, ',');
    return digits;
}

}  // namespace

CompileOutputTail::CompileOutputTail(std::size_t keptLines, std::size_t keptBytes)
    : keptLines_(std::max<std::size_t>(keptLines, 1)), keptBytes_(keptBytes), ends_(keptLines_)
{
}

std::size_t CompileOutputTail::LineStart() const
{
    return count_ ? ends_[(first_ + count_ - 1) % ends_.size()] : head_;
}

std::size_t CompileOutputTail::End() const
{
    return base_ + buffer_.size();
}

void CompileOutputTail::Append(const char* bytes, std::size_t size)
{
    while (size > 0) {
        const std::size_t lineLength = End() - LineStart();
        const auto* newline = static_cast<const char*>(std::memchr(bytes, '\n', size));
        const std::size_t toNewline = newline ? static_cast<std::size_t>(newline - bytes) + 1 : size;
        const std::size_t content = toNewline - (newline ? 1 : 0);
        if (lineLength + content <= kLongestLine) {
            buffer_.append(bytes, toNewline);
            if (newline)
                EndLine();
            bytes += toNewline;
            size -= toNewline;
            continue;
        }
        // Too long for one line: its next piece ends here, before the
        // character that would cross the limit.
        std::size_t piece = kLongestLine - lineLength;
        while (piece > 0 && IsContinuation(bytes[piece]))
            --piece;
        if (piece == 0 && lineLength == 0)
            piece = kLongestLine;  // no characters to keep whole
        buffer_.append(bytes, piece);
        buffer_.push_back('\n');
        EndLine();
        bytes += piece;
        size -= piece;
    }
    if (End() > LineStart() && count_ + 1 > keptLines_)
        DropFirstLine();
    while (count_ > 0 && End() - head_ > keptBytes_)
        DropFirstLine();
    Compact();
}

void CompileOutputTail::EndLine()
{
    if (count_ == keptLines_)
        DropFirstLine();
    ends_[(first_ + count_) % ends_.size()] = End();
    ++count_;
}

void CompileOutputTail::DropFirstLine()
{
    head_ = ends_[first_];
    first_ = (first_ + 1) % ends_.size();
    --count_;
    ++dropped_;
}

void CompileOutputTail::Compact()
{
    const std::size_t unused = head_ - base_;
    if (unused < kCompactAt || unused < buffer_.size() - unused)
        return;
    buffer_.erase(0, unused);
    base_ = head_;
}

std::size_t CompileOutputTail::KeptLines() const
{
    return count_ + (End() > LineStart() ? 1 : 0);
}

std::string CompileOutputTail::Text() const
{
    std::string text = dropped_ ? DroppedNote(dropped_) : std::string();
    text.append(buffer_, head_ - base_, std::string::npos);
    return text;
}

std::string CompileOutputTail::DroppedNote(std::uint64_t lines)
{
    return "\xE2\x80\xA6 " + Grouped(lines) + (lines == 1 ? " earlier line" : " earlier lines") +
           " not shown.\r\n";
}

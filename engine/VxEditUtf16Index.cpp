#include "engine/VxEditUtf16Index.h"

#include "engine/VxEdit.h"
#include "engine/VxEditTextBuffer.h"
#include "engine/VxEditTextCommand.h"
#include "engine/VxEditUtf8.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr std::size_t kPiece = 1 << 16;

bool AllAscii(const char* bytes)
{
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    return (word & 0x8080808080808080ULL) == 0;
}

}  // namespace

VxEditUtf16Index::VxEditUtf16Index(VxEdit& model, std::int32_t blockLines)
    : model_(model), blockLines_(std::max(blockLines, 1))
{
}

VxEditTextBuffer& VxEditUtf16Index::Buffer() const
{
    return model_.TextBuffer();
}

std::int64_t VxEditUtf16Index::UnitsOf(const char* bytes, std::size_t length)
{
    std::int64_t units = 0;
    std::size_t at = 0;
    while (at < length) {
        while (at + 8 <= length && AllAscii(bytes + at)) {
            at += 8;
            units += 8;
        }
        if (at >= length)
            break;
        if (static_cast<unsigned char>(bytes[at]) < 0x80) {
            ++at;
            ++units;
            continue;
        }
        // Only a valid four-byte sequence lies above U+FFFF.
        const int size = VxEditUtf8::CharLength(bytes + at, length - at);
        units += size == 4 ? 2 : 1;
        at += static_cast<std::size_t>(size);
    }
    return units;
}

void VxEditUtf16Index::AppendUtf16(std::u16string& out, const char* bytes, std::size_t length)
{
    out.reserve(out.size() + length);
    for (std::size_t at = 0; at < length;) {
        int size = 1;
        const std::uint32_t code = VxEditUtf8::Decode(bytes + at, length - at, &size);
        if (code > 0xFFFF) {
            out.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
        at += static_cast<std::size_t>(size);
    }
}

std::int64_t VxEditUtf16Index::UnitsBetween(std::int64_t from, std::int64_t to) const
{
    std::array<char, kPiece> piece;
    std::int64_t units = 0;
    while (from < to) {
        const std::size_t length = static_cast<std::size_t>(std::min<std::int64_t>(to - from, kPiece));
        Buffer().CopyOut(piece.data(), from, static_cast<std::int64_t>(length));
        std::size_t counted = length;
        // A character cut by the piece's end is counted with the next piece.
        if (from + static_cast<std::int64_t>(length) < to) {
            const std::size_t start = VxEditUtf8::CharStart(piece.data(), length, length - 1);
            if (start + static_cast<std::size_t>(VxEditUtf8::ExpectedLength(
                             static_cast<unsigned char>(piece[start]))) > length)
                counted = start;
        }
        if (counted == 0)
            counted = length;
        units += UnitsOf(piece.data(), counted);
        from += static_cast<std::int64_t>(counted);
    }
    return units;
}

std::int64_t VxEditUtf16Index::LineEnd(std::int32_t line) const
{
    return line + 1 < Buffer().LineCount() ? Buffer().LineStart(line + 1) : Buffer().Length();
}

void VxEditUtf16Index::Ensure()
{
    if (!blocks_.empty() && lines_ == Buffer().LineCount())
        return;
    blocks_.clear();
    lines_ = Buffer().LineCount();
    for (std::int32_t line = 0; line < lines_; line += blockLines_)
        blocks_.push_back(Block{std::min(blockLines_, lines_ - line), 0, false});
}

void VxEditUtf16Index::Count(Block& block, std::int32_t firstLine)
{
    if (block.counted)
        return;
    block.units = UnitsBetween(Buffer().LineStart(firstLine), LineEnd(firstLine + block.lines - 1));
    block.counted = true;
}

std::size_t VxEditUtf16Index::BlockOf(std::int32_t line, std::int32_t& firstLine, std::int64_t& unitsBefore)
{
    firstLine = 0;
    unitsBefore = 0;
    for (std::size_t index = 0; index < blocks_.size(); ++index) {
        Block& block = blocks_[index];
        if (line < firstLine + block.lines || index + 1 == blocks_.size())
            return index;
        Count(block, firstLine);
        unitsBefore += block.units;
        firstLine += block.lines;
    }
    return 0;
}

std::int64_t VxEditUtf16Index::Units()
{
    Ensure();
    std::int64_t units = 0;
    std::int32_t firstLine = 0;
    for (Block& block : blocks_) {
        Count(block, firstLine);
        units += block.units;
        firstLine += block.lines;
    }
    return units;
}

std::int64_t VxEditUtf16Index::OffsetOf(VxEditLineCol position)
{
    Ensure();
    const std::int32_t line = std::clamp(position.line, 0, Buffer().LineCount() - 1);
    const std::int64_t start = Buffer().LineStart(line);
    std::int64_t end = Buffer().OffsetOf(line, std::max(position.column, 0));
    if (end < 0)  // a column past the line's text
        end = start + Buffer().LineContentLength(line);
    std::int32_t firstLine = 0;
    std::int64_t units = 0;
    BlockOf(line, firstLine, units);
    return units + UnitsBetween(Buffer().LineStart(firstLine), end);
}

VxEditLineCol VxEditUtf16Index::PositionAt(std::int64_t offset)
{
    Ensure();
    offset = std::max<std::int64_t>(offset, 0);
    std::int32_t firstLine = 0;
    std::int64_t before = 0;
    std::size_t index = 0;
    for (; index + 1 < blocks_.size(); ++index) {
        Count(blocks_[index], firstLine);
        if (offset < before + blocks_[index].units)
            break;
        before += blocks_[index].units;
        firstLine += blocks_[index].lines;
    }
    auto& buffer = Buffer();
    const std::int32_t lastLine = firstLine + blocks_[index].lines - 1;
    // A block of one unit a byte (no character outside ASCII, as in most
    // sources and logs) maps the offset to a byte straight away.
    const std::int64_t blockStart = buffer.LineStart(firstLine);
    if (blocks_[index].units == LineEnd(lastLine) - blockStart) {
        const std::int64_t byte = std::min(blockStart + (offset - before), LineEnd(lastLine));
        VxEditLineCol at = buffer.PositionOf(byte);
        if (at.line > lastLine)
            at = VxEditLineCol(lastLine, buffer.LineContentLength(lastLine));
        at.column = std::min(at.column, buffer.LineContentLength(at.line));
        return at;
    }
    for (std::int32_t line = firstLine; line <= lastLine; ++line) {
        const std::int64_t start = buffer.LineStart(line);
        const std::int64_t lineUnits = UnitsBetween(start, LineEnd(line));
        if (offset >= before + lineUnits && line < lastLine) {
            before += lineUnits;
            continue;
        }
        // Within this line: decode from its start up to the offset.
        const std::int32_t content = buffer.LineContentLength(line);
        std::string text(static_cast<std::size_t>(content), '\0');
        buffer.CopyOut(text.data(), start, content);
        std::int64_t units = before;
        std::size_t column = 0;
        while (column < text.size()) {
            const int size = VxEditUtf8::CharLength(text.data() + column, text.size() - column);
            const std::int64_t next = units + (size == 4 ? 2 : 1);
            if (next > offset)
                break;
            units = next;
            column += static_cast<std::size_t>(size);
        }
        return VxEditLineCol(line, static_cast<std::int32_t>(column));
    }
    return VxEditLineCol(lastLine, buffer.LineContentLength(lastLine));
}

void VxEditUtf16Index::LinesInserted(std::int32_t line, std::int32_t count)
{
    std::int32_t firstLine = 0;
    std::int64_t units = 0;
    Block& block = blocks_[BlockOf(line, firstLine, units)];
    block.lines += count;
    block.counted = false;
    lines_ += count;
    // A block grown large is split so that counting one stays cheap.
    if (block.lines > 4 * blockLines_) {
        const std::size_t index = static_cast<std::size_t>(&block - blocks_.data());
        std::vector<Block> parts;
        for (std::int32_t left = block.lines; left > 0; left -= blockLines_)
            parts.push_back(Block{std::min(blockLines_, left), 0, false});
        blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(index));
        blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(index), parts.begin(), parts.end());
    }
}

void VxEditUtf16Index::LinesRemoved(std::int32_t line, std::int32_t count)
{
    std::int32_t firstLine = 0;
    std::int64_t units = 0;
    std::size_t index = BlockOf(line, firstLine, units);
    blocks_[index].counted = false;
    // The lines after `line` go, from this block and the ones after it.
    std::int32_t after = firstLine + blocks_[index].lines - 1 - line;
    while (count > 0 && index < blocks_.size()) {
        Block& block = blocks_[index];
        const std::int32_t taken = std::min(count, after);
        block.lines -= taken;
        block.counted = false;
        count -= taken;
        lines_ -= taken;
        if (block.lines == 0) {
            blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(index));
        } else {
            ++index;
        }
        after = index < blocks_.size() ? blocks_[index].lines : 0;
    }
}

void VxEditUtf16Index::OnNewText()
{
    blocks_.clear();
}

void VxEditUtf16Index::OnTextCommand(const VxEditTextCommand& command)
{
    if (blocks_.empty())
        return;
    const VxEditLineColPair range = command.Range().Normalized();
    const std::int32_t lines = range.end.line - range.start.line;
    if (lines == 0) {
        std::int32_t firstLine = 0;
        std::int64_t units = 0;
        blocks_[BlockOf(range.start.line, firstLine, units)].counted = false;
    } else if (command.LastActionWasInsertion()) {
        LinesInserted(range.start.line, lines);
    } else {
        LinesRemoved(range.start.line, lines);
    }
    // Anything these steps did not foresee makes the blocks anew.
    if (lines_ != Buffer().LineCount())
        blocks_.clear();
}

#include "engine/VxEditTextBuffer.h"

#include "engine/VxEditFindRequest.h"
#include "engine/VxEditLineEnds.h"
#include "engine/VxEditPattern.h"
#include "engine/VxEditTextSearch.h"
#include "engine/VxEditUtf8.h"
#include "engine/VxEditWriteSink.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

VxEditTextBuffer::VxEditTextBuffer() = default;

VxEditTextBuffer::~VxEditTextBuffer() = default;

std::uint64_t VxEditTextBuffer::NextRevision()
{
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

int VxEditTextBuffer::InsertText(VxEditLineColPair& range, const char* bytes, std::int64_t length)
{
    Changed();
    const std::int64_t offset = OffsetOf(range.start.line, range.start.column);
    if (offset < 0)
        return -1;
    // A column just past a line's separator names the next line's start.
    range.start = PositionOf(offset);
    if (length < 0)
        length = static_cast<std::int64_t>(std::strlen(bytes));
    if (length == 0) {
        range.end = range.start;
        return 1;
    }
    text_.Insert(offset, bytes, length);
    IndexInserted(offset, bytes, length, range);
    return 1;
}

void VxEditTextBuffer::Appended(std::int64_t count, VxEditLineColPair& range)
{
    Changed();
    const std::int64_t offset = Length();
    range.start = PositionOf(offset);
    text_.Appended(count);
    if (count > 0)
        IndexInserted(offset, text_.RangePointer(offset, count), count, range);
    else
        range.end = range.start;
}

void VxEditTextBuffer::IndexInserted(std::int64_t offset, const char* bytes, std::int64_t length,
                                     VxEditLineColPair& range)
{
    const std::int32_t line = range.start.line;
    std::vector<std::int64_t>& starts = newStarts_;
    starts.clear();
    std::int64_t lineStart = lines_.Start(line);
    std::int64_t longest = 0;
    VxEditLineEnds::ForEach(bytes, length, separator_, [&](std::int64_t end) {
        const std::int64_t next = offset + end + 1;
        longest = std::max(longest, next - lineStart);
        starts.push_back(next);
        lineStart = next;
    });
    longestLine_ = std::max({longestLine_, longest, offset + length - lineStart});
    lines_.Shift(line, length);
    lines_.InsertLines(line, starts.data(), static_cast<std::int32_t>(starts.size()));

    if (starts.empty())
        range.end = VxEditLineCol(line, static_cast<std::int32_t>(range.start.column + length));
    else
        range.end = VxEditLineCol(line + static_cast<std::int32_t>(starts.size()),
                                  static_cast<std::int32_t>(offset + length - starts.back()));
}

int VxEditTextBuffer::DeleteRange(const VxEditLineColPair& requested)
{
    Changed();
    VxEditLineColPair range = requested.Normalized();
    if (range.end.line < 0 || range.end.line > LastLine() || range.start.line < 0)
        return 0;
    const std::int64_t from = OffsetOf(range.start.line, range.start.column);
    const std::int64_t to = OffsetOf(range.end.line, range.end.column);
    if (from < 0 || to < 0)
        return 0;
    if (to <= from)
        return 1;
    const std::int32_t startLine = PositionOf(from).line;
    const std::int32_t endLine = PositionOf(to).line;
    lines_.RemoveLines(startLine + 1, endLine - startLine);
    text_.Delete(from, to - from);
    lines_.Shift(startLine, -(to - from));
    return 1;
}

std::int64_t VxEditTextBuffer::LineStart(std::int32_t line) const
{
    if (line < 0 || line > LastLine())
        return -1;
    return lines_.Start(line);
}

std::int64_t VxEditTextBuffer::LineEnd(std::int32_t line) const
{
    return line < LastLine() ? lines_.Start(line + 1) : Length();
}

std::int64_t VxEditTextBuffer::LineFullLength(std::int32_t line) const
{
    if (line < 0 || line > LastLine())
        return -1;
    return LineEnd(line) - lines_.Start(line);
}

std::int32_t VxEditTextBuffer::LineContentLength(std::int32_t line)
{
    if (line < 0 || line > LastLine())
        return -1;
    const std::int64_t start = lines_.Start(line);
    std::int64_t end = LineEnd(line);
    // Every line but the last ends in its separator, and a CR right before
    // that belongs to the line end (CR LF). Any other CR is the line's own
    // content, shown as a mark of its own.
    if (line < LastLine()) {
        --end;
        if (carriage_ != 0 && end > start && text_.ValueAt(end - 1) == carriage_)
            --end;
    }
    return static_cast<std::int32_t>(end - start);
}

std::int64_t VxEditTextBuffer::OffsetOf(std::int32_t line, std::int64_t column) const
{
    if (line < 0 || line > LastLine() || column < 0)
        return -1;
    const std::int64_t start = lines_.Start(line);
    if (column > 0 && column > LineEnd(line) - start)
        return -1;
    return start + column;
}

VxEditLineCol VxEditTextBuffer::PositionOf(std::int64_t offset) const
{
    if (offset < 0 || offset > Length())
        return VxEditLineCol(-1, -1);
    const std::int32_t line = lines_.LineOf(offset);
    return VxEditLineCol(line, static_cast<std::int32_t>(offset - lines_.Start(line)));
}

const char* VxEditTextBuffer::PointerAt(std::int64_t offset, std::int64_t length)
{
    static const char kEmpty = 0;
    if (offset < 0 || length < 0 || offset + length > Length())
        return nullptr;
    const char* text = text_.RangePointer(offset, length);
    return text ? text : &kEmpty;
}

bool VxEditTextBuffer::RangeOffsets(std::int32_t startLine, std::int32_t startColumn,
                                    std::int32_t endLine, std::int32_t endColumn,
                                    std::int64_t& from, std::int64_t& to) const
{
    from = OffsetOf(startLine, startColumn);
    if (endLine == -1 && endColumn == -1)
        to = from < 0 ? -1 : LineEnd(startLine);
    else
        to = OffsetOf(endLine, endColumn);
    if (from < 0 || to < 0)
        return false;
    if (to < from)
        std::swap(from, to);
    return true;
}

bool VxEditTextBuffer::TextSpan(std::int32_t startLine, std::int32_t startColumn,
                                std::int32_t endLine, std::int32_t endColumn, const char*& text,
                                std::int64_t& length)
{
    std::int64_t from = 0;
    std::int64_t to = 0;
    if (!RangeOffsets(startLine, startColumn, endLine, endColumn, from, to))
        return false;
    length = to - from;
    text = PointerAt(from, length);
    return true;
}

bool VxEditTextBuffer::CopyText(std::string& text, std::int32_t startLine, std::int32_t startColumn,
                                std::int32_t endLine, std::int32_t endColumn) const
{
    std::int64_t from = 0;
    std::int64_t to = 0;
    if (!RangeOffsets(startLine, startColumn, endLine, endColumn, from, to))
        return false;
    text.resize(static_cast<std::size_t>(to - from));
    text_.CopyOut(text.data(), from, to - from);
    return true;
}

std::int64_t VxEditTextBuffer::Find(VxEditFindRequest& request)
{
    if (request.pattern && !pattern_)
        pattern_ = std::make_unique<VxEditPattern>();
    return VxEditTextSearch(*this, pattern_.get()).Find(request);
}

bool VxEditTextBuffer::IsWholeWordAt(std::int64_t offset, std::int64_t length) const
{
    return VxEditTextSearch::IsWholeWordAt(*this, offset, length);
}

bool VxEditTextBuffer::WriteText(VxEditWriteSink& sink, bool wide) const
{
    if (wide)
        return WriteWide(sink);
    bool ok = true;
    text_.ForEachPiece(0, Length(), [&](const char* piece, std::int64_t count) {
        for (std::int64_t done = 0; ok && done < count; done += kSliceSize)
            ok = sink.Write(piece + done, static_cast<std::size_t>(std::min(kSliceSize, count - done)));
    });
    return ok;
}

bool VxEditTextBuffer::WriteWide(VxEditWriteSink& sink) const
{
    static const char kByteOrderMark[] = {'\xFF', '\xFE'};
    if (!sink.Write(kByteOrderMark, 2))
        return false;
    std::string slice;
    std::string units;
    std::int64_t offset = 0;
    while (offset < Length()) {
        const std::int64_t count = std::min(kSliceSize, Length() - offset);
        slice.resize(static_cast<std::size_t>(count));
        text_.CopyOut(slice.data(), offset, count);
        // A character cut by the slice's end goes with the next slice.
        std::int64_t usable = count;
        if (offset + count < Length()) {
            for (std::int64_t back = 1; back <= 3 && back < count; ++back) {
                const auto byte = static_cast<unsigned char>(slice[count - back]);
                if (!VxEditUtf8::IsContinuation(byte)) {
                    if (VxEditUtf8::ExpectedLength(byte) > back)
                        usable = count - back;
                    break;
                }
            }
        }
        units.clear();
        for (std::int64_t i = 0; i < usable;) {
            int length = 0;
            std::uint32_t code = VxEditUtf8::Decode(slice.data() + i, usable - i, &length);
            if (length == 1 && code >= 0x80)
                code = 0xFFFD;
            auto put = [&units](std::uint32_t unit) {
                units += static_cast<char>(unit & 0xFF);
                units += static_cast<char>(unit >> 8);
            };
            if (code >= 0x10000) {
                put(0xD800 + ((code - 0x10000) >> 10));
                put(0xDC00 + ((code - 0x10000) & 0x3FF));
            } else {
                put(code);
            }
            i += length;
        }
        if (!sink.Write(units.data(), units.size()))
            return false;
        offset += usable;
    }
    return true;
}

#pragma once

#include "engine/VxEditGapVector_T.h"
#include "engine/VxEditLineColPair.h"
#include "engine/VxEditLineIndex.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class VxEditPattern;
class VxEditWriteSink;
struct VxEditFindRequest;

// The bytes of one text and its lines. A line ends after the line separator
// (LF); a carriage character (CR) right before it is part of that line end,
// and any other CR is an ordinary byte of its line's content. Every byte is
// kept as it is, NUL included. Offsets are byte offsets into the whole text;
// lines and columns are 0-based.
class VxEditTextBuffer {
public:
    // File writing and pattern search walk the text in slices of this size.
    static constexpr std::int64_t kSliceSize = 256000;

    VxEditTextBuffer();
    virtual ~VxEditTextBuffer();
    VxEditTextBuffer(const VxEditTextBuffer&) = delete;
    VxEditTextBuffer& operator=(const VxEditTextBuffer&) = delete;

    // Inserts at range.start (length -1: up to the first NUL); on return
    // range.end is just after the inserted text. 1, or -1 for an invalid start.
    int InsertText(VxEditLineColPair& range, const char* bytes, std::int64_t length);
    // Removes the bytes of the normalised range. 1 when both ends are valid
    // (also for an empty range), else 0.
    int DeleteRange(const VxEditLineColPair& range);

    std::int32_t LineCount() const { return lines_.Lines(); }
    std::int32_t LastLine() const { return lines_.Lines() - 1; }
    std::int64_t Length() const { return text_.Length(); }

    // -1 for a line past the end.
    std::int64_t LineStart(std::int32_t line) const;
    std::int64_t LineFullLength(std::int32_t line) const;
    std::int32_t LineContentLength(std::int32_t line);

    // -1 when the line is past the end or the column past the line's end.
    std::int64_t OffsetOf(std::int32_t line, std::int64_t column) const;
    // (-1, -1) for an offset outside [0, Length()].
    VxEditLineCol PositionOf(std::int64_t offset) const;

    // length contiguous bytes from offset on, valid until the next change.
    const char* PointerAt(std::int64_t offset, std::int64_t length);
    char CharAt(std::int64_t offset) const { return text_.ValueAt(offset); }
    // The text of a range as one contiguous piece; an end of (-1, -1) means
    // the end of the start line, line end included.
    bool TextSpan(std::int32_t startLine, std::int32_t startColumn, std::int32_t endLine,
                  std::int32_t endColumn, const char*& text, std::int64_t& length);
    bool CopyText(std::string& text, std::int32_t startLine, std::int32_t startColumn,
                  std::int32_t endLine, std::int32_t endColumn) const;
    void CopyOut(char* destination, std::int64_t offset, std::int64_t length) const
    {
        text_.CopyOut(destination, offset, length);
    }
    // The stored bytes of [from, to) as at most two contiguous pieces,
    // visit(const char* piece, std::ptrdiff_t count), without moving the gap.
    template <class Visit>
    void ForEachPiece(std::int64_t from, std::int64_t to, Visit&& visit) const
    {
        text_.ForEachPiece(from, to, std::forward<Visit>(visit));
    }
    // The first offset in [from, to) holding the byte, or to.
    std::int64_t FindByte(std::int64_t from, std::int64_t to, char byte) const
    {
        return text_.Find(from, to, byte);
    }
    // The first offset in [from, to) holding a or b, or to.
    std::int64_t FindEither(std::int64_t from, std::int64_t to, char a, char b) const
    {
        return text_.Find(from, text_.Find(from, to, a), b);
    }
    // The last offset in [from, to) holding a or b, or -1.
    std::int64_t FindLastEither(std::int64_t from, std::int64_t to, char a, char b) const
    {
        const std::int64_t last = text_.FindLast(from, to, a);
        const std::int64_t other = text_.FindLast(last < 0 ? from : last + 1, to, b);
        return other >= 0 ? other : last;
    }

    // The search primitive of find and replace; the match length, 0 when
    // nothing was found.
    std::int64_t Find(VxEditFindRequest& request);
    // The bytes at offset start a word and end one: each side is a line
    // boundary or a word delimiter.
    bool IsWholeWordAt(std::int64_t offset, std::int64_t length) const;

    // The whole text, in slices; the wide form writes FF FE and UTF-16LE.
    bool WriteText(VxEditWriteSink& sink, bool wide) const;

    char Separator() const { return separator_; }
    char Carriage() const { return carriage_; }
    void SetSeparator(char separator) { separator_ = separator; Changed(); }
    void SetCarriage(char carriage) { carriage_ = carriage; Changed(); }

    // Changes with every change of the text, and differs between any two
    // stores of a process: what was worked out from one revision of one
    // store can be kept for as long as the revision stays the same.
    std::uint64_t Revision() const { return revision_; }

    // Room for a text of this many bytes and lines, so that a load grows
    // nothing.
    void Reserve(std::int64_t bytes) { text_.Reserve(bytes); }
    void ReserveLines(std::int32_t lines) { lines_.Reserve(lines); }

    // Loading without a copy: room for up to length bytes at the end of the
    // text, written by the caller and taken in with Appended, which sets
    // range to the place they now fill.
    char* RoomAtEnd(std::int64_t length) { return text_.RoomAtEnd(length); }
    void Appended(std::int64_t count, VxEditLineColPair& range);
    // No line has been longer than this many bytes, line end included
    // (an upper bound: deletions do not lower it).
    std::int64_t LongestLineBound() const { return longestLine_; }

private:
    void Changed() { revision_ = NextRevision(); }
    static std::uint64_t NextRevision();

    std::int64_t LineEnd(std::int32_t line) const;
    bool RangeOffsets(std::int32_t startLine, std::int32_t startColumn, std::int32_t endLine,
                      std::int32_t endColumn, std::int64_t& from, std::int64_t& to) const;
    bool WriteWide(VxEditWriteSink& sink) const;
    // Brings the line index up to date with length bytes just inserted at
    // offset; range.start is their position, range.end is set.
    void IndexInserted(std::int64_t offset, const char* bytes, std::int64_t length,
                       VxEditLineColPair& range);

    VxEditGapVector_T<char> text_;
    VxEditLineIndex lines_;
    std::uint64_t revision_ = NextRevision();
    char separator_ = '\n';
    char carriage_ = '\r';
    std::vector<std::int64_t> newStarts_;  // scratch space of IndexInserted
    std::int64_t longestLine_ = 0;
    // The last pattern searched for, kept compiled while its text and case
    // setting stay the same, so a find-replace loop compiles it once.
    std::unique_ptr<VxEditPattern> pattern_;
};

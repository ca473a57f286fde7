#include "engine/VxEditIndentUnit.h"

#include "engine/VxEditTextBuffer.h"

namespace {

// The leading whitespace of one line, read byte by byte so that the text
// store's gap never moves.
struct LineShape {
    bool blank = true;     // nothing but whitespace on the line
    bool startsWithTab = false;
    bool spacesOnly = true;
    std::int32_t spaces = 0;
    bool endsWithBrace = false;  // the last byte that is not blank is "{"
};

bool IsBlankOrBreak(char byte, char separator)
{
    return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n' || byte == separator;
}

LineShape ReadLineShape(const VxEditTextBuffer& buffer, std::int32_t line)
{
    LineShape shape;
    const std::int64_t start = buffer.LineStart(line);
    const std::int64_t end = start + buffer.LineFullLength(line);
    for (std::int64_t at = start; at < end; ++at) {
        const char byte = buffer.CharAt(at);
        if (byte == ' ') {
            ++shape.spaces;
        } else if (byte == '\t') {
            shape.startsWithTab = shape.startsWithTab || at == start;
            shape.spacesOnly = false;
        } else {
            shape.blank = IsBlankOrBreak(byte, buffer.Separator());
            break;
        }
    }
    if (shape.blank)
        return shape;
    std::int64_t last = end - 1;
    while (last > start && IsBlankOrBreak(buffer.CharAt(last), buffer.Separator()))
        --last;
    shape.endsWithBrace = buffer.CharAt(last) == '{';
    return shape;
}

// Tallies of the steps of 2, 4 and 8 spaces. Two units at once are common
// (continuation lines), half a unit is rare: the unit is the smallest step
// that occurs at least half as often as the most frequent one.
struct StepTally {
    std::int32_t counts[3] = {};

    void Add(std::int32_t step)
    {
        if (step == 2)
            ++counts[0];
        else if (step == 4)
            ++counts[1];
        else if (step == 8)
            ++counts[2];
    }
    // 0 when no step was seen.
    int Unit() const
    {
        std::int32_t most = 0;
        for (std::int32_t count : counts)
            most = count > most ? count : most;
        for (int i = 0; most > 0 && i < 3; ++i) {
            if (2 * counts[i] >= most)
                return 2 << i;
        }
        return 0;
    }
};

}  // namespace

// A step into a block (the line before ends with "{") tells the unit best:
// continuation lines are often indented by two units. Other steps count
// only when no block shows one.
VxEditIndentUnit VxEditIndentUnit::Detect(const VxEditTextBuffer& buffer)
{
    // Unindented lines take part in the steps (a member one level below its
    // class), so they are read too, up to a bound of their own.
    constexpr std::int32_t kMaxLinesRead = 8 * kSampleLines;
    std::int32_t indented = 0;
    std::int32_t tabbed = 0;
    StepTally blockSteps;
    StepTally otherSteps;
    std::int32_t previous = -1;  // the last space-indented (or flush) width
    bool previousOpens = false;
    const std::int32_t lines = buffer.LineCount();
    for (std::int32_t line = 0; line < lines && line < kMaxLinesRead && indented < kSampleLines; ++line) {
        const LineShape shape = ReadLineShape(buffer, line);
        if (shape.blank)
            continue;
        if (shape.spaces > 0 || !shape.spacesOnly) {
            ++indented;
            if (shape.startsWithTab)
                ++tabbed;
        }
        if (!shape.spacesOnly) {
            previous = -1;
            continue;
        }
        if (previous >= 0) {
            const std::int32_t step = shape.spaces > previous ? shape.spaces - previous : previous - shape.spaces;
            (previousOpens && shape.spaces > previous ? blockSteps : otherSteps).Add(step);
        }
        previous = shape.spaces;
        previousOpens = shape.endsWithBrace;
    }

    VxEditIndentUnit unit;
    if (indented == 0)
        return unit;
    if (2 * tabbed > indented) {
        unit.kind = Kind::kTabs;
        return unit;
    }
    const int spaces = blockSteps.Unit() ? blockSteps.Unit() : otherSteps.Unit();
    if (spaces == 0)
        return unit;
    unit.kind = Kind::kSpaces;
    unit.spaces = spaces;
    return unit;
}

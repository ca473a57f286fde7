#include "controller/VxEditWordFinder.h"

#include "engine/VxEdit.h"
#include "engine/VxEditUtf8.h"
#include "language/VxEditLangConfig.h"

#include <algorithm>

namespace {

struct LineView {
    const char* text = nullptr;
    std::int32_t length = 0;
};

LineView TextOf(VxEdit& model, std::int32_t line)
{
    LineView view;
    model.LineText(line, view.text, view.length);
    return view;
}

}  // namespace

int VxEditWordFinder::ClassOf(std::uint32_t code, bool distinguishWhite) const
{
    if (code == ' ' || code == '\t')
        return distinguishWhite ? kWhite : kDelimiter;
    const VxEditLangConfig* config = model_.GetLangConfig();
    if (config && code <= 0xFFFF && config->IsInCharSet(code, IVxEditLangConfig::kDelimiters))
        return kDelimiter;
    return kWord;
}

int VxEditWordFinder::ClassAt(std::int32_t line, std::int32_t column, bool distinguishWhite) const
{
    const LineView view = TextOf(model_, line);
    if (column < 0 || column >= view.length)
        return -1;
    const std::uint32_t code =
        VxEditUtf8::Decode(view.text + column, static_cast<std::size_t>(view.length - column));
    return ClassOf(code, distinguishWhite);
}

std::int32_t VxEditWordFinder::PreviousCharStart(std::int32_t line, std::int32_t column) const
{
    const LineView view = TextOf(model_, line);
    column = std::min(column, view.length);
    if (column <= 0)
        return -1;
    return static_cast<std::int32_t>(VxEditUtf8::CharStart(
        view.text, static_cast<std::size_t>(view.length), static_cast<std::size_t>(column - 1)));
}

std::int32_t VxEditWordFinder::NextCharEnd(std::int32_t line, std::int32_t column) const
{
    const LineView view = TextOf(model_, line);
    if (column >= view.length)
        return column + 1;
    return column + VxEditUtf8::CharLength(view.text + column,
                                           static_cast<std::size_t>(view.length - column));
}

VxEditLineCol VxEditWordFinder::RunStartBefore(const VxEditLineCol& at, int* runClass) const
{
    const std::int32_t length = model_.LineLength(at.line);
    std::int32_t column = std::min(at.column, length);
    if (column <= 0) {
        if (runClass)
            *runClass = -1;
        if (at.line == 0)
            return VxEditLineCol(0, 0);
        return VxEditLineCol(at.line - 1, model_.LineLength(at.line - 1));
    }
    std::int32_t previous = PreviousCharStart(at.line, column);
    const int cls = ClassAt(at.line, previous, true);
    while (previous >= 0 && ClassAt(at.line, previous, true) == cls) {
        column = previous;
        previous = PreviousCharStart(at.line, column);
    }
    if (runClass)
        *runClass = cls;
    return VxEditLineCol(at.line, column);
}

VxEditLineCol VxEditWordFinder::RunEndAfter(const VxEditLineCol& at, int* runClass) const
{
    const std::int32_t length = model_.LineLength(at.line);
    std::int32_t column = std::min(at.column, length);
    if (column >= length) {
        if (runClass)
            *runClass = -1;
        if (at.line >= model_.LastLine())
            return VxEditLineCol(at.line, length);
        return VxEditLineCol(at.line + 1, 0);
    }
    const int cls = ClassAt(at.line, column, true);
    while (column < length && ClassAt(at.line, column, true) == cls)
        column = NextCharEnd(at.line, column);
    if (runClass)
        *runClass = cls;
    return VxEditLineCol(at.line, column);
}

VxEditLineCol VxEditWordFinder::WordLeftTarget(const VxEditLineCol& at) const
{
    int cls = 0;
    VxEditLineCol target = RunStartBefore(at, &cls);
    // A blank run or a line break alone is no word: go on to the word before.
    if (target.column > 0 && (cls == kWhite || target.line != at.line))
        target = RunStartBefore(target);
    return target;
}

VxEditLineCol VxEditWordFinder::WordRightTarget(const VxEditLineCol& at) const
{
    VxEditLineCol target = RunEndAfter(at);
    if (target.column < model_.LineLength(target.line) &&
        ClassAt(target.line, target.column, true) == kWhite)
        target = RunEndAfter(target);
    return target;
}

bool VxEditWordFinder::WordAt(const VxEditLineCol& at, VxEditLineCol& start, VxEditLineCol& end) const
{
    const LineView view = TextOf(model_, at.line);
    if (view.length == 0)
        return false;
    const std::int32_t column = std::min(at.column, view.length);

    bool hasLeft = false;
    bool hasRight = false;
    std::int32_t leftStart = column;
    std::int32_t rightEnd = column;
    const std::int32_t previous = PreviousCharStart(at.line, column);
    if (previous >= 0 && view.text[previous] != ' ') {
        hasLeft = true;
        leftStart = view.text[previous] == '\t' ? previous
                                                : RunStartBefore(VxEditLineCol(at.line, column)).column;
    }
    if (column < view.length && view.text[column] != ' ') {
        hasRight = true;
        rightEnd = view.text[column] == '\t' ? column + 1
                                             : RunEndAfter(VxEditLineCol(at.line, column)).column;
    }
    if (!hasLeft && !hasRight)
        return false;

    std::int32_t from = column;
    std::int32_t to = column;
    if (hasLeft && !hasRight) {
        from = leftStart;
    } else if (!hasLeft && hasRight) {
        to = rightEnd;
    } else if (ClassAt(at.line, previous, true) == kWord && ClassAt(at.line, column, true) == kWord) {
        from = leftStart;
        to = rightEnd;
    } else {
        to = ClassAt(at.line, column, true) == kDelimiter ? NextCharEnd(at.line, column) : rightEnd;
    }
    if (from == to)
        return false;
    start = VxEditLineCol(at.line, from);
    end = VxEditLineCol(at.line, to);
    return true;
}

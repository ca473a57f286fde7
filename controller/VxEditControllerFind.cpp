// Find and replace of VxEditController: the requests of the find and
// replace dialogs, the F3 keys and go to line.
#include "controller/VxEditController.h"

#include "controller/IVxEditFindDialog.h"
#include "controller/IVxEditView.h"
#include "controller/VxEditSearchState.h"
#include "engine/VxEdit.h"
#include "engine/VxEditCompositeGuard.h"
#include "engine/VxEditFindRequest.h"
#include "engine/VxEditTextBuffer.h"
#include "platform/core/MessageSeam.h"
#include "resources/CommandIds.h"

#include <algorithm>
#include <cstdio>
#include <limits>

using quillet::platform::MessageIcon;
using quillet::platform::ShowMessage;

namespace {

std::string WithText(const char* format, const std::string& text)
{
    std::string message(format);
    const std::size_t at = message.find("%1");
    if (at != std::string::npos)
        message.replace(at, 2, text);
    return message;
}

std::string WithNumber(const char* format, long long number)
{
    char text[160];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

constexpr const char* kCannotFind = "Cannot find the string '%1'.";
constexpr const char* kFinished = "Finished searching for '%1'.";
constexpr const char* kReadOnly = "Text is read-only. Cannot perform replace.";
constexpr const char* kLineTooLong = "Cannot replace text. Line would exceed %lld characters.";
constexpr const char* kSelectionReplaced = "The selection has been searched and %lld replacements were made.";
constexpr const char* kDocumentReplaced = "The document has been searched and %lld replacements were made.";
constexpr const char* kTooComplex = "The pattern is too complex for line %lld; some matches may be missing.";

std::string TooComplexText(std::int32_t line)
{
    return WithNumber(kTooComplex, static_cast<long long>(line) + 1);
}

// The first line a run of searches passed over because the pattern was too
// complex for it, or -1.
void NoteTooComplex(const VxEditFindRequest& request, std::int32_t& line)
{
    if (line < 0)
        line = request.tooComplexLine;
}

// A search for the state's text with its options, wrapping around.
VxEditFindRequest RequestFor(const VxEditSearchState& state, const VxEditLineCol& start, bool down)
{
    VxEditFindRequest request;
    request.start = start;
    request.text = state.findText;
    request.searchDown = down;
    request.wrapAround = true;
    request.matchCase = state.matchCase;
    request.wholeWord = state.wholeWord;
    request.pattern = state.pattern;
    return request;
}

}  // namespace

VxEditLineCol VxEditController::SearchPositionOf(const VxEditLineCol& position) const
{
    const std::int32_t line = std::clamp(position.line, 0, model_.LastLine());
    return VxEditLineCol(line, std::clamp(position.column, 0, std::max(model_.LineLength(line), 0)));
}

std::int64_t VxEditController::RunFind(VxEditFindRequest& request, bool& failed)
{
    const std::int64_t length = model_.Find(request);
    failed = !request.patternError.empty();
    if (failed) {
        ShowMessage("The regular expression '" + request.text + "' is not valid: " + request.patternError +
                    " (at offset " + std::to_string(request.patternErrorOffset) + ").");
    }
    return length;
}

VxEditLineCol VxEditController::MatchEnd(const VxEditLineCol& match, std::int64_t length) const
{
    const VxEditTextBuffer& buffer = model_.TextBuffer();
    return buffer.PositionOf(buffer.OffsetOf(match.line, match.column) + length);
}

int VxEditController::FindNext(const VxEditSearchState& state)
{
    return FindInDirection(state, state.searchDown);
}

int VxEditController::FindInDirection(const VxEditSearchState& state, bool down)
{
    // A pattern always runs forward, so it goes on from the selection's end
    // whichever way the search is set; else it would find the selection again.
    const bool fromEnd = down || state.pattern;
    VxEditLineCol start = caret_;
    if (HasSelection())
        start = fromEnd ? selection_.Normalized().end : selection_.Normalized().start;
    start = SearchPositionOf(start);
    if (state.findText != lastFound_)
        lastFoundValid_ = false;

    VxEditFindRequest request = RequestFor(state, start, down);
    bool failed = false;
    const std::int64_t length = RunFind(request, failed);
    if (failed)
        return 0;
    if (length > 0) {
        const VxEditLineCol end = MatchEnd(request.match, length);
        if (lastFoundValid_ && HasSelection() && selection_.Normalized().start == request.match &&
            selection_.Normalized().end == end) {
            ShowMessage(request.tooComplexLine >= 0 ? TooComplexText(request.tooComplexLine)
                                                    : WithText(kFinished, state.findText));
            return 0;
        }
        SetCaret(request.match.line, request.match.column);
        SetCaret(end.line, end.column);
        SetSelection(request.match, end, VxEditSelection::kStream);
        RevealCaret();
        lastFound_ = state.findText;
        lastFoundValid_ = true;
        // A match behind a line the pattern was too complex for: one on
        // that line may come first.
        if (request.tooComplexLine >= 0)
            ShowMessage(TooComplexText(request.tooComplexLine));
        return 1;
    }
    if (request.tooComplexLine >= 0)
        ShowMessage(TooComplexText(request.tooComplexLine));
    else
        ShowMessage(WithText(state.fromFindDialog ? kCannotFind : kFinished, state.findText));
    lastFoundValid_ = false;
    CancelSelection();
    return 0;
}

bool VxEditController::SelectionIsMatch(const VxEditSearchState& state)
{
    if (!HasSelection() || selection_.IsColumn() || selection_.FirstLine() != selection_.LastLine())
        return false;
    const VxEditLineColPair range = StreamRange();
    VxEditFindRequest request = RequestFor(state, range.start, true);
    request.end = range.end;
    const std::int64_t length = model_.Find(request);
    return length > 0 && request.match == range.start && MatchEnd(request.match, length) == range.end;
}

std::string VxEditController::Replacement(VxEditSearchState& state, const std::string& matched)
{
    if (!state.pattern)
        return state.replaceText;
    VxEditPattern& pattern = state.ReplacePattern();
    pattern.SetPattern(state.findText);
    pattern.SetIgnoreCase(!state.matchCase);
    // The expansion counts whenever the pattern matches the matched text on
    // its own, also when it gives that text back ("$&").
    std::string result;
    return pattern.ReplaceFirst(matched, state.replaceText, result) ? result : state.replaceText;
}

bool VxEditController::ReplacementFits(const VxEditLineCol& start, const VxEditLineCol& end,
                                       const std::string& replacement)
{
    std::string before;
    std::string after;
    if (!model_.CopyText(before, start.line, 0, start.line, start.column) ||
        !model_.CopyText(after, end.line, end.column, end.line, std::max(model_.LineLength(end.line), end.column)))
        return true;
    const std::string lines = before + replacement + after;
    const int tabSize = model_.TabSize();
    std::size_t from = 0;
    for (;;) {
        std::size_t to = lines.find('\n', from);
        const bool last = to == std::string::npos;
        if (last)
            to = lines.size();
        std::size_t content = to;
        if (content > from && lines[content - 1] == '\r')
            --content;
        const auto length = static_cast<std::int32_t>(content - from);
        if (VxEdit::CharToDisplayColIn(lines.data() + from, length, length, tabSize) > model_.GetMaxLineLength())
            return false;
        if (last)
            return true;
        from = to + 1;
    }
}

int VxEditController::ReplaceOne(VxEditSearchState& state)
{
    if (readOnly_) {
        ShowMessage(kReadOnly);
        return 0;
    }
    const VxEditLineCol start = SearchPositionOf(HasSelection() ? selection_.Normalized().start : caret_);
    VxEditFindRequest request = RequestFor(state, start, true);
    bool failed = false;
    const std::int64_t length = RunFind(request, failed);
    if (failed)
        return 0;
    if (length == 0) {
        ShowMessage(request.tooComplexLine >= 0 ? TooComplexText(request.tooComplexLine)
                                                : WithText(kFinished, state.findText));
        return 0;
    }
    const VxEditLineCol end = MatchEnd(request.match, length);
    SetSelection(request.match, end, VxEditSelection::kStream);
    SetCaret(end.line, end.column);
    std::string matched;
    model_.CopyText(matched, request.match.line, request.match.column, end.line, end.column);
    const std::string replacement = Replacement(state, matched);
    if (!ReplacementFits(request.match, end, replacement)) {
        ShowMessage(WithNumber(kLineTooLong, model_.GetMaxLineLength()));
        return 0;
    }
    StopMerging();
    PasteText(replacement, false);
    // The next match is selected, ready for the next Replace.
    FindNext(state);
    return 1;
}

int VxEditController::ReplaceAll(VxEditSearchState& state)
{
    if (readOnly_) {
        ShowMessage(kReadOnly);
        return 0;
    }
    const bool inSelection = state.inSelection && HasSelection() && !selection_.IsColumn();
    VxEditTextBuffer& buffer = model_.TextBuffer();
    const auto offsetOf = [&buffer](const VxEditLineCol& at) { return buffer.OffsetOf(at.line, at.column); };
    const VxEditLineColPair range = StreamRange();
    // Offsets: replacements before them move them by the change in length;
    // a replacement starting at one leaves it where the replaced text starts.
    std::int64_t start = offsetOf(HasSelection() ? range.start : SearchPositionOf(caret_));
    std::int64_t selectionEnd = inSelection ? offsetOf(range.end) : start;
    std::int64_t first = -1;
    std::int64_t position = start;
    bool firstWrapped = false;
    bool wrapped = false;
    bool failed = false;
    std::int64_t count = 0;
    std::int32_t tooComplex = -1;
    VxEditLineCol caretAfter = caret_;

    StopMerging();
    LockRedraw();
    {
        OwnEdit edit(*this);
        VxEditCompositeGuard group(model_);
        for (;;) {
            VxEditFindRequest request = RequestFor(state, buffer.PositionOf(position), true);
            request.end = buffer.PositionOf(inSelection ? selectionEnd : start);
            const std::int64_t length = RunFind(request, failed);
            NoteTooComplex(request, tooComplex);
            if (length == 0 || failed)
                break;
            const std::int64_t match = offsetOf(request.match);
            if (inSelection && match + length > selectionEnd)
                break;
            if (match < position) {
                if (first < 0)
                    firstWrapped = true;
                wrapped = true;
            }
            if (first < 0)
                first = match;
            else if (wrapped && !firstWrapped && match >= first)
                break;
            const VxEditLineCol end = buffer.PositionOf(match + length);
            std::string matched;
            model_.CopyText(matched, request.match.line, request.match.column, end.line, end.column);
            const std::string replacement = Replacement(state, matched);
            if (!ReplacementFits(request.match, end, replacement)) {
                ShowMessage(WithNumber(kLineTooLong, model_.GetMaxLineLength()));
                break;
            }
            model_.DeleteRange(request.match.line, request.match.column, end.line, end.column);
            VxEditLineColPair inserted(request.match, request.match);
            if (!replacement.empty())
                model_.InsertAt(inserted, replacement.data(), static_cast<std::int64_t>(replacement.size()));
            caretAfter = inserted.end;
            const std::int64_t change = static_cast<std::int64_t>(replacement.size()) - length;
            for (std::int64_t* kept : {&start, &first, &selectionEnd}) {
                if (*kept > match)
                    *kept = std::max(*kept + change, match);
            }
            position = offsetOf(inserted.end);
            ++count;
            if (inSelection && position >= selectionEnd)
                break;
        }
    }
    CancelSelection();
    SetCaret(caretAfter.line, caretAfter.column);
    UnlockRedraw();
    if (failed)
        return 0;
    if (count == 0) {
        ShowMessage(tooComplex >= 0 ? TooComplexText(tooComplex) : WithText(kFinished, state.findText));
        return 0;
    }
    std::string done = WithNumber(inSelection ? kSelectionReplaced : kDocumentReplaced, count);
    if (tooComplex >= 0)
        done += " " + TooComplexText(tooComplex);
    ShowMessage(done, quillet::platform::MessageButtons::Ok,
                tooComplex >= 0 ? MessageIcon::Warning : MessageIcon::None);
    return 1;
}

int VxEditController::MarkAll(const VxEditSearchState& state)
{
    // A pattern runs forward whichever way the search is set.
    const bool down = state.searchDown || state.pattern;
    VxEditLineCol start = caret_;
    if (HasSelection())
        start = down ? selection_.Normalized().start : selection_.Normalized().end;
    start = SearchPositionOf(start);
    const std::int32_t last = model_.LastLine();
    std::int32_t firstLine = -1;
    std::int32_t tooComplex = -1;
    bool failed = false;
    VxEditLineCol position = start;
    // Each round marks another line, so the text's line count bounds the loop.
    for (std::int32_t round = 0; round <= last; ++round) {
        VxEditFindRequest request = RequestFor(state, position, down);
        request.end = start;
        const std::int64_t length = RunFind(request, failed);
        NoteTooComplex(request, tooComplex);
        if (length == 0 || failed)
            break;
        const std::int32_t line = request.match.line;
        if (line == firstLine)
            break;
        if (firstLine < 0)
            firstLine = line;
        model_.SetMark(line, VxEdit::kMarkBookmark, true);
        if (down)
            position = line == last ? VxEditLineCol(0, 0) : VxEditLineCol(line + 1, 0);
        else if (line == 0)
            position = VxEditLineCol(last, std::max(model_.LineLength(last), 0));
        else
            position = VxEditLineCol(line - 1, std::max(model_.LineLength(line - 1), 0));
    }
    if (failed)
        return 0;
    if (firstLine < 0) {
        ShowMessage(tooComplex >= 0 ? TooComplexText(tooComplex) : WithText(kCannotFind, state.findText));
        return 0;
    }
    CancelSelection();
    SetCaret(firstLine, 0);
    RevealCaret();
    if (tooComplex >= 0)
        ShowMessage(TooComplexText(tooComplex));
    return 1;
}

int VxEditController::OnFindReplaceRequest(int code, const VxEditFindDialogValues& values)
{
    VxEditSearchState& state = VxEditSearchState::ForThread();
    if (code == kRequestClose) {
        state.openDialog = nullptr;
        state.owner = nullptr;
        return 1;
    }
    quillet::platform::WaitCursor wait;
    state.searchDown = values.fromFindDialog ? values.searchDown : true;
    state.matchCase = values.matchCase;
    state.wholeWord = values.wholeWord;
    state.findText = values.findText;
    state.replaceText = values.replaceText;
    state.inSelection = !values.fromFindDialog && values.inSelection;
    state.fromFindDialog = values.fromFindDialog;
    state.pattern = values.pattern && state.patternAvailable;
    switch (code) {
    case kRequestFindNext:
        return FindNext(state);
    case kRequestMarkAll:
        return MarkAll(state);
    case kRequestReplace:
        return SelectionIsMatch(state) ? ReplaceOne(state) : FindNext(state);
    case kRequestReplaceAll:
        return ReplaceAll(state);
    default:
        return 0;
    }
}

std::string VxEditController::FindTextPreset()
{
    std::string text;
    if (HasSelection() && !selection_.IsColumn() && selection_.FirstLine() == selection_.LastLine()) {
        text = SelectionText();
        if (!text.empty())
            return text;
    }
    return WordAtCaret();
}

std::string VxEditController::WordAtCaret()
{
    VxEditLineCol start;
    VxEditLineCol end;
    std::string word;
    if (words_.WordAt(caret_, start, end) && start != end)
        model_.CopyText(word, start.line, start.column, end.line, end.column);
    return word;
}

void VxEditController::FindCommand(int id)
{
    VxEditSearchState& state = VxEditSearchState::ForThread();
    if (state.openDialog) {
        state.openDialog->Activate();
        return;
    }
    const bool down = id == cmd::kFindNext || id == cmd::kFindNextWord;
    if (id == cmd::kFindNextWord || id == cmd::kFindPreviousWord) {
        const std::string word = WordAtCaret();
        if (word.empty()) {
            view_.PostCommand(cmd::kEditFind);
            return;
        }
        state.findText = word;
    } else if (state.findText.empty()) {
        state.findText = WordAtCaret();
        if (state.findText.empty())
            return;
    }
    VxEditSearchState::AddToHistory(state.findHistory, state.findText);
    FindInDirection(state, down);
}

void VxEditController::GotoLine(std::int64_t number)
{
    const auto line = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(number - 1, 0, model_.LastLine()));
    LockRedraw();
    CancelSelection();
    SetCaret(line, 0);
    RevealCaret();
    UnlockRedraw();
}

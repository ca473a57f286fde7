#pragma once

#include "controller/IVxEditView.h"
#include "controller/VxEditSelection.h"
#include "controller/VxEditWordFinder.h"
#include "engine/VxEditLineColPair.h"
#include "mvc/CMvcCommand.h"
#include "mvc/ICommandTarget.h"
#include "mvc/IObserver.h"
#include "mvc/IRefCount.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class IVxEditClipboard;
class VxEdit;
class VxEditSearchState;
struct VxEditFindDialogValues;
struct VxEditFindRequest;
class VxEditLangConfig;
class VxEditTextCommand;

// Turns the commands and typed text aimed at one edit window into caret
// moves, selections and edits of the window's text model, and keeps the
// caret and the view in step. It observes the model; it asks its view for
// measures and scrolling through IVxEditView and never draws.
//
// The implementation is split by concern: VxEditController.cpp (state,
// caret, selection, notifications, command dispatch),
// VxEditControllerMoves.cpp (caret movement), VxEditControllerEditing.cpp
// (typing and the editing keys), VxEditControllerIndent.cpp (auto-indent
// and indentation that follows braces), VxEditControllerClipboard.cpp,
// VxEditControllerFind.cpp (find, replace, go to line) and
// VxEditControllerMarks.cpp (the marker commands).
class VxEditController : public tarrow::foundation::IObserver,
                         public tarrow::foundation::ICommandTarget {
public:
    // Margin styles: the selection margin and the engine's line-number margin.
    static constexpr int kMarginStyleNumbers = 45310;
    static constexpr int kMarginStyleNone = 45313;
    static constexpr int kMarginStyleSelection = 45314;
    static constexpr int kSelectionMarginWidth = 20;

    // Modifier keys held with a mouse button.
    enum MouseKeys { kKeyShift = 1, kKeyCtrl = 2, kKeyAlt = 4 };
    // The cursor shape over a point of the window.
    enum class MouseCursor { kIBeam, kArrow, kMargin };
    // The timer that keeps a held button selecting while the mouse is
    // outside the window.
    static constexpr int kAutoScrollTimer = 45000;
    static constexpr int kAutoScrollPeriod = 100;

    VxEditController(VxEdit& model, IVxEditView& view, IVxEditClipboard& clipboard);
    ~VxEditController() override;
    VxEditController(const VxEditController&) = delete;
    VxEditController& operator=(const VxEditController&) = delete;

    // ICommandTarget: the edit keys, the clipboard, undo and redo.
    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, tarrow::foundation::CommandState& state) override;
    // The character handler: typed text and input-method commits.
    void TypeText(std::string_view text);

    void Update(tarrow::foundation::ISubject* subject, tarrow::foundation::IMessage* message) override;

    VxEdit& GetModel() const { return model_; }
    IVxEditView& GetView() const { return view_; }
    VxEditLangConfig* GetLangConfig() const;

    // Caret and selection.
    const VxEditLineCol& Caret() const { return caret_; }
    // The caret's top-left point in document coordinates.
    int CaretX() const { return caretX_; }
    int CaretY() const { return caretY_; }
    void SetCaret(std::int32_t line, std::int32_t column, bool keepPreferredX = false);
    void SetCaretFromPoint(int x, int y);
    const VxEditSelection& Selection() const { return selection_; }
    bool HasSelection() const { return !selection_.IsEmpty(); }
    void SetSelection(const VxEditLineCol& anchor, const VxEditLineCol& active, int mode);
    void CancelSelection();
    // The byte columns [start, end) that a column selection covers on a line
    // (end may lie past the line's end); false when the line is outside it.
    bool ColumnSpan(std::int32_t line, std::int32_t& start, std::int32_t& end);
    // The display columns [left, right) of a column selection.
    void ColumnDisplayRange(std::int32_t& left, std::int32_t& right);

    // Overwrite mode is the text model's, shared by every window on it; a
    // change is announced to all of them with kMsgOverwriteChanged.
    bool IsOverwrite() const;
    void SetOverwrite(bool overwrite);
    bool IsReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool VirtualSpaceAllowed() const;

    // The position under a point in document coordinates; x receives the
    // point snapped to the position found.
    VxEditLineCol PointToPosition(int& x, int& y, bool allowVirtual, bool printing = false);
    // The position's point in document coordinates.
    int PositionX(const VxEditLineCol& position);
    // The cell advance by which a line of this length is measured, or 0
    // when it is measured through the view's text extents.
    double LongLineCell(std::int32_t length) const;

    // The bracket next to the caret and its partner, for painting both;
    // false when there is no bracket there or it has no partner in reach.
    bool MatchedBraces(VxEditLineCol& bracket, VxEditLineCol& partner);
    // The pair found when the caret last moved, which the painter marks.
    bool HighlightedBraces(VxEditLineCol& bracket, VxEditLineCol& partner) const
    {
        bracket = braces_[0];
        partner = braces_[1];
        return hasBraces_;
    }

    // The window got the focus: the caret's line is remembered as the one
    // that the next line-leave notification reports when the caret leaves it.
    void OnFocusIn();

    void LockRedraw() { ++redrawLock_; }
    void UnlockRedraw();
    void EnsureCaretVisible();
    // After a jump (go to line, a declaration, an error, a match, a far
    // brace): a caret line outside the window is scrolled to a third of the
    // way down, so that what leads to it shows above; a line in sight stays.
    void RevealCaret();
    void ScrollLines(int lines);

    // The left margin in pixels and its style.
    virtual int MarginWidth() const;
    int GetMarginStyle() const { return marginStyle_; }
    void SetMarginStyle(int style);
    // A fixed width for the engine's line-number margin; 0 sizes it to the
    // line count's digits.
    void SetNumberMarginWidth(int width);
    // A line label for the margin; empty in the engine.
    virtual std::string LineLabel(std::int32_t line) const { return {}; }

    // The selection text as the clipboard gets it (column rows end in LF).
    std::string SelectionText();
    // Replaces the selection with the text, or inserts it at the caret
    // (filling virtual space first), as one undo step; the caret follows it.
    void InsertBlock(std::string_view text);

    // Complete Word (VxEditControllerCompletion.cpp): the word that ends at
    // the caret, and where it starts on the caret's line.
    std::string WordBeforeCaret(VxEditLineCol& start);
    // Where an import goes in the text as it is once the word is in: false
    // or an empty text when none is needed.
    using CompletionImport = std::function<bool(VxEditLineCol& at, std::string& text)>;
    // Puts word in place of the text from start to the caret, then the
    // import, as one undo step; the caret ends behind the word.
    void CompleteWord(const VxEditLineCol& start, std::string_view word,
                      const CompletionImport& placeImport = {});

    // Find and replace. Each tells the user what it found or why it could
    // not, and returns 1 when it found, replaced or marked something, else 0.
    int FindNext(const VxEditSearchState& state);
    int ReplaceOne(VxEditSearchState& state);
    // One undo step for all replacements.
    int ReplaceAll(VxEditSearchState& state);
    // Bookmarks every line with a match.
    int MarkAll(const VxEditSearchState& state);
    // Whether the selection is exactly one match.
    bool SelectionIsMatch(const VxEditSearchState& state);
    // The requests of the find and replace dialogs; the dialog's values go
    // into the thread's search state first (except on closing).
    enum FindRequest {
        kRequestClose = 0,
        kRequestFindNext = 1,
        kRequestMarkAll = 2,
        kRequestReplace = 3,
        kRequestReplaceAll = 4
    };
    int OnFindReplaceRequest(int code, const VxEditFindDialogValues& values);
    // The text a find dialog opens with: the selection when it lies within
    // one line, else the word at the caret.
    std::string FindTextPreset();
    std::string WordAtCaret();
    // Goes to a 1-based line number (clamped to the text), revealed as
    // every jump is, caret at its start.
    void GotoLine(std::int64_t number);

    // The mouse, with points in window coordinates: the left margin starts
    // at x = 0, the text area at MarginWidth().
    void OnLButtonDown(int x, int y, int keys);
    void OnMouseMove(int x, int y);
    void OnLButtonUp(int x, int y);
    void OnLButtonDblClk(int x, int y, int keys);
    // The window lost the mouse or the focus: a drag ends as on button-up.
    void OnCaptureLost();
    void OnTimer(int id);
    bool IsCaptured() const { return captured_; }
    // The button went down inside the selection and has not yet moved far
    // enough to drag it.
    bool IsDragPending() const { return dragPending_; }
    MouseCursor CursorAt(int x, int y);
    bool PointInSelection(int x, int y);
    // A right click opening the context menu: outside the selection it
    // cancels the selection and moves the caret there.
    void OnRightClick(int x, int y);

    // Text dragged over or dropped on this window. DragOver moves the caret
    // to the drop position and tells whether a drop would be taken; Drop
    // inserts the text there and selects it, returning the effect done;
    // DragLeave puts the caret and the selection back as they were before
    // the drag came over the window.
    bool DragOver(int x, int y);
    void DragLeave();
    IVxEditView::DropEffect Drop(int x, int y, const std::string& text, bool column, bool copy);
    // Text is being dragged over this window: its caret shows the drop
    // position even without the focus.
    bool IsDropTarget() const { return dropTarget_; }

protected:
    // The caret or the overwrite state changed; the status display follows.
    virtual void OnCaretChanged() {}
    virtual void OnOverwriteChanged() {}
    // The caret left a line; changed tells whether it carries the
    // changed-line mark. True lets the mark be cleared.
    virtual bool OnLineLeft(std::int32_t line, bool changed);

    // Runs an edit of the controller's own: observers of the model see it,
    // the controller itself does not follow it as a foreign edit.
    class OwnEdit {
    public:
        explicit OwnEdit(VxEditController& controller);
        ~OwnEdit();

    private:
        VxEditController& controller_;
    };

    bool CanEdit() const;
    void CaretUpdated();

private:
    // VxEditController.cpp
    void Reset();
    void FollowForeignEdit(tarrow::foundation::IMessage* message);
    void InvalidateSelection(const VxEditSelection& before);
    void AfterUndoRedo(tarrow::foundation::CMvcCommand* command, bool undo);
    void LineLeftNotification();
    bool DispatchMove(int id);
    bool DispatchEdit(int id);
    static bool IsMoveCommand(int id);
    static bool IsEditCommand(int id);

    // VxEditControllerBraces.cpp: Ctrl+] moves to the partner, with Shift
    // selects to it.
    void GoToMatchingBrace(bool select);
    // Finds the pair at the caret again and repaints the lines of the old
    // and the new pair.
    void RefreshBraces();

    // VxEditControllerFind.cpp
    int FindInDirection(const VxEditSearchState& state, bool down);
    // F3, Shift+F3, Ctrl+F3 and Ctrl+Shift+F3.
    void FindCommand(int id);
    // Runs a search; a pattern that does not compile is reported and sets
    // failed.
    std::int64_t RunFind(VxEditFindRequest& request, bool& failed);
    VxEditLineCol MatchEnd(const VxEditLineCol& match, std::int64_t length) const;
    // The position within the text: caret positions in virtual space
    // search from their line's end.
    VxEditLineCol SearchPositionOf(const VxEditLineCol& position) const;
    std::string Replacement(VxEditSearchState& state, const std::string& matched);
    // Whether the lines stay within the maximum length with the range
    // replaced.
    bool ReplacementFits(const VxEditLineCol& start, const VxEditLineCol& end, const std::string& replacement);

    // VxEditControllerMarks.cpp
    bool DispatchMarker(int id);
    bool UpdateMarker(int id, tarrow::foundation::CommandState& state);

    // VxEditControllerMouse.cpp
    int DocumentX(int x) const;
    int DocumentY(int y) const;
    std::int32_t LineAtY(int y) const;
    VxEditLineCol LineEnd(std::int32_t line) const;
    void SelectLines(std::int32_t anchorLine, std::int32_t line);
    void StartCapture(int x, int y);
    void MarginButtonDown(int x, int y, int keys);
    void TextButtonDown(int x, int y, int keys);

    // VxEditControllerDrag.cpp
    void DragSelection(int x, int y);
    void MoveOrCopyHere(VxEditLineCol target, const std::string& text, bool column, bool copy);
    void SelectDropped(const VxEditLineCol& at, const VxEditLineCol& end, const std::string& text,
                       bool column);
    // Whether a position lies on the selection, its edges included.
    bool OnSelection(const VxEditLineCol& position);

    // VxEditControllerMoves.cpp
    void MoveTo(const VxEditLineCol& target, bool extend, bool setPreferredX);
    void ExtendSelectionTo(const VxEditLineCol& target, bool setPreferredX);
    void ExtendColumnSelection(int id);
    VxEditLineCol CharLeftTarget() const;
    VxEditLineCol CharRightTarget() const;
    VxEditLineCol VerticalTarget(int lines);
    VxEditLineCol SmartHomeTarget() const;
    void VerticalMove(int lines, bool extend);
    void PageMove(int direction, bool extend);
    void ScrollLineKey(int direction);
    void SelectAll();
    void SelectWord();

    // VxEditControllerEditing.cpp
    void TypeChar(std::string_view character);
    void TypeMerged(std::string_view character);
    void PadForTyping(std::string_view character);
    VxEditLineCol InsertText(const VxEditLineCol& at, std::string_view text);
    VxEditLineCol PadToCaret();
    void ReplaceSelection(std::string_view text);
    void Return();
    void Tab();
    void BackTab();
    void Backspace();
    void Delete();
    void DeleteWord(bool left);
    void Lines(bool cut);
    void ChangeCase(bool upper);
    void ToggleWhitespace();
    void MakeLineSelection();
    std::string LineBreak() const;
    void StopMerging() { lastTyping_.Reset(); }

    // VxEditControllerIndent.cpp
    bool IndentsByBraces() const;
    void AutoIndent(std::int32_t keptIndent);
    void OpenBlock(std::int32_t outer);
    void PlaceCaretInVirtualSpace(std::int32_t width);
    // Only blanks stand before the caret on its line.
    bool StartsLineAtCaret() const;
    void TypeClosingBrace();

    // VxEditControllerClipboard.cpp
    // A stream selection's range with each end limited to its line's text,
    // so that an end in virtual space reads as the line's end.
    VxEditLineColPair StreamRange() const;
    void Copy();
    void CopyAsHtml();
    void Cut();
    void Paste();
    VxEditLineCol DeleteSelection();
    // Deletes the selection and puts the caret where it began.
    void DeleteSelectionToCaret();
    void PasteText(const std::string& text, bool column);
    void PasteColumnBlock(const VxEditLineCol& at, const std::string& text);

    std::int32_t DisplayOf(const VxEditLineCol& position);
    std::int32_t ColumnAtDisplay(std::int32_t line, std::int32_t display);

    VxEdit& model_;
    IVxEditView& view_;
    IVxEditClipboard& clipboard_;
    VxEditWordFinder words_;

    VxEditLineCol caret_;
    int caretX_ = 0;
    int caretY_ = 0;
    int preferredX_ = 0;
    VxEditSelection selection_;
    bool readOnly_ = false;
    int redrawLock_ = 0;
    int marginStyle_ = kMarginStyleSelection;
    int numberMarginWidth_ = 0;

    // The typed insertion that the next typed character may join, and the
    // class of the first character typed into it.
    tarrow::foundation::RefPtr<tarrow::foundation::CMvcCommand> lastTyping_;
    int typingClass_ = -1;
    VxEditLineCol typingEnd_;

    // The text of the last successful Find Next; a match equal to the
    // selection right after it is no new match.
    std::string lastFound_;
    bool lastFoundValid_ = false;

    std::int32_t notifiedLine_ = 0;
    bool lineLeftPosted_ = false;
    bool handlingLineLeft_ = false;
    int ownEdits_ = 0;

    // Mouse state between a button-down and its button-up.
    bool captured_ = false;
    bool skipFirstMove_ = false;
    int downX_ = 0;
    int downY_ = 0;
    int lastX_ = 0;
    int lastY_ = 0;
    std::int32_t lineAnchor_ = 0;
    // A press inside the selection waiting to become a drag (the mouse moves
    // far enough) or a click (the button comes up first).
    bool dragPending_ = false;
    // A drag of the selection from this window is running; a drop on this
    // same window did the move or copy itself.
    bool dragSource_ = false;
    bool droppedHere_ = false;
    // While text is dragged over this window: the caret, its preferred x
    // and the selection from before, for a drag that leaves again.
    bool dropTarget_ = false;
    VxEditLineCol caretBeforeDrag_;
    int preferredXBeforeDrag_ = 0;
    VxEditSelection selectionBeforeDrag_;
    bool hasBraces_ = false;
    VxEditLineCol braces_[2];
};

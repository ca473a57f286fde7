#pragma once

#include "engine/ColorRun.h"
#include "engine/VxEditColourCache.h"
#include "engine/VxEditIndentUnit.h"
#include "engine/VxEditLongLineColumns.h"
#include "engine/VxEditLineColPair.h"
#include "engine/VxEditMLComment.h"
#include "engine/VxEditMarkTable.h"
#include "mvc/IObserver.h"
#include "mvc/IRefCount.h"
#include "mvc/MvcTransactionModel.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarrow::foundation {
class CArchive;
class CMvcCommand;
}  // namespace tarrow::foundation

class VxEditCompositeCommand;
class VxEditDisplayMetrics;
class VxEditLangConfig;
struct VxEditLangTag;
class VxEditMirrorFile;
class VxEditTextBuffer;
class VxEditTextCommand;
struct VxEditFindRequest;

// The text model of one document: its text store and lines, the marks of
// each line, the colour-run cache that the colouring scanner fills, the undo
// history, the modified flag and the language configuration. Every change
// goes through InsertAt and DeleteRange, which break a line that an edit
// makes longer than MaxLineLength display columns (a line that was longer
// already, as a file may hold it, stays whole), keep the per-line data in
// step, record an undo command and tell all observers; the model never calls
// a view.
//
// The implementation is split by concern: VxEdit.cpp (life cycle and
// configuration), VxEditEditing.cpp (edits, commands, history),
// VxEditColumns.cpp (lines, columns, tabs, the length limit), VxEditMarks.cpp
// and VxEditFiles.cpp.
class VxEdit : public tarrow::foundation::MvcTransactionModel, public tarrow::foundation::IObserver {
public:
    static constexpr int kMaxLineLength = 2048;
    // Only this many bytes of a line are coloured; the rest of a longer
    // line (a minified script, a data table) shows as plain text, so that
    // typing in a line of megabytes never colours megabytes.
    static constexpr std::int32_t kColouredBytes = 4096;
    // Mark bits with a meaning of their own.
    static constexpr int kMarkErrorLine = 1;
    // A line the last check on save found fault with; it looks like an
    // error line but is kept apart from Compile's, and its line value
    // belongs to the check (the number of the line's note).
    static constexpr int kMarkCheckedLine = 2;
    static constexpr int kMarkBreakpoint = 16;
    static constexpr int kMarkBookmark = 17;
    static constexpr int kMarkChangedLine = 18;
    static constexpr int kMarkHighlight = 19;

    VxEdit();

    // Life cycle and configuration.
    int OpenWithConfig(const std::string& name);
    virtual void NewText();
    VxEditLangConfig* GetLangConfig() const { return config_.Get(); }
    virtual void SetLangConfig(VxEditLangConfig* config);
    int SetLangConfigByName(const std::string& name);
    const VxEditDisplayMetrics& GetDisplayMetrics() const { return *metrics_; }
    void SetDisplayMetrics(const VxEditDisplayMetrics& metrics);
    virtual void RebuildDisplayMetrics();
    virtual std::string_view VisibleWhitespaceGlyph(bool tab) const;
    void Update(tarrow::foundation::ISubject* subject, tarrow::foundation::IMessage* message) override;

    // Files and archives.
    int LoadFile(const std::string& path);
    void ReportOpenFailure();
    int SaveFile(const std::string& path);
    void Serialize(tarrow::foundation::CArchive& archive);
    void SerializeConfigName(tarrow::foundation::CArchive& archive);

    // Edits (1 success, 0 failure).
    int InsertAt(VxEditLineColPair& range, const char* bytes, std::int64_t length);
    int InsertAtLineCol(std::int32_t line, std::int32_t column, const char* bytes, std::int64_t length);
    int DeleteRange(std::int32_t startLine, std::int32_t startColumn, std::int32_t endLine,
                    std::int32_t endColumn);
    int DeleteRange(const VxEditLineColPair& range);
    int CopyText(std::string& text, std::int32_t startLine, std::int32_t startColumn,
                 std::int32_t endLine, std::int32_t endColumn) const;
    int CopyText(std::string& text, const VxEditLineColPair& range) const;
    // The range's text as one contiguous piece, valid until the next change.
    int TextSpan(const VxEditLineColPair& range, const char*& text, std::int64_t& length);
    std::int64_t Find(VxEditFindRequest& request);

    // History.
    VxEditTextCommand* RecordInsertCommand(const VxEditLineColPair& range);
    void Log(tarrow::foundation::CMvcCommand* command) override;
    void BeginComposite();
    void EndComposite();
    bool IsRecordingComposite() const { return composite_ != nullptr; }
    void LogPair(tarrow::foundation::CMvcCommand* command, bool givenFirst);
    void ClearHistory() override;
    void UpdateModifiedFromSavePoint();
    int IsModified() const { return modified_; }
    void SetModified(int modified);
    // Overwrite mode: one flag for every window on the text, which the
    // controllers read and toggle.
    bool IsOverwrite() const { return overwrite_; }
    void SetOverwrite(bool overwrite) { overwrite_ = overwrite; }
    // The command that undo or redo is running, or null.
    VxEditTextCommand* ExecutingCommand() const { return executing_; }
    void SetExecutingCommand(VxEditTextCommand* command) { executing_ = command; }
    // While set, insertions put text back exactly (undoing a deletion).
    void SetRestoring(bool restoring) { restoring_ = restoring; }

    // Lines, columns and tabs.
    std::int32_t LineCount() const;
    std::int32_t LastLine() const;
    // The line's visible content as one contiguous piece.
    int LineText(std::int32_t line, const char*& text, std::int32_t& length);
    std::int32_t LineLength(std::int32_t line) const;
    bool IsValidPosition(std::int32_t line, std::int32_t column, bool allowAny = false) const;
    std::int32_t SnapColumn(std::int32_t line, std::int32_t column, bool check = false);
    int GetMaxLineLength() const { return kMaxLineLength; }
    bool IsBlankLine(std::int32_t line);
    int TabSize() const;
    std::int32_t CharToDisplayCol(std::int32_t column, std::int32_t line);
    std::int32_t DisplayToCharCol(std::int32_t display, std::int32_t line,
                                  std::int32_t* snappedDisplay = nullptr);
    // startDisplay: the display column of text[0], for a text that does not
    // start at a tab stop; the results count from the same origin.
    static std::int32_t CharToDisplayColIn(const char* text, std::int32_t length,
                                           std::int32_t column, int tabSize, std::int32_t startDisplay = 0);
    static std::int32_t DisplayToCharColIn(const char* text, std::int32_t length,
                                           std::int32_t display, int tabSize,
                                           std::int32_t* snappedDisplay = nullptr,
                                           std::int32_t startDisplay = 0);
    std::int32_t DisplayLength(std::int32_t line);
    // Whitespace that indents to the width, and what Tab inserts at the
    // position: by the configuration's ReplaceTabs, or spaces only in a
    // brace-indented text whose lines are indented with spaces.
    std::string WhitespaceFor(std::int32_t width) const;
    int TabWidthAt(const VxEditLineCol& position);
    std::string TabString(const VxEditLineCol& position);

    // Indentation. A brace-indented text (Java or JavaScript, as the
    // document says) keeps to the unit its lines were indented with when it
    // was loaded: with spaces it never gets a tab. Other texts, and texts
    // whose unit could not be told, indent as the configuration says.
    void SetBraceIndented(bool braceIndented) { braceIndented_ = braceIndented; }
    bool IsBraceIndented() const { return braceIndented_; }
    const VxEditIndentUnit& DetectedIndent() const { return detectedIndent_; }
    // Reads the unit from the text, as loading does.
    void DetectIndent();
    bool IndentsWithSpaces() const;
    // Whether indentation and padding are spaces only: the text indents
    // with spaces or the configuration replaces tabs.
    bool WritesOnlySpaces() const;
    // The display columns of one indentation level.
    int IndentWidth() const;
    // Breaks every line of first..last (-1: to the end) that is wider than
    // MaxLineLength; without apply only reports whether one is. 1 when a line
    // was too long.
    int BreakLongLines(bool apply, std::int32_t first, std::int32_t last);
    // Whether replacing text on the line so that it becomes newDisplayLength
    // columns wide is refused: only when that is wider than both the limit
    // and the line is now.
    bool ReplacementTooLong(std::int32_t line, std::int32_t newDisplayLength);

    // Per-line marks: 32 bits per line. Setting and toggling tell the
    // observers (the margin repaints); lines past the last are ignored.
    int TestMark(std::int32_t line, int bit) const;
    virtual void SetMark(std::int32_t line, int bit, bool on);
    void ToggleMark(std::int32_t line, int bit);
    void ClearMarkEverywhere(int bit);
    // The next (forward) or previous line carrying the bit, wrapping at the
    // ends and trying from itself last; -1 when none does. Costs a search
    // among the marked lines, not a walk over the text's lines.
    std::int32_t FindMarkedLine(std::int32_t from, int bit, bool forward) const;
    int CountMarkedLines(int bit) const;
    std::int32_t GetLineValue(std::int32_t line) const;
    std::int32_t SetLineValue(std::int32_t line, std::int32_t value);
    void InsertLineSlots(std::int32_t line, std::int32_t count, bool before);
    void RemoveLineSlots(std::int32_t first, std::int32_t last);

    // Hook for derived models, run before a controller scans the text.
    virtual void OnBeforeScan(void* controller) {}

    VxEditTextBuffer& TextBuffer() { return *buffer_; }
    const VxEditTextBuffer& TextBuffer() const { return *buffer_; }

    // The colour runs of a line for painting (computed on first request and
    // cached until an edit or a configuration change), or null for a line
    // that does not exist or while colouring is off. Valid until the next
    // change of the model or the next request for another line's runs.
    virtual const std::vector<ColorRun>* GetColourRuns(std::int32_t line);

    // The colouring scanner's state, kept in step with every edit.
    VxEditColourCache& ColourCache() { return colour_; }
    const VxEditSpanList& Spans() const { return spans_; }
    std::int32_t ScanPosition() const { return scanPosition_; }
    int IsColouringEnabled() const { return colouringEnabled_; }
    // 1 when the position lies inside a comment or string as the language's
    // tags delimit them: a multi-line span (both ends included; the spans
    // are found up to the position first) or a tag span of its own line.
    int IsInTagSpan(const VxEditLineCol& position);
    void SetColouringEnabled(int enabled) { colouringEnabled_ = enabled; }

protected:
    ~VxEdit() override;

    // Factories, so that a derived model can supply its own parts.
    virtual std::unique_ptr<VxEditTextBuffer> CreateTextBuffer();
    virtual std::unique_ptr<VxEditDisplayMetrics> CreateDisplayMetrics();
    virtual std::unique_ptr<VxEditMirrorFile> CreateMirrorFile(const std::string& target);

    void CloseTransaction() override { EndComposite(); }
    void OnHistoryChanged() override { UpdateModifiedFromSavePoint(); }
    void OnCommandDiscarded(tarrow::foundation::CMvcCommand* command, bool overflow) override;

    // Sends a message to every observer.
    void NotifyAll(tarrow::foundation::IMessage* message);
    void NotifyAll(int messageId);

    VxEditSpanList& MutableSpans() { return spans_; }
    void SetScanPosition(std::int32_t line) { scanPosition_ = line; }
    // Forgets every cached run and span (the configuration changed).
    void ResetColouring();

    // The colouring scanner, in steps that derived models may change
    // (VxEditScanner.cpp, VxEditScanTags.cpp). Columns and lengths are in
    // bytes; a step that scans returns the bytes of the line it consumed.
    // Records the spans of multi-line tags that start in the range.
    virtual void ScanAhead(const VxEditLineColPair& range);
    // Fills the line's runs from fromColumn on (0: the whole line).
    virtual VxEditColourRuns* ComputeColourRuns(std::int32_t line, std::int32_t fromColumn);
    // The tag that opens at text (FindTag of the configuration), and the
    // list of tags of a kind (ListTags); a derived model may add tags of
    // its own language.
    virtual const VxEditLangTag* FindScanTag(const char* text, int length, int tokenLength, int kind);
    virtual void ListScanTags(std::vector<const VxEditLangTag*>& tags, int kind);
    // Whether an EscapeChar before the tag's EndTag keeps it open: for
    // single-line tags.
    virtual bool HonoursEscape(const VxEditLangTag& tag) const;
    // The end of the token at text, or null when length is 0.
    virtual const char* NextTokenEnd(const char* text, std::int32_t length) const;
    virtual std::int32_t ScanToken(std::int32_t line, const char* lineText, const char* token,
                                   std::int32_t tokenLength, std::int32_t bytesLeft,
                                   std::uint16_t& pending, VxEditColourRuns& runs);
    // These three return 0 when they do not match.
    virtual std::int32_t MatchKeyword(std::int32_t line, const char* lineText, const char* token,
                                      std::int32_t tokenLength, std::int32_t bytesLeft,
                                      std::uint16_t& pending, VxEditColourRuns& runs);
    virtual std::int32_t MatchTag(std::int32_t line, const char* lineText, const char* token,
                                  std::int32_t tokenLength, std::int32_t bytesLeft,
                                  std::uint16_t& pending, VxEditColourRuns& runs);
    virtual std::int32_t MatchOperator(std::int32_t line, const char* lineText, const char* token,
                                       std::int32_t tokenLength, std::int32_t bytesLeft,
                                       std::uint16_t& pending, VxEditColourRuns& runs);
    virtual void FlushPending(VxEditColourRuns& runs, std::uint16_t& pending);
    // Just past the tag's EndTag when it is found from start on, else the
    // end of start's line (single-line tag) or of the text (multi-line tag).
    virtual VxEditLineCol FindTagEnd(const VxEditLineCol& start, const VxEditLangTag& tag);
    virtual std::int32_t ScanSingleLineTag(std::int32_t line, std::int32_t column, std::int32_t bytesLeft,
                                           VxEditColourRuns& runs, const VxEditLangTag& tag);
    virtual std::int32_t ScanMultiLineTag(std::int32_t line, std::int32_t column, std::int32_t bytesLeft,
                                          VxEditColourRuns& runs, const VxEditLangTag& tag);
    // The next stretch of the line at or after column where a BeginTag
    // opens nothing, as the scanner reads the line: a single-line tag from
    // its BeginTag to its end, or what follows a multi-line BeginTag on the
    // line. span.end is exclusive.
    virtual bool FindSingleLineSpan(std::int32_t line, std::int32_t column, VxEditLineColPair& span);
    virtual int IsInSingleLineSpan(const VxEditLineCol& position);
    // The bytes of the token that are plain text whatever they spell (0:
    // none); the HTML model's rule for text outside markup.
    virtual std::int32_t PlainTokenLength(std::int32_t line, const char* lineText, const char* token,
                                          std::int32_t tokenLength, std::int32_t bytesLeft);
    // Run after an edit with the lines it left changed (as they are now),
    // for colouring that depends on the text of other lines.
    virtual void OnLinesEdited(std::int32_t first, std::int32_t last, const VxEditTextCommand& command);
    // Forgets the spans from the index on with their lines' runs,
    // repainting them, and moves the scan position back to the first one.
    void DropSpansStartingAt(std::size_t first);

private:
    // The runs of a line that has none cached, from the recorded spans and
    // a scan of what lies outside them.
    VxEditColourRuns* RecomputeLine(std::int32_t line);
    void ScanLine(std::int32_t line, std::int32_t fromColumn);
    void RecordSpan(const VxEditMLComment& span, std::int32_t scanningLine);
    // Within the line, or up to the end of the text.
    VxEditLineCol FindTagEndWithin(const VxEditLineCol& start, const VxEditLangTag& tag, bool toTextEnd);
    std::int64_t NextBeginTag(std::int64_t from, std::int64_t to, const std::string& beginTag);

    // Where the line scan continues after a multi-line tag closed on a later
    // line (line -1: nowhere); taken up by ComputeColourRuns's loop, so that
    // chains of spans never nest calls.
    std::int32_t continueLine_ = -1;
    std::int32_t continueColumn_ = 0;

private:
    // Per-line data update and notification for an executed command.
    void ApplyCommand(VxEditTextCommand& command, bool markSlotsBefore);
    void NotifyCommand(tarrow::foundation::CMvcCommand* command);
    // Drops the spans that an edit touches or that lie after it, repainting
    // their lines.
    void DropSpansFrom(const VxEditLineColPair& edit);
    bool MarkSlotsMoveForInsert(const VxEditLineCol& at);
    std::int32_t FirstNonBlank(std::int32_t line);
    void EnforceMaxLineLength(VxEditLineColPair& range);
    void BreakTrailingText(std::int32_t line);
    bool LineTooLong(std::int32_t line);
    bool LineTooLong(std::int32_t line, std::int64_t tabSize);
    std::string LineBreak() const;
    void ResetLineData();
    int FailLoad(int descriptor, const std::string& message);

    std::unique_ptr<VxEditTextBuffer> buffer_;
    VxEditSpanList spans_;
    VxEditColourCache colour_;
    VxEditMarkTable marks_;
    VxEditLongLineColumns longLineColumns_;
    int colouringEnabled_ = 1;
    bool autoBreakGuard_ = false;
    bool restoring_ = false;
    VxEditTextCommand* executing_ = nullptr;
    VxEditCompositeCommand* composite_ = nullptr;
    int modified_ = 0;
    bool overwrite_ = false;
    bool braceIndented_ = false;
    VxEditIndentUnit detectedIndent_;
    std::int32_t scanPosition_ = 0;
    // The undo-stack top at the last save: 0 for the empty history,
    // kUnreachable for a state that no stack top can equal.
    std::uintptr_t savePoint_ = 0;
    static constexpr std::uintptr_t kUnreachable = 1;
    std::unique_ptr<VxEditDisplayMetrics> metrics_;
    tarrow::foundation::RefPtr<VxEditLangConfig> config_;
};

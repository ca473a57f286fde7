#pragma once

#include "engine/ColorRun.h"
#include "engine/VxEditColourCache.h"
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
class VxEditMirrorFile;
class VxEditTextBuffer;
class VxEditTextCommand;
struct VxEditFindRequest;

// The text model of one document: its text store and lines, the marks of
// each line, the colour-run cache that the colouring scanner fills, the undo
// history, the modified flag and the language configuration. Every change
// goes through InsertAt and DeleteRange, which keep lines no longer than
// MaxLineLength display columns, keep the per-line data in step, record an
// undo command and tell all observers; the model never calls a view.
//
// The implementation is split by concern: VxEdit.cpp (life cycle and
// configuration), VxEditEditing.cpp (edits, commands, history),
// VxEditColumns.cpp (lines, columns, tabs, the length limit), VxEditMarks.cpp
// and VxEditFiles.cpp.
class VxEdit : public tarrow::foundation::MvcTransactionModel, public tarrow::foundation::IObserver {
public:
    static constexpr int kMaxLineLength = 2048;
    // Mark bits with a meaning of their own.
    static constexpr int kMarkErrorLine = 1;
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
    // The command that undo or redo is running, or null.
    VxEditTextCommand* ExecutingCommand() const { return executing_; }
    void SetExecutingCommand(VxEditTextCommand* command) { executing_ = command; }

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
    static std::int32_t CharToDisplayColIn(const char* text, std::int32_t length,
                                           std::int32_t column, int tabSize);
    static std::int32_t DisplayToCharColIn(const char* text, std::int32_t length,
                                           std::int32_t display, int tabSize,
                                           std::int32_t* snappedDisplay = nullptr);
    std::int32_t DisplayLength(std::int32_t line);
    std::string WhitespaceFor(std::int32_t width) const;
    int TabWidthAt(const VxEditLineCol& position);
    std::string TabString(const VxEditLineCol& position);
    // Breaks every line of first..last (-1: to the end) that is wider than
    // MaxLineLength; without apply only reports whether one is. 1 when a line
    // was too long.
    int BreakLongLines(bool apply, std::int32_t first, std::int32_t last);

    // Per-line marks.
    int TestMark(std::int32_t line, int bit) const;
    virtual void ToggleMark(std::int32_t line, int bit);
    void ClearMarkEverywhere(int bit);
    std::int32_t FindMarkedLine(std::int32_t from, int bit, bool forward) const;
    int CountMarkedLines(int bit) const;
    std::int32_t GetLineValue(std::int32_t line) const;
    std::int32_t SetLineValue(std::int32_t line, std::int32_t value);
    VxEditLineMarks& MarksFor(std::int32_t line) { return marks_.MarksFor(line); }
    void FreeMarks(std::int32_t line) { marks_.Free(line); }
    void InsertLineSlots(std::int32_t line, std::int32_t count, bool before);
    void RemoveLineSlots(std::int32_t first, std::int32_t last);

    // Hook for derived models, run before a controller scans the text.
    virtual void OnBeforeScan(void* controller) {}

    VxEditTextBuffer& TextBuffer() { return *buffer_; }
    const VxEditTextBuffer& TextBuffer() const { return *buffer_; }

    // The colour runs of a line for painting (computed on first request and
    // cached until an edit or a configuration change), or null for a line
    // that does not exist. Valid until the next change of the model.
    const std::vector<ColorRun>* GetColourRuns(std::int32_t line);

    // The colouring scanner's state, kept in step with every edit.
    VxEditColourCache& ColourCache() { return colour_; }
    const std::vector<VxEditMLComment>& Spans() const { return spans_; }
    std::int32_t ScanPosition() const { return scanPosition_; }
    int IsColouringEnabled() const { return colouringEnabled_; }
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

    std::vector<VxEditMLComment>& MutableSpans() { return spans_; }
    void SetScanPosition(std::int32_t line) { scanPosition_ = line; }
    // Forgets every cached run and span (the configuration changed).
    void ResetColouring();

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
    std::vector<VxEditMLComment> spans_;
    VxEditColourCache colour_;
    VxEditMarkTable marks_;
    int colouringEnabled_ = 1;
    bool autoBreakGuard_ = false;
    VxEditTextCommand* executing_ = nullptr;
    VxEditCompositeCommand* composite_ = nullptr;
    int modified_ = 0;
    std::int32_t scanPosition_ = 0;
    // The undo-stack top at the last save: 0 for the empty history,
    // kUnreachable for a state that no stack top can equal.
    std::uintptr_t savePoint_ = 0;
    static constexpr std::uintptr_t kUnreachable = 1;
    std::unique_ptr<VxEditDisplayMetrics> metrics_;
    tarrow::foundation::RefPtr<VxEditLangConfig> config_;
};

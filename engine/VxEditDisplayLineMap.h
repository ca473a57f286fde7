#pragma once

#include "engine/VxEditFold.h"
#include "engine/VxEditFoldSet.h"

#include <cstdint>
#include <memory>
#include <vector>

class VxEditRowPartition;

// Where the lines of a text stand on screen: which lines folds hide and how
// many screen rows (display lines) each visible line takes when long lines
// wrap. Line to display line and back take O(log n).
//
// With nothing folded and no wrapping the map holds no per-line data and
// every line is its own display line. Otherwise a row partition keeps each
// line's height (as the view measured it), its hidden flag and whether it
// awaits measuring, eight bytes a line.
//
// Edits reach the map as lines added before a line or lines removed (see
// VxEditDisplayLineFollower); folds move with their lines.
class VxEditDisplayLineMap {
public:
    // A display line: the text line and which of its screen rows.
    struct Place {
        std::int32_t line = 0;
        std::int32_t row = 0;
        bool operator==(const Place&) const = default;
    };

    explicit VxEditDisplayLineMap(std::int32_t lines = 1);
    ~VxEditDisplayLineMap();
    VxEditDisplayLineMap(const VxEditDisplayLineMap&) = delete;
    VxEditDisplayLineMap& operator=(const VxEditDisplayLineMap&) = delete;

    // A new text of the given lines: no folds, no measured heights;
    // wrapping stays as it was.
    void Reset(std::int32_t lines);
    // True while the map answers identity and holds no per-line data.
    bool IsIdentity() const { return !rows_; }

    std::int32_t LineCount() const { return lines_; }
    std::int64_t DisplayLineCount() const;
    // The first display line of line; for a hidden line, that of the
    // visible line whose fold hides it.
    std::int64_t DisplayLine(std::int32_t line) const;
    // The line and row shown on a display line, clamped to the text.
    Place PlaceAt(std::int64_t displayLine) const;
    // Screen rows of line: 0 when hidden.
    std::int32_t Rows(std::int32_t line) const;
    bool IsHidden(std::int32_t line) const;
    // The nearest visible line after (or before) line; -1 when none.
    std::int32_t NextVisible(std::int32_t line) const;
    std::int32_t PreviousVisible(std::int32_t line) const;

    // Folds line first and hides first+1..last. False when the range is
    // not within the text, hides nothing, or a fold starts there already.
    bool Fold(std::int32_t first, std::int32_t last);
    bool Unfold(std::int32_t first);
    void UnfoldAll();
    // Unfolds every fold that hides line; how many there were.
    int Reveal(std::int32_t line);
    // The last line of the fold starting on line, or -1.
    std::int32_t FoldEnd(std::int32_t first) const { return folds_.LastOf(first); }
    const std::vector<VxEditFold>& Folds() const { return folds_.Folds(); }

    // Wrapping on marks every line stale, to be measured; off forgets the
    // heights.
    void SetWrapping(bool wrapping);
    bool IsWrapping() const { return wrapping_; }
    // The view measured line at rows screen rows (at least 1); ignored
    // while not wrapping.
    void SetHeight(std::int32_t line, std::int32_t rows);
    // The measured (or last known) height of line, hidden or not.
    std::int32_t Height(std::int32_t line) const;
    bool IsStale(std::int32_t line) const;
    // The wrap width changed: every height is only an estimate now.
    void MarkAllStale();
    void MarkStale(std::int32_t first, std::int32_t last);
    // Up to max visible stale lines: those among the lines on show
    // (firstShown..lastShown) first, then those after, then those before.
    std::vector<std::int32_t> LinesToMeasure(std::int32_t firstShown, std::int32_t lastShown, std::size_t max) const;

    // count lines come in before line at (at may be LineCount()). A fold
    // reaching past at grows over them.
    void InsertLines(std::int32_t at, std::int32_t count);
    // Lines first..first+count-1 go; a fold whose first line goes is dropped.
    void RemoveLines(std::int32_t first, std::int32_t count);

    std::size_t BytesUsed() const;

private:
    // Per-line data while something is folded or wrapping, none otherwise.
    void Allocate();
    void ReleaseIfIdle();
    // Hidden flags of first..last from the folds.
    void Recompute(std::int32_t first, std::int32_t last);

    VxEditFoldSet folds_;
    std::unique_ptr<VxEditRowPartition> rows_;
    std::int32_t lines_ = 1;
    bool wrapping_ = false;
};

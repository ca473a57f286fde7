#pragma once

#include "engine/VxEditLineCol.h"
#include "engine/VxEditTextObserver.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class VxEdit;
class VxEditTextBuffer;

// Character offsets as screen readers count them: UTF-16 units over the
// whole text, line ends included (a character the engine keeps as a single
// invalid byte is one unit, U+0080 to U+00FF). The units are counted per
// block of lines and kept in step with edits, so an offset or a position
// costs a walk over the blocks and a count within one block, whatever the
// size of the text; nothing here copies the text.
//
// It observes a model (or is handed its messages): a new text makes the
// blocks anew, an insertion or deletion recounts the block it touched and
// moves the lines of the blocks after it.
class VxEditUtf16Index : public VxEditTextObserver {
public:
    static constexpr std::int32_t kBlockLines = 1024;

    // blockLines: the lines a block starts with (small ones in tests).
    explicit VxEditUtf16Index(VxEdit& model, std::int32_t blockLines = kBlockLines);

    void OnNewText() override;
    void OnTextCommand(const VxEditTextCommand& command) override;

    // Units of the whole text.
    std::int64_t Units();
    // The offset of a position (clamped into the text).
    std::int64_t OffsetOf(VxEditLineCol position);
    // The position at an offset (clamped); an offset inside a line end or a
    // surrogate pair gives the position before it.
    VxEditLineCol PositionAt(std::int64_t offset);

    // Units of bytes, and the bytes as UTF-16, by the same rules.
    static std::int64_t UnitsOf(const char* bytes, std::size_t length);
    static void AppendUtf16(std::u16string& out, const char* bytes, std::size_t length);

private:
    struct Block {
        std::int32_t lines = 0;
        std::int64_t units = 0;
        bool counted = false;
    };

    // Makes the blocks when there are none or they no longer cover the text.
    void Ensure();
    void Count(Block& block, std::int32_t firstLine);
    // Units of the bytes [from, to) of the text.
    std::int64_t UnitsBetween(std::int64_t from, std::int64_t to) const;
    std::int64_t LineEnd(std::int32_t line) const;
    // The block holding the line, with the line and units before it.
    std::size_t BlockOf(std::int32_t line, std::int32_t& firstLine, std::int64_t& unitsBefore);
    void LinesInserted(std::int32_t line, std::int32_t count);
    void LinesRemoved(std::int32_t line, std::int32_t count);

    // The model's store; a new text may bring a new one.
    VxEditTextBuffer& Buffer() const;

    VxEdit& model_;
    std::vector<Block> blocks_;
    std::int32_t blockLines_;
    std::int32_t lines_ = 0;  // lines the blocks cover
};

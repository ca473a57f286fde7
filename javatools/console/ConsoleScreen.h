#pragma once

#include "javatools/console/ConsoleCell.h"

#include <vterm_keycodes.h>

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

struct VTerm;
struct VTermScreen;

// The terminal's state: libvterm's screen fed with the bytes a program wrote,
// plus the lines that scrolled off its top (the scrollback, oldest first, at
// most a fixed number). Lines are numbered over both: scrollback lines first,
// then the screen's rows. The rows changed since the painter last asked are
// collected as damage. Keys turn into the bytes a terminal sends, which go to
// the output callback (so do the terminal's answers to a program's queries).
class ConsoleScreen {
public:
    static constexpr std::size_t kDefaultScrollback = 10000;

    ConsoleScreen(int rows, int columns, std::size_t scrollbackLimit = kDefaultScrollback);
    ConsoleScreen(const ConsoleScreen&) = delete;
    ConsoleScreen& operator=(const ConsoleScreen&) = delete;
    ~ConsoleScreen();

    // Where bytes for the program's input go.
    void SetOutput(std::function<void(const char*, std::size_t)> output);
    void Feed(const char* bytes, std::size_t size);
    void Feed(const std::string& bytes) { Feed(bytes.data(), bytes.size()); }
    void Resize(int rows, int columns);

    int Rows() const { return rows_; }
    int Columns() const { return columns_; }
    int ScrollbackCount() const { return static_cast<int>(scrollback_.size()); }
    int LineCount() const { return ScrollbackCount() + rows_; }
    // How many lines have left the top of the scrollback so far: line i is
    // the (DroppedLines() + i)-th line the console ever had.
    std::uint64_t DroppedLines() const { return dropped_; }
    // Changes whenever anything the console shows changes.
    std::uint64_t Revision() const { return revision_; }
    // How many lines have gone into the scrollback so far.
    std::uint64_t PushedLines() const { return pushed_; }

    // Exactly Columns() cells of line `line`.
    void CellsOf(int line, std::vector<ConsoleCell>& cells) const;
    // The line's characters as UTF-8, without trailing blanks.
    std::string LineText(int line) const;
    // Lines [first, last] joined with "\n"; the first line from column
    // firstColumn, the last up to (not including) column lastColumn.
    std::string TextBetween(int first, int firstColumn, int last, int lastColumn) const;
    // Every line, without the empty lines below the cursor.
    std::string Text() const;
    // The last line Text() includes.
    int LastUsedLine() const;

    int CursorRow() const { return cursorRow_; }
    int CursorColumn() const { return cursorColumn_; }
    bool CursorVisible() const { return cursorVisible_; }
    bool AltScreen() const { return altScreen_; }

    // The screen rows changed since the last call, as [first, last) (empty
    // when first == last).
    std::pair<int, int> TakeDamage();

    void Key(VTermKey key, VTermModifier modifiers);
    void Character(char32_t ch, VTermModifier modifiers);
    // Text the user pasted, bracketed when the program asked for that.
    void Paste(const std::string& utf8);

private:
    // libvterm's callbacks, which reach the members below.
    struct Callbacks;
    friend struct Callbacks;

    void MarkRows(int first, int last);
    

    VTerm* vterm_;
    VTermScreen* screen_;
    int rows_;
    int columns_;
    std::size_t scrollbackLimit_;
    std::deque<std::vector<ConsoleCell>> scrollback_;
    std::uint64_t dropped_ = 0;
    std::uint64_t pushed_ = 0;
    std::uint64_t revision_ = 0;
    int cursorRow_ = 0;
    int cursorColumn_ = 0;
    bool cursorVisible_ = true;
    bool altScreen_ = false;
    int damageFirst_ = 0;
    int damageLast_ = 0;
    std::function<void(const char*, std::size_t)> output_;
};

// Appends ch to text as UTF-8.
void AppendUtf8(std::string& text, char32_t ch);

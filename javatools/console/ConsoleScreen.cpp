#include "javatools/console/ConsoleScreen.h"

#include <vterm.h>

#include <algorithm>

namespace {


std::uint32_t Rgb(const VTermColor& colour)
{
    return (std::uint32_t{colour.rgb.red} << 16) | (std::uint32_t{colour.rgb.green} << 8) |
           colour.rgb.blue;
}

VTermColor ToVterm(const ConsoleCell& cell, bool foreground)
{
    VTermColor colour;
    const std::uint32_t rgb = foreground ? cell.foreground : cell.background;
    vterm_color_rgb(&colour, static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                    static_cast<uint8_t>(rgb));
    if (foreground && (cell.flags & ConsoleCell::kDefaultForeground))
        colour.type |= VTERM_COLOR_DEFAULT_FG;
    if (!foreground && (cell.flags & ConsoleCell::kDefaultBackground))
        colour.type |= VTERM_COLOR_DEFAULT_BG;
    return colour;
}

ConsoleCell Convert(const VTermScreen* screen, const VTermScreenCell& from)
{
    ConsoleCell cell;
    cell.ch = from.chars[0];
    cell.width = static_cast<std::uint8_t>(from.width > 0 ? from.width : 1);
    std::uint8_t flags = 0;
    // A default colour stays a flag, so the painter can use its own.
    auto resolve = [&](VTermColor colour, bool isDefault, std::uint8_t flag, std::uint32_t& rgb) {
        if (isDefault) {
            flags |= flag;
            return;
        }
        vterm_screen_convert_color_to_rgb(screen, &colour);
        rgb = Rgb(colour);
    };
    resolve(from.fg, VTERM_COLOR_IS_DEFAULT_FG(&from.fg), ConsoleCell::kDefaultForeground,
            cell.foreground);
    resolve(from.bg, VTERM_COLOR_IS_DEFAULT_BG(&from.bg), ConsoleCell::kDefaultBackground,
            cell.background);
    if (from.attrs.bold)
        flags |= ConsoleCell::kBold;
    if (from.attrs.underline)
        flags |= ConsoleCell::kUnderline;
    if (from.attrs.italic)
        flags |= ConsoleCell::kItalic;
    if (from.attrs.reverse)
        flags |= ConsoleCell::kReverse;
    if (from.attrs.strike)
        flags |= ConsoleCell::kStrike;
    cell.flags = flags;
    return cell;
}

}  // namespace

struct ConsoleScreen::Callbacks {
    static ConsoleScreen& Of(void* user) { return *static_cast<ConsoleScreen*>(user); }

    static int Damage(VTermRect rect, void* user)
    {
        Of(user).MarkRows(rect.start_row, rect.end_row);
        return 1;
    }

    static int MoveRect(VTermRect dest, VTermRect src, void* user)
    {
        Of(user).MarkRows(dest.start_row, dest.end_row);
        return 1;
    }

    static int MoveCursor(VTermPos pos, VTermPos old, int visible, void* user)
    {
        ConsoleScreen& self = Of(user);
        self.MarkRows(old.row, old.row + 1);
        self.MarkRows(pos.row, pos.row + 1);
        self.cursorRow_ = pos.row;
        self.cursorColumn_ = pos.col;
        return 1;
    }

    static int TermProp(VTermProp prop, VTermValue* value, void* user)
    {
        ConsoleScreen& self = Of(user);
        if (prop == VTERM_PROP_CURSORVISIBLE) {
            self.cursorVisible_ = value->boolean != 0;
            self.MarkRows(self.cursorRow_, self.cursorRow_ + 1);
        } else if (prop == VTERM_PROP_ALTSCREEN) {
            self.altScreen_ = value->boolean != 0;
            self.MarkRows(0, self.rows_);
        }
        return 1;
    }

    // A line left the top of the screen: keep it, dropping the oldest one
    // when the scrollback is full (and reusing its storage).
    static int PushLine(int columns, const VTermScreenCell* cells, void* user)
    {
        ConsoleScreen& self = Of(user);
        if (self.scrollbackLimit_ == 0)
            return 1;
        std::vector<ConsoleCell> line;
        if (self.scrollback_.size() >= self.scrollbackLimit_) {
            line = std::move(self.scrollback_.front());
            self.scrollback_.pop_front();
            ++self.dropped_;
            line.clear();
        }
        int length = columns;
        while (length > 0 && cells[length - 1].chars[0] == 0 &&
               VTERM_COLOR_IS_DEFAULT_BG(&cells[length - 1].bg) &&
               !cells[length - 1].attrs.reverse)
            --length;
        line.reserve(static_cast<std::size_t>(length));
        for (int i = 0; i < length; ++i)
            line.push_back(Convert(self.screen_, cells[i]));
        self.scrollback_.push_back(std::move(line));
        ++self.pushed_;
        return 1;
    }

    // The screen grew taller: give back the newest scrollback line.
    static int PopLine(int columns, VTermScreenCell* cells, void* user)
    {
        ConsoleScreen& self = Of(user);
        if (self.scrollback_.empty())
            return 0;
        const std::vector<ConsoleCell>& line = self.scrollback_.back();
        const ConsoleCell blank;
        for (int i = 0; i < columns; ++i) {
            const ConsoleCell& cell =
                i < static_cast<int>(line.size()) ? line[static_cast<std::size_t>(i)] : blank;
            VTermScreenCell& to = cells[i];
            to = VTermScreenCell{};
            to.chars[0] = cell.ch;
            to.width = static_cast<char>(cell.width);
            to.fg = ToVterm(cell, true);
            to.bg = ToVterm(cell, false);
            to.attrs.bold = (cell.flags & ConsoleCell::kBold) != 0;
            to.attrs.underline = (cell.flags & ConsoleCell::kUnderline) != 0;
            to.attrs.italic = (cell.flags & ConsoleCell::kItalic) != 0;
            to.attrs.reverse = (cell.flags & ConsoleCell::kReverse) != 0;
            to.attrs.strike = (cell.flags & ConsoleCell::kStrike) != 0;
        }
        self.scrollback_.pop_back();
        --self.pushed_;
        return 1;
    }

    static void Output(const char* bytes, size_t size, void* user)
    {
        ConsoleScreen& self = Of(user);
        if (self.output_)
            self.output_(bytes, size);
    }

    static const VTermScreenCallbacks& Table()
    {
        static const VTermScreenCallbacks table = {
            &Damage, &MoveRect, &MoveCursor, &TermProp, nullptr, nullptr, &PushLine, &PopLine,
        };
        return table;
    }
};

ConsoleScreen::ConsoleScreen(int rows, int columns, std::size_t scrollbackLimit)
    : vterm_(vterm_new(std::max(rows, 1), std::max(columns, 1))),
      screen_(vterm_obtain_screen(vterm_)), rows_(std::max(rows, 1)),
      columns_(std::max(columns, 1)), scrollbackLimit_(scrollbackLimit)
{
    vterm_set_utf8(vterm_, 1);
    vterm_output_set_callback(vterm_, &Callbacks::Output, this);
    vterm_screen_set_callbacks(screen_, &Callbacks::Table(), this);
    // Whole scrolls arrive as one moved rectangle, not as every cell.
    vterm_screen_set_damage_merge(screen_, VTERM_DAMAGE_SCROLL);
    vterm_screen_enable_altscreen(screen_, 1);
    vterm_screen_reset(screen_, 1);
    MarkRows(0, rows_);
}

ConsoleScreen::~ConsoleScreen()
{
    vterm_free(vterm_);
}

void ConsoleScreen::SetOutput(std::function<void(const char*, std::size_t)> output)
{
    output_ = std::move(output);
}

void ConsoleScreen::Feed(const char* bytes, std::size_t size)
{
    vterm_input_write(vterm_, bytes, size);
    vterm_screen_flush_damage(screen_);
    ++revision_;
}

void ConsoleScreen::Resize(int rows, int columns)
{
    rows = std::max(rows, 1);
    columns = std::max(columns, 1);
    if (rows == rows_ && columns == columns_)
        return;
    rows_ = rows;
    columns_ = columns;
    vterm_set_size(vterm_, rows, columns);
    vterm_screen_flush_damage(screen_);
    ++revision_;
    MarkRows(0, rows_);
}

void ConsoleScreen::MarkRows(int first, int last)
{
    first = std::clamp(first, 0, rows_);
    last = std::clamp(last, 0, rows_);
    if (first >= last)
        return;
    if (damageFirst_ == damageLast_) {
        damageFirst_ = first;
        damageLast_ = last;
    } else {
        damageFirst_ = std::min(damageFirst_, first);
        damageLast_ = std::max(damageLast_, last);
    }
}

std::pair<int, int> ConsoleScreen::TakeDamage()
{
    const std::pair<int, int> damage{std::min(damageFirst_, rows_), std::min(damageLast_, rows_)};
    damageFirst_ = damageLast_ = 0;
    return damage;
}

void ConsoleScreen::CellsOf(int line, std::vector<ConsoleCell>& cells) const
{
    cells.assign(static_cast<std::size_t>(columns_), ConsoleCell{});
    if (line < 0 || line >= LineCount())
        return;
    if (line < ScrollbackCount()) {
        const std::vector<ConsoleCell>& kept = scrollback_[static_cast<std::size_t>(line)];
        const std::size_t count = std::min(kept.size(), cells.size());
        std::copy_n(kept.begin(), count, cells.begin());
        return;
    }
    VTermPos pos{line - ScrollbackCount(), 0};
    VTermScreenCell cell;
    for (pos.col = 0; pos.col < columns_; ++pos.col) {
        if (vterm_screen_get_cell(screen_, pos, &cell))
            cells[static_cast<std::size_t>(pos.col)] = Convert(screen_, cell);
    }
}

std::string ConsoleScreen::LineText(int line) const
{
    return TextBetween(line, 0, line, columns_);
}

std::string ConsoleScreen::TextBetween(int first, int firstColumn, int last, int lastColumn) const
{
    std::string text;
    std::vector<ConsoleCell> cells;
    for (int line = first; line <= last; ++line) {
        if (line != first)
            text += '\n';
        CellsOf(line, cells);
        const int begin = line == first ? std::clamp(firstColumn, 0, columns_) : 0;
        int end = line == last ? std::clamp(lastColumn, 0, columns_) : columns_;
        // Blanks after the last character are not part of the line.
        int used = columns_;
        while (used > 0 && (cells[static_cast<std::size_t>(used) - 1].ch == 0 ||
                            cells[static_cast<std::size_t>(used) - 1].ch == U' '))
            --used;
        end = std::min(end, used);
        for (int column = begin; column < end; ++column) {
            const char32_t ch = cells[static_cast<std::size_t>(column)].ch;
            if (ch == ConsoleCell::kWideTail)
                continue;
            AppendUtf8(text, ch == 0 ? U' ' : ch);
        }
    }
    return text;
}

int ConsoleScreen::LastUsedLine() const
{
    int last = LineCount() - 1;
    while (last > ScrollbackCount() + cursorRow_ && LineText(last).empty())
        --last;
    return last;
}

std::string ConsoleScreen::Text() const
{
    return TextBetween(0, 0, LastUsedLine(), columns_);
}

void ConsoleScreen::Key(VTermKey key, VTermModifier modifiers)
{
    vterm_keyboard_key(vterm_, key, modifiers);
}

void ConsoleScreen::Character(char32_t ch, VTermModifier modifiers)
{
    vterm_keyboard_unichar(vterm_, static_cast<uint32_t>(ch), modifiers);
}

void ConsoleScreen::Paste(const std::string& utf8)
{
    vterm_keyboard_start_paste(vterm_);
    if (output_)
        output_(utf8.data(), utf8.size());
    vterm_keyboard_end_paste(vterm_);
}

void AppendUtf8(std::string& text, char32_t ch)
{
    if (ch < 0x80) {
        text += static_cast<char>(ch);
    } else if (ch < 0x800) {
        text += static_cast<char>(0xC0 | (ch >> 6));
        text += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        text += static_cast<char>(0xE0 | (ch >> 12));
        text += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x110000) {
        text += static_cast<char>(0xF0 | (ch >> 18));
        text += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
        text += "\xEF\xBF\xBD";
    }
}

#pragma once

#include "engine/VxEditLineCol.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A rectangle in printer pixels; right and bottom lie just outside it.
struct VxEditPrintRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// The layout of one print job, worked out once when printing begins: the
// text's lines cut into printed rows that fit the body's width, the rows
// spread over pages of a fixed number of rows, and where header, body and
// footer lie on a page. It measures nothing itself; the printer's measures
// come in through the metrics and the Measure callback, so the layout is
// plain logic.
class VxEditPrintLayout {
public:
    // A line's visible content; false when the line is not there.
    using LineSource = std::function<bool(std::int32_t line, const char*& text, std::int32_t& length)>;
    // Tab-expanding width in printer pixels of text[0, bytes), tab stops
    // counted from the text's start.
    using Measure = std::function<int(const char* text, int bytes)>;

    static constexpr const char* kUntitled = "Untitled";  // string 22607
    static constexpr const char* kPageFormat = "Page: %d";  // string 22608

    // Line height (character height plus external leading), average
    // character width and width of a space, in printer pixels.
    void SetMetrics(int lineHeight, int averageCharWidth, int spaceWidth);
    int LineHeight() const { return lineHeight_; }
    int AverageCharWidth() const { return averageCharWidth_; }
    int SpaceWidth() const { return spaceWidth_; }

    // The page rectangle: the printable area of width × height pixels less
    // half an inch on every side at the given resolution.
    static VxEditPrintRect HalfInchMargins(int width, int height, int dpiX, int dpiY);
    // Places header and footer of the given heights at the top and bottom of
    // the page rectangle, the body between them.
    void SetPage(const VxEditPrintRect& page, int headerHeight, int footerHeight);
    const VxEditPrintRect& Page() const { return page_; }
    const VxEditPrintRect& Header() const { return header_; }
    const VxEditPrintRect& Body() const { return body_; }
    const VxEditPrintRect& Footer() const { return footer_; }

    // Cuts every line into rows that fit the body's width, rounding to the
    // nearer character boundary as printing does: a character is never
    // split, an empty line gives one row, and a row always takes at least
    // one character, however narrow the body.
    void Paginate(std::int32_t lineCount, const LineSource& lines, const Measure& measure);

    std::int32_t RowCount() const { return static_cast<std::int32_t>(rows_.size()); }
    const VxEditLineCol& Row(std::int32_t row) const { return rows_[static_cast<std::size_t>(row)]; }
    // Body height / line height; a body lower than one line still takes one
    // row per page, so that every row is printed.
    int RowsPerPage() const;
    int PageCount() const;
    // First and last row of a 1-based page; last < first on a page past the end.
    std::int32_t FirstRowOf(int page) const;
    std::int32_t LastRowOf(int page) const;
    // Bytes a row prints of a line now lineLength long: up to the next row's
    // column when the next row continues the same line, else to the end.
    std::int32_t RowBytes(std::int32_t row, std::int32_t lineLength) const;

    // The header's title: the document's title, "Untitled" without one.
    static std::string Title(const std::string& documentTitle);
    // "Page: %d" for a 1-based page number.
    static std::string PageText(int page);

    // The header's rule lies one and a half lines below its top; -1 when
    // that is not above the header's bottom (no rule).
    int HeaderRuleY() const;
    // The footer's rule lies half a line below its top; -1 when that passes
    // the footer's bottom.
    int FooterRuleY() const;
    // Top of the page number's text, half a line below the footer's rule;
    // -1 when the footer has no room for it.
    int PageNumberTop() const;

private:
    int lineHeight_ = 1;
    int averageCharWidth_ = 1;
    int spaceWidth_ = 1;
    VxEditPrintRect page_;
    VxEditPrintRect header_;
    VxEditPrintRect body_;
    VxEditPrintRect footer_;
    std::vector<VxEditLineCol> rows_;
};

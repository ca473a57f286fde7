#include "view/VxEditPrintLayout.h"

#include "controller/VxEditTextFit.h"
#include "engine/VxEditUtf8.h"

#include <algorithm>
#include <cstdio>

void VxEditPrintLayout::SetMetrics(int lineHeight, int averageCharWidth, int spaceWidth)
{
    lineHeight_ = std::max(lineHeight, 1);
    averageCharWidth_ = std::max(averageCharWidth, 1);
    spaceWidth_ = std::max(spaceWidth, 1);
}

VxEditPrintRect VxEditPrintLayout::HalfInchMargins(int width, int height, int dpiX, int dpiY)
{
    return VxEditPrintRect{dpiX / 2, dpiY / 2, width - dpiX / 2, height - dpiY / 2};
}

void VxEditPrintLayout::SetPage(const VxEditPrintRect& page, int headerHeight, int footerHeight)
{
    page_ = page;
    header_ = page;
    header_.bottom = page.top + headerHeight;
    footer_ = page;
    footer_.top = page.bottom - footerHeight;
    body_ = page;
    body_.top = page.top + headerHeight;
    body_.bottom = page.bottom - footerHeight;
}

void VxEditPrintLayout::Paginate(std::int32_t lineCount, const LineSource& lines, const Measure& measure)
{
    rows_.clear();
    if (lineCount <= 0)
        return;
    rows_.reserve(static_cast<std::size_t>(lineCount));
    const int width = body_.Width();
    for (std::int32_t line = 0; line < lineCount; ++line) {
        const char* text = nullptr;
        std::int32_t length = 0;
        if (!lines(line, text, length) || length <= 0) {
            rows_.emplace_back(line, 0);
            continue;
        }
        std::int32_t column = 0;
        while (column < length) {
            rows_.emplace_back(line, column);
            const char* rest = text + column;
            const int remaining = length - column;
            int fitted = VxEditTextFit::Fit(rest, remaining, width, true, averageCharWidth_,
                                            [&](int bytes) { return measure(rest, bytes); });
            // A body too narrow for one character still moves on by one.
            if (fitted <= 0)
                fitted = VxEditUtf8::CharLength(rest, static_cast<std::size_t>(remaining));
            column += fitted;
        }
    }
}

int VxEditPrintLayout::RowsPerPage() const
{
    return std::max(body_.Height() / lineHeight_, 1);
}

int VxEditPrintLayout::PageCount() const
{
    const int perPage = RowsPerPage();
    return static_cast<int>((rows_.size() + static_cast<std::size_t>(perPage) - 1) /
                            static_cast<std::size_t>(perPage));
}

std::int32_t VxEditPrintLayout::FirstRowOf(int page) const
{
    return static_cast<std::int32_t>(std::max(page - 1, 0)) * RowsPerPage();
}

std::int32_t VxEditPrintLayout::LastRowOf(int page) const
{
    return std::min(FirstRowOf(page) + RowsPerPage() - 1, RowCount() - 1);
}

std::int32_t VxEditPrintLayout::RowBytes(std::int32_t row, std::int32_t lineLength) const
{
    const VxEditLineCol& at = Row(row);
    std::int32_t end = lineLength;
    if (row + 1 < RowCount() && Row(row + 1).line == at.line)
        end = std::min(Row(row + 1).column, lineLength);
    return std::max(end - at.column, 0);
}

std::string VxEditPrintLayout::Title(const std::string& documentTitle)
{
    return documentTitle.empty() ? std::string(kUntitled) : documentTitle;
}

std::string VxEditPrintLayout::PageText(int page)
{
    char text[32];
    std::snprintf(text, sizeof text, kPageFormat, page);
    return text;
}

int VxEditPrintLayout::HeaderRuleY() const
{
    const int y = header_.top + lineHeight_ + lineHeight_ / 2;
    return y < header_.bottom ? y : -1;
}

int VxEditPrintLayout::FooterRuleY() const
{
    const int y = footer_.top + lineHeight_ / 2;
    return y <= footer_.bottom ? y : -1;
}

int VxEditPrintLayout::PageNumberTop() const
{
    const int rule = footer_.top + lineHeight_ / 2;
    if (footer_.bottom < rule + lineHeight_ + lineHeight_ / 2)
        return -1;
    return rule + lineHeight_ / 2;
}

#include "language/VxEditIniColor.h"

#include <algorithm>
#include <charconv>

namespace {

std::uint32_t ParsePart(std::string_view part)
{
    while (!part.empty() && (part.front() == ' ' || part.front() == '\t'))
        part.remove_prefix(1);
    bool negative = false;
    if (!part.empty() && (part.front() == '-' || part.front() == '+')) {
        negative = part.front() == '-';
        part.remove_prefix(1);
    }
    unsigned long value = 0;
    const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (error == std::errc::invalid_argument || negative)
        return 0;
    if (error == std::errc::result_out_of_range)
        return 255;
    return static_cast<std::uint32_t>(std::min<unsigned long>(value, 255));
}

}  // namespace

std::string VxEditIniColor::Format(std::uint32_t color)
{
    return std::to_string(color & 0xFF) + "," + std::to_string((color >> 8) & 0xFF) + "," +
           std::to_string((color >> 16) & 0xFF);
}

std::uint32_t VxEditIniColor::Parse(std::string_view text)
{
    std::uint32_t color = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const std::size_t comma = text.find(',');
        color |= ParsePart(text.substr(0, comma)) << shift;
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return color;
}

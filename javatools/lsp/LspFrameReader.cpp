#include "javatools/lsp/LspFrameReader.h"

#include <algorithm>
#include <cctype>

namespace {

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

void LspFrameReader::Append(std::string_view bytes)
{
    if (Failed())
        return;
    // Drop what was read before growing, so a long session's buffer stays small.
    if (start_ > 0 && start_ >= buffer_.size() / 2) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    buffer_.append(bytes);
}

void LspFrameReader::Fail(std::string why)
{
    error_ = std::move(why);
    buffer_.clear();
    start_ = 0;
}

bool LspFrameReader::ReadHeader()
{
    const std::string_view unread = std::string_view(buffer_).substr(start_);
    const std::size_t end = unread.find("\r\n\r\n");
    if (end == std::string_view::npos) {
        if (unread.size() > kHeaderLimit)
            Fail("a message header without an end");
        return false;
    }
    if (end > kHeaderLimit) {
        Fail("a message header without an end");
        return false;
    }
    bool haveLength = false;
    std::size_t length = 0;
    std::string_view header = unread.substr(0, end);
    while (true) {
        const std::size_t lineEnd = header.find("\r\n");
        const std::string_view line = header.substr(0, lineEnd);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || colon == 0) {
            Fail("a message header line that is not \"Name: value\"");
            return false;
        }
        const std::string_view name = Trim(line.substr(0, colon));
        const std::string_view value = Trim(line.substr(colon + 1));
        if (SameName(name, "Content-Length")) {
            if (value.empty() || value.size() > 12 ||
                !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
                Fail("a message length that is not a number");
                return false;
            }
            length = std::stoull(std::string(value));
            haveLength = true;
        }
        if (lineEnd == std::string_view::npos)
            break;
        header.remove_prefix(lineEnd + 2);
    }
    if (!haveLength) {
        Fail("a message without a length");
        return false;
    }
    if (length > limit_) {
        Fail("a message of " + std::to_string(length) + " bytes, more than the " +
             std::to_string(limit_ >> 20) + " MB allowed");
        return false;
    }
    start_ += end + 4;
    length_ = length;
    haveLength_ = true;
    return true;
}

bool LspFrameReader::Next(std::string& body)
{
    if (Failed())
        return false;
    if (!haveLength_ && !ReadHeader())
        return false;
    if (buffer_.size() - start_ < length_)
        return false;
    body.assign(buffer_, start_, length_);
    start_ += length_;
    haveLength_ = false;
    if (start_ == buffer_.size()) {
        buffer_.clear();
        start_ = 0;
    }
    return true;
}

std::string LspFrameReader::Frame(std::string_view body)
{
    std::string framed = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
    framed.append(body);
    return framed;
}

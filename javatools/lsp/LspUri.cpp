#include "javatools/lsp/LspUri.h"

#include <cctype>

namespace LspUri {

std::string FromPath(std::string_view path)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
            uri += c;
        } else {
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 15];
        }
    }
    return uri;
}

std::string ToPath(std::string_view uri)
{
    constexpr std::string_view kScheme = "file://";
    if (uri.substr(0, kScheme.size()) != kScheme)
        return {};
    uri.remove_prefix(kScheme.size());
    // "file://host/path": only the local host is ours.
    const std::size_t slash = uri.find('/');
    if (slash == std::string_view::npos)
        return {};
    const std::string_view host = uri.substr(0, slash);
    if (!host.empty() && host != "localhost")
        return {};
    uri.remove_prefix(slash);
    const auto hex = [](char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    std::string path;
    for (std::size_t i = 0; i < uri.size(); ++i) {
        if (uri[i] == '%' && i + 2 < uri.size() && hex(uri[i + 1]) >= 0 && hex(uri[i + 2]) >= 0) {
            path += static_cast<char>(hex(uri[i + 1]) * 16 + hex(uri[i + 2]));
            i += 2;
        } else {
            path += uri[i];
        }
    }
    return path;
}

}  // namespace LspUri

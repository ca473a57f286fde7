#pragma once

#include <string>
#include <string_view>

// file: URIs of absolute paths, as language servers name documents.
namespace LspUri {

// "file://" and the path with every byte outside the unreserved set and
// "/" written as %XX.
std::string FromPath(std::string_view path);
// The path of a file: URI; empty for any other URI.
std::string ToPath(std::string_view uri);

}  // namespace LspUri

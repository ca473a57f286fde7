#pragma once

#include "javatools/lsp/LspTypes.h"

#include <nlohmann/json_fwd.hpp>

// Reads a language server's results into the plain structs. Every reader
// takes any JSON: fields of the wrong type or missing are left at their
// defaults, entries that make no sense are skipped.
namespace LspResults {

LspCompletionList ReadCompletion(const nlohmann::json& result);
LspCompletionItem ReadCompletionItem(const nlohmann::json& item);
LspSignatureHelp ReadSignatureHelp(const nlohmann::json& result);
LspHover ReadHover(const nlohmann::json& result);
// A Location, a list of them, or a list of LocationLinks.
std::vector<LspLocation> ReadLocations(const nlohmann::json& result);
LspDiagnostics ReadDiagnostics(const nlohmann::json& params);
LspServerCapabilities ReadCapabilities(const nlohmann::json& capabilities);

}  // namespace LspResults

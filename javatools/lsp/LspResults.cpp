#include "javatools/lsp/LspResults.h"

#include "javatools/lsp/LspUtf16.h"

#include <nlohmann/json.hpp>

using nlohmann::json;

namespace {

const json* Field(const json& object, const char* name)
{
    if (!object.is_object())
        return nullptr;
    const auto found = object.find(name);
    return found == object.end() ? nullptr : &*found;
}

std::string Text(const json& object, const char* name)
{
    const json* value = Field(object, name);
    return value && value->is_string() ? value->get<std::string>() : std::string();
}

int Number(const json& object, const char* name, int fallback)
{
    const json* value = Field(object, name);
    if (!value || !value->is_number_integer())
        return fallback;
    const auto number = value->get<std::int64_t>();
    return number < -1 || number > 0x7FFFFFFF ? fallback : static_cast<int>(number);
}

bool Flag(const json& object, const char* name)
{
    const json* value = Field(object, name);
    return value && value->is_boolean() && value->get<bool>();
}

std::string Dump(const json& value)
{
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

bool ReadPosition(const json* value, LspPosition& position)
{
    if (!value || !value->is_object())
        return false;
    position.line = Number(*value, "line", -1);
    position.character = Number(*value, "character", -1);
    return position.line >= 0 && position.character >= 0;
}

bool ReadRange(const json* value, LspRange& range)
{
    return value && ReadPosition(Field(*value, "start"), range.start) && ReadPosition(Field(*value, "end"), range.end);
}

bool ReadTextEdit(const json& value, LspTextEdit& edit)
{
    if (!value.is_object())
        return false;
    edit.newText = Text(value, "newText");
    // An InsertReplaceEdit has "insert" and "replace" instead of "range".
    return ReadRange(Field(value, "range"), edit.range) || ReadRange(Field(value, "insert"), edit.range);
}

// MarkupContent, a MarkedString, or a list of MarkedStrings; `markdown`
// tells whether the text is markdown.
std::string MarkupText(const json* value, bool& markdown)
{
    markdown = false;
    if (!value)
        return {};
    if (value->is_string())
        return value->get<std::string>();
    if (value->is_object()) {
        if (Field(*value, "kind")) {
            markdown = Text(*value, "kind") == "markdown";
            return Text(*value, "value");
        }
        // A MarkedString with a language is a code block.
        markdown = true;
        return "```" + Text(*value, "language") + "\n" + Text(*value, "value") + "\n```";
    }
    if (value->is_array()) {
        std::string joined;
        for (const json& part : *value) {
            bool partMarkdown = false;
            const std::string text = MarkupText(&part, partMarkdown);
            if (text.empty())
                continue;
            if (!joined.empty())
                joined += "\n\n";
            joined += text;
        }
        markdown = true;  // MarkedStrings are markdown
        return joined;
    }
    return {};
}

std::string Documentation(const json& object)
{
    bool markdown = false;
    return MarkupText(Field(object, "documentation"), markdown);
}

}  // namespace

namespace LspResults {

LspCompletionItem ReadCompletionItem(const json& item)
{
    LspCompletionItem read;
    if (!item.is_object())
        return read;
    read.label = Text(item, "label");
    read.kind = Number(item, "kind", 0);
    read.detail = Text(item, "detail");
    read.documentation = Documentation(item);
    read.insertText = Text(item, "insertText");
    read.insertTextIsSnippet = Number(item, "insertTextFormat", 1) == 2;
    if (const json* edit = Field(item, "textEdit"))
        read.hasTextEdit = ReadTextEdit(*edit, read.textEdit);
    if (const json* edits = Field(item, "additionalTextEdits"); edits && edits->is_array()) {
        for (const json& edit : *edits) {
            LspTextEdit one;
            if (ReadTextEdit(edit, one))
                read.additionalTextEdits.push_back(std::move(one));
        }
    }
    read.sortText = Text(item, "sortText");
    read.filterText = Text(item, "filterText");
    if (const json* data = Field(item, "data"))
        read.data = Dump(*data);
    read.raw = Dump(item);
    return read;
}

LspCompletionList ReadCompletion(const json& result)
{
    LspCompletionList list;
    const json* items = &result;
    if (result.is_object()) {
        list.isIncomplete = Flag(result, "isIncomplete");
        items = Field(result, "items");
    }
    if (!items || !items->is_array())
        return list;
    for (const json& item : *items) {
        LspCompletionItem read = ReadCompletionItem(item);
        if (!read.label.empty())
            list.items.push_back(std::move(read));
    }
    return list;
}

LspSignatureHelp ReadSignatureHelp(const json& result)
{
    LspSignatureHelp help;
    const json* signatures = Field(result, "signatures");
    if (!signatures || !signatures->is_array())
        return help;
    help.activeSignature = Number(result, "activeSignature", 0);
    help.activeParameter = Number(result, "activeParameter", -1);
    for (const json& signature : *signatures) {
        if (!signature.is_object())
            continue;
        LspSignature read;
        read.label = Text(signature, "label");
        read.documentation = Documentation(signature);
        read.activeParameter = Number(signature, "activeParameter", -1);
        if (const json* parameters = Field(signature, "parameters"); parameters && parameters->is_array()) {
            for (const json& parameter : *parameters) {
                LspParameter one;
                one.documentation = Documentation(parameter);
                const json* label = Field(parameter, "label");
                if (label && label->is_string()) {
                    one.label = label->get<std::string>();
                } else if (label && label->is_array() && label->size() == 2 && (*label)[0].is_number_unsigned() &&
                           (*label)[1].is_number_unsigned()) {
                    // Offsets into the signature's label in UTF-16 units.
                    const auto units = [&](const json& offset) {
                        return LspUtf16::ToByteColumn(
                            read.label, static_cast<int>(std::min<std::uint64_t>(offset.get<std::uint64_t>(), 1 << 30)));
                    };
                    const auto from = static_cast<std::size_t>(units((*label)[0]));
                    const auto to = static_cast<std::size_t>(units((*label)[1]));
                    if (from < to)
                        one.label = read.label.substr(from, to - from);
                }
                read.parameters.push_back(std::move(one));
            }
        }
        help.signatures.push_back(std::move(read));
    }
    if (help.activeSignature < 0 || help.activeSignature >= static_cast<int>(help.signatures.size()))
        help.activeSignature = 0;
    return help;
}

LspHover ReadHover(const json& result)
{
    LspHover hover;
    hover.contents = MarkupText(Field(result, "contents"), hover.isMarkdown);
    hover.hasRange = ReadRange(Field(result, "range"), hover.range);
    return hover;
}

std::vector<LspLocation> ReadLocations(const json& result)
{
    std::vector<LspLocation> locations;
    const auto readOne = [&](const json& value) {
        LspLocation location;
        location.uri = Text(value, "uri");
        bool ranged = ReadRange(Field(value, "range"), location.range);
        if (location.uri.empty()) {  // a LocationLink
            location.uri = Text(value, "targetUri");
            ranged = ReadRange(Field(value, "targetSelectionRange"), location.range) ||
                     ReadRange(Field(value, "targetRange"), location.range);
        }
        if (!location.uri.empty() && ranged)
            locations.push_back(std::move(location));
    };
    if (result.is_array()) {
        for (const json& value : result)
            readOne(value);
    } else if (result.is_object()) {
        readOne(result);
    }
    return locations;
}

LspDiagnostics ReadDiagnostics(const json& params)
{
    LspDiagnostics read;
    read.uri = Text(params, "uri");
    read.version = Number(params, "version", -1);
    const json* list = Field(params, "diagnostics");
    if (!list || !list->is_array())
        return read;
    for (const json& value : *list) {
        LspDiagnostic diagnostic;
        if (!ReadRange(Field(value, "range"), diagnostic.range))
            continue;
        diagnostic.severity = Number(value, "severity", 0);
        diagnostic.message = Text(value, "message");
        diagnostic.source = Text(value, "source");
        if (const json* code = Field(value, "code"))
            diagnostic.code = code->is_string() ? code->get<std::string>() : Dump(*code);
        read.diagnostics.push_back(std::move(diagnostic));
    }
    return read;
}

LspServerCapabilities ReadCapabilities(const json& capabilities)
{
    LspServerCapabilities read;
    const auto provided = [&](const char* name) {
        const json* value = Field(capabilities, name);
        return value && (value->is_object() || (value->is_boolean() && value->get<bool>()));
    };
    const auto strings = [](const json* owner, const char* name) {
        std::vector<std::string> list;
        const json* value = owner ? Field(*owner, name) : nullptr;
        if (value && value->is_array())
            for (const json& entry : *value)
                if (entry.is_string())
                    list.push_back(entry.get<std::string>());
        return list;
    };
    if (const json* sync = Field(capabilities, "textDocumentSync")) {
        if (sync->is_number_integer()) {
            read.textDocumentSync = Number(capabilities, "textDocumentSync", 0);
        } else if (sync->is_object()) {
            read.textDocumentSync = Number(*sync, "change", 0);
            if (const json* save = Field(*sync, "save"))
                read.saveIncludesText = Flag(*save, "includeText");
        }
        if (read.textDocumentSync < 0 || read.textDocumentSync > 2)
            read.textDocumentSync = 0;
    }
    read.completion = provided("completionProvider");
    if (const json* completion = Field(capabilities, "completionProvider")) {
        read.completionResolve = Flag(*completion, "resolveProvider");
        read.completionTriggers = strings(completion, "triggerCharacters");
    }
    read.signatureHelp = provided("signatureHelpProvider");
    read.signatureTriggers = strings(Field(capabilities, "signatureHelpProvider"), "triggerCharacters");
    read.hover = provided("hoverProvider");
    read.definition = provided("definitionProvider");
    read.references = provided("referencesProvider");
    return read;
}

}  // namespace LspResults

#include "javatools/completion/JavaImportPlacer.h"

#include "engine/VxEdit.h"
#include "engine/VxEditTextBuffer.h"
#include "engine/VxEditTypedLineBreak.h"

#include <vector>

namespace {

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// The name of "keyword a.b.C;" with blanks around the dots dropped; empty
// when the line is not of that form.
std::string Declared(std::string_view line, std::string_view keyword)
{
    if (!line.starts_with(keyword) || line.size() <= keyword.size() ||
        (line[keyword.size()] != ' ' && line[keyword.size()] != '\t'))
        return {};
    const std::size_t semicolon = line.find(';');
    if (semicolon == std::string_view::npos)
        return {};
    std::string name;
    for (const char c : line.substr(keyword.size(), semicolon - keyword.size())) {
        if (c != ' ' && c != '\t')
            name += c;
    }
    return name;
}

struct Import {
    std::int32_t line;
    std::string name;
};

}  // namespace

JavaImportEdit JavaImportPlacer::Place(VxEdit& model, std::string_view package, std::string_view name)
{
    JavaImportEdit edit;
    const std::string qualified = std::string(package) + '.' + std::string(name);
    if (package.empty() || package == "java.lang")
        return edit;
    std::int32_t packageLine = -1;
    std::vector<Import> imports;
    bool inComment = false;
    for (std::int32_t line = 0; line <= model.LastLine(); ++line) {
        const char* text = nullptr;
        std::int32_t length = 0;
        model.LineText(line, text, length);
        const std::string_view trimmed = Trimmed(std::string_view(text, static_cast<std::size_t>(length)));
        if (inComment) {
            inComment = trimmed.find("*/") == std::string_view::npos;
            continue;
        }
        if (trimmed.empty() || trimmed.starts_with("//"))
            continue;
        if (trimmed.starts_with("/*")) {
            inComment = trimmed.find("*/", 2) == std::string_view::npos;
            continue;
        }
        if (std::string declared = Declared(trimmed, "package"); !declared.empty()) {
            if (declared == package)
                return edit;
            packageLine = line;
            continue;
        }
        if (trimmed.starts_with("import")) {
            if (!Declared(trimmed, "import static").empty())
                continue;
            std::string imported = Declared(trimmed, "import");
            if (imported.empty())
                break;
            const std::size_t dot = imported.rfind('.');
            const std::string_view last = std::string_view(imported).substr(dot + 1);
            if (imported == qualified || imported == std::string(package) + ".*" || last == name)
                return edit;
            imports.push_back({line, std::move(imported)});
            continue;
        }
        break;
    }
    const std::string lineBreak = VxEditTypedLineBreak(model.TextBuffer());
    const std::string statement = "import " + qualified + ";";
    edit.needed = true;
    if (!imports.empty()) {
        edit.line = imports.back().line + 1;
        for (const Import& import : imports) {
            if (qualified < import.name) {
                edit.line = import.line;
                break;
            }
        }
        edit.text = statement + lineBreak;
        if (edit.line > model.LastLine()) {
            // The last import ends the text without a line end.
            edit.line = model.LastLine();
            edit.column = model.LineLength(edit.line);
            edit.text = lineBreak + statement;
        }
        return edit;
    }
    if (packageLine >= 0) {
        if (packageLine == model.LastLine()) {
            edit.line = packageLine;
            edit.column = model.LineLength(packageLine);
            edit.text = lineBreak + lineBreak + statement;
            return edit;
        }
        edit.line = packageLine + 1;
        edit.text = lineBreak + statement + lineBreak;
        if (!model.IsBlankLine(edit.line))
            edit.text += lineBreak;
        return edit;
    }
    edit.text = statement + lineBreak;
    if (!model.IsBlankLine(0))
        edit.text += lineBreak;
    return edit;
}

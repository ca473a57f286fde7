#include "javatools/codegen/CodeInsertion.h"

#include "controller/VxEditController.h"
#include "engine/VxEdit.h"
#include "engine/VxEditTypedLineBreak.h"
#include "javatools/codegen/CodeDeclarations.h"

#include <cstring>

namespace {

const VxEditLineCol kNowhere(-1, -1);

// The column of the first byte in the line's full text (line end included),
// or -1.
std::int32_t FindInLine(VxEdit& model, std::int32_t line, char byte)
{
    const char* text = nullptr;
    std::int32_t length = 0;
    if (!model.LineText(line, text, length))
        return -1;
    const void* found = std::memchr(text, byte, static_cast<std::size_t>(length));
    return found ? static_cast<std::int32_t>(static_cast<const char*>(found) - text) : -1;
}

// The generated text goes in with the text's own line ends.
bool InsertAt(VxEdit& model, const VxEditLineCol& at, const std::string& generated)
{
    if (at.line < 0)
        return false;
    const std::string text = VxEditInTypedLineBreaks(model.TextBuffer(), generated);
    return model.InsertAtLineCol(at.line, at.column, text.data(), static_cast<std::int64_t>(text.size())) == 1;
}

}  // namespace

namespace CodeInsertion {

VxEditLineCol AppendPlace(VxEdit& model, std::string& text)
{
    const std::int32_t last = model.LastLine();
    const std::int32_t length = model.LineLength(last);
    if (length > 0)
        text.insert(0, "\r\n");
    return VxEditLineCol(last, length);
}

VxEditLineCol MethodPlace(VxEdit& model, const std::vector<VxScrivoDeclaration>& list, int selected)
{
    std::int32_t start = model.LastLine();
    const auto next = static_cast<std::size_t>(selected) + 1;
    if (list.size() >= 2 && selected >= 0 && next < list.size())
        start = list[next].line - 1;
    for (std::int32_t line = std::min(start, model.LastLine()); line >= 1; --line) {
        const std::int32_t column = FindInLine(model, line, '}');
        if (column >= 0)
            return VxEditLineCol(line, column);
    }
    return kNowhere;
}

VxEditLineCol VariablePlace(VxEdit& model, const std::vector<VxScrivoDeclaration>& list, int selected)
{
    if (selected < 0 || static_cast<std::size_t>(selected) >= list.size())
        return kNowhere;
    for (std::int32_t line = list[static_cast<std::size_t>(selected)].line; line < model.LastLine(); ++line) {
        if (FindInLine(model, line, '{') >= 0)
            return VxEditLineCol(line + 1, 0);
    }
    return kNowhere;
}

bool Append(VxEdit& model, std::string text)
{
    const VxEditLineCol at = AppendPlace(model, text);
    return InsertAt(model, at, text);
}

bool InsertMethod(VxEdit& model, const std::vector<VxScrivoDeclaration>& list, int selected,
                  const std::string& text)
{
    return InsertAt(model, MethodPlace(model, list, selected), text);
}

bool InsertVariable(VxEdit& model, const std::vector<VxScrivoDeclaration>& list, int selected,
                    const std::string& text)
{
    return InsertAt(model, VariablePlace(model, list, selected), text);
}

void InsertTryCatch(VxEditController& controller, const std::string& exceptionClass,
                    const std::string& variable)
{
    const TryCatchDeclaration declaration{exceptionClass, variable};
    const std::string selected = controller.HasSelection() ? controller.SelectionText() : std::string();
    const VxEditTextBuffer& buffer = controller.GetModel().TextBuffer();
    controller.InsertBlock(VxEditInTypedLineBreaks(buffer, declaration.Text(selected)));
}

}  // namespace CodeInsertion

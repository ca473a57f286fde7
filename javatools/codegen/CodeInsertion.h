#pragma once

#include "engine/VxEditLineCol.h"
#include "engine/VxScrivoDeclaration.h"

#include <string>
#include <vector>

class VxEdit;
class VxEditController;

// Where generated declarations go in a text, and their insertion, each one
// undo step. The members go into the class selected in the class view,
// given as its index in the declaration list.
namespace CodeInsertion {

// A new class or interface goes at the end of the text, on a line of its own.
VxEditLineCol AppendPlace(VxEdit& model, std::string& text);
// Just before the closing brace nearest above the next declaration of the
// list (or the end of the text); line 0 is never examined. (-1, -1): none.
VxEditLineCol MethodPlace(VxEdit& model, const std::vector<VxScrivoDeclaration>& list, int selected);
// At the start of the line after the first line from the declaration's on
// that holds an opening brace (the last line is not examined). (-1, -1): none.
VxEditLineCol VariablePlace(VxEdit& model, const std::vector<VxScrivoDeclaration>& list, int selected);

// Insert at the place found; false when there is none or the edit failed.
bool Append(VxEdit& model, std::string text);
bool InsertMethod(VxEdit& model, const std::vector<VxScrivoDeclaration>& list, int selected,
                  const std::string& text);
bool InsertVariable(VxEdit& model, const std::vector<VxScrivoDeclaration>& list, int selected,
                    const std::string& text);
// The try/catch block: the selection is taken into the block and replaced by
// it; without a selection the block goes in at the caret.
void InsertTryCatch(VxEditController& controller, const std::string& exceptionClass,
                    const std::string& variable);

}  // namespace CodeInsertion

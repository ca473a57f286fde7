#pragma once

#include "mvc/IRefCount.h"

#include <memory>
#include <string>
#include <vector>

namespace tarrow::foundation {
class IObserver;
class IMessage;
}  // namespace tarrow::foundation

struct VxEditColorGroup;
struct VxEditLangTag;

// What a text model, the viewport, the controller and the export ask of a
// language configuration.
class IVxEditLangConfig : public tarrow::foundation::IRefCount {
public:
    // Character classes for IsInCharSet and SetCharSet.
    enum CharSet { kKWStartChars = 0, kKWMiddleChars = 1, kKWEndChars = 2, kDelimiters = 3, kOperators = 4 };
    // Special colour groups for GetSpecialColorGroup(Index).
    enum SpecialGroup { kTextGroup = 0, kSelectionGroup = 1, kNumberGroup = 2, kOperatorGroup = 3 };

    // Sends the message to every observer but the sender.
    virtual void Notify(tarrow::foundation::IObserver* sender, tarrow::foundation::IMessage* message) = 0;

    virtual int GetAutoIndent() const = 0;
    virtual VxEditColorGroup* GetColorGroup(int index) const = 0;
    virtual int GetColorGroupCount() const = 0;
    virtual VxEditColorGroup* GetSpecialColorGroup(int kind) const = 0;
    virtual int GetSpecialColorGroupIndex(int kind) const = 0;
    virtual const std::vector<std::unique_ptr<VxEditColorGroup>>& GetColorGroups() const = 0;
    // The font is always drawn upright and of normal weight: both report 0.
    virtual int GetBold() const = 0;
    virtual std::string GetFaceName() const = 0;
    virtual int GetItalic() const = 0;
    virtual int GetSize() const = 0;
    virtual std::string GetName() const = 0;
    virtual int GetMatchCase() const = 0;
    virtual int GetReplaceTabs() const = 0;
    virtual int GetShowWhitespace() const = 0;
    virtual VxEditLangTag* FindTag(const char* text, int length, int tokenLength, int kind) const = 0;
    virtual void ListTags(std::vector<VxEditLangTag*>& list, int kind) const = 0;
    virtual int GetTabSize() const = 0;
    virtual int GetVirtualWhitespace() const = 0;
    virtual int LookupKeyword(const char* text, int length, int& group) const = 0;
    virtual int IsInCharSet(unsigned code, int set) const = 0;

    virtual void SetAutoIndent(int autoIndent) = 0;
    virtual void SetBold(int bold) = 0;
    virtual void SetFaceName(const std::string& faceName) = 0;
    virtual void SetItalic(int italic) = 0;
    virtual void SetSize(int size) = 0;
    // Optionally empties the set first, adds the characters of text, then
    // tells every observer that colouring must be redone.
    virtual void SetCharSet(const std::string& text, int set, int clearFirst) = 0;
    virtual void SetName(const std::string& name) = 0;
    virtual void SetMatchCase(int matchCase) = 0;
    virtual void SetReplaceTabs(int replaceTabs) = 0;
    virtual void SetShowWhitespace(int showWhitespace) = 0;
    virtual void SetTabSize(int tabSize) = 0;
    virtual void SetVirtualWhitespace(int virtualWhitespace) = 0;
};

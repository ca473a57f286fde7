#pragma once

#include "language/IVxEditLangConfig.h"
#include "language/VxEditCharSet.h"
#include "language/VxEditColorGroup.h"
#include "language/VxEditColorGroupTable.h"
#include "language/VxEditKeywordTable.h"
#include "language/VxEditLangTag.h"
#include "language/VxEditLangTagTable.h"
#include "mvc/ISubject.h"

#include <array>
#include <string>

namespace tarrow::foundation {
class CArchive;
}

// Everything that makes one language look and behave as it does in the
// editor: colour groups, keywords, character classes, tags, editor options
// and the display font. Configurations are shared by name between text
// models, which observe them, and are reference counted (starting at 1).
class VxEditLangConfig : public tarrow::foundation::CRefCounted<IVxEditLangConfig>,
                         public tarrow::foundation::ISubject {
public:
    static constexpr int kSetCount = 5;
    static constexpr int kMaxTabSize = 128;
    static constexpr int kMaxFaceNameLength = 31;

    // Made in the ResetDefaults state, matching keywords case-sensitively.
    explicit VxEditLangConfig(std::string name = "Default");

    virtual const char* GetRuntimeClassName() const { return "VxEditLangConfig"; }
    // Storing writes the binary form. Loading replaces the content only when
    // the whole form reads cleanly; a truncated or inconsistent form leaves
    // the configuration as it was and reports false.
    virtual bool Serialize(tarrow::foundation::CArchive& archive);
    // Drops tags, keywords, colour groups and character classes; keeps the
    // name, options, font and special group indices.
    virtual void Clear();
    // Clear, then the default font, the four default colour groups (which
    // become the special groups) and the default options. MatchCase is kept.
    virtual void ResetDefaults();

    // IVxEditLangConfig
    void Notify(tarrow::foundation::IObserver* sender, tarrow::foundation::IMessage* message) override;
    int GetAutoIndent() const override { return autoIndent_; }
    VxEditColorGroup* GetColorGroup(int index) const override { return groups_.At(index); }
    int GetColorGroupCount() const override { return groups_.Count(); }
    VxEditColorGroup* GetSpecialColorGroup(int kind) const override;
    int GetSpecialColorGroupIndex(int kind) const override;
    const std::vector<std::unique_ptr<VxEditColorGroup>>& GetColorGroups() const override;
    int GetBold() const override { return 0; }
    std::string GetFaceName() const override { return faceName_; }
    int GetItalic() const override { return 0; }
    int GetSize() const override { return size_; }
    std::string GetName() const override { return name_; }
    int GetMatchCase() const override { return matchCase_; }
    int GetReplaceTabs() const override { return replaceTabs_; }
    int GetShowWhitespace() const override { return showWhitespace_; }
    // The longest tag whose BeginTag the leading characters of text (length
    // bytes) spell; a placeholder key extends the search by one character.
    // With a tokenLength other than 0 the BeginTag must be that long. Kind 0
    // accepts single-line tags, 1 multi-line tags, 2 both.
    VxEditLangTag* FindTag(const char* text, int length, int tokenLength, int kind) const override;
    void ListTags(std::vector<VxEditLangTag*>& list, int kind) const override;
    int GetTabSize() const override { return tabSize_; }
    int GetVirtualWhitespace() const override { return virtualWhitespace_; }
    // The length when the word is a keyword (exactly, or in lower case when
    // MatchCase is 0) or starts with a digit (a number), else 0.
    int LookupKeyword(const char* text, int length, int& group) const override;
    int IsInCharSet(unsigned code, int set) const override;

    void SetAutoIndent(int autoIndent) override { autoIndent_ = autoIndent; }
    void SetBold(int bold) override { bold_ = bold; }
    void SetFaceName(const std::string& faceName) override { faceName_ = faceName; }
    void SetItalic(int italic) override { italic_ = italic; }
    void SetSize(int size) override { size_ = size; }
    void SetCharSet(const std::string& text, int set, int clearFirst) override;
    void SetName(const std::string& name) override { name_ = name; }
    void SetMatchCase(int matchCase) override { matchCase_ = matchCase; }
    void SetReplaceTabs(int replaceTabs) override { replaceTabs_ = replaceTabs; }
    void SetShowWhitespace(int showWhitespace) override { showWhitespace_ = showWhitespace; }
    // Kept within 1 to kMaxTabSize, so column arithmetic never divides by 0.
    void SetTabSize(int tabSize) override;
    void SetVirtualWhitespace(int virtualWhitespace) override { virtualWhitespace_ = virtualWhitespace; }

    // The font flags as stored (the binary form carries them).
    int GetStoredBold() const { return bold_; }
    int GetStoredItalic() const { return italic_; }

    // Building a configuration (the stores).
    // Stores a colour group under its name (replacing one of that name in
    // place) and returns its index; the special indices follow the names
    // "Text", "Text Selection", "Number" and "Operator".
    int PutColorGroup(const std::string& name, const VxEditColorGroup& group);
    int FindColorGroup(const std::string& name) const { return groups_.IndexOf(name); }
    std::string GetColorGroupName(int index) const { return groups_.NameOf(index); }
    std::vector<std::pair<std::string, int>> GetColorGroupNames() const { return groups_.Names(); }
    // Enters a tag under its BeginTag; the tag entered last wins over tags
    // with the same BeginTag or a BeginTag that is a leading part of it.
    void AddTag(const VxEditLangTag& tag) { tags_.Enter(tag); }
    void SetKeyword(const std::string& keyword, int group) { keywords_.Set(keyword, group); }

    const VxEditLangTagTable& GetTagTable() const { return tags_; }
    const VxEditKeywordTable& GetKeywordTable() const { return keywords_; }
    const VxEditCharSet* GetCharSet(int set) const;

private:
    ~VxEditLangConfig() override = default;

    bool Store(tarrow::foundation::CArchive& archive) const;
    bool Load(tarrow::foundation::CArchive& archive);
    bool LoadGroups(tarrow::foundation::CArchive& archive);
    bool LoadTags(tarrow::foundation::CArchive& archive);
    bool LoadOptions(tarrow::foundation::CArchive& archive);
    bool LoadTables(tarrow::foundation::CArchive& archive);
    void TakeContentFrom(VxEditLangConfig& other);
    void UpdateSpecialGroups();

    std::string name_;
    int showWhitespace_ = 0;
    int replaceTabs_ = 0;
    int virtualWhitespace_ = 0;
    int tabSize_ = 4;
    int autoIndent_ = 0;
    int matchCase_ = 1;
    std::string faceName_;
    int size_ = 10;
    int italic_ = 0;
    int bold_ = 0;
    VxEditKeywordTable keywords_;
    std::array<VxEditCharSet, kSetCount> sets_;
    VxEditLangTagTable tags_;
    VxEditColorGroupTable groups_;
    std::array<int, 4> special_ = {0, 1, 2, 3};
};

#include "view/VxEditColours.h"

#include "language/VxEditLangConfig.h"

QColor VxEditColours::FromColorRef(std::uint32_t value)
{
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

VxEditColours::VxEditColours(const VxEditLangConfig* config, const QPalette& palette)
    : config_(config)
{
    base_ = {palette.color(QPalette::Text), palette.color(QPalette::Base)};
    const VxEditColorGroup* first = config ? config->GetColorGroup(0) : nullptr;
    if (first) {
        if (!first->ForeColorAutomatic)
            base_.foreground = FromColorRef(first->Foreground);
        if (!first->BackColorAutomatic)
            base_.background = FromColorRef(first->Background);
    }
    text_ = config ? Resolve(config->GetSpecialColorGroup(IVxEditLangConfig::kTextGroup)) : base_;
    // The selection's colours are used as they stand.
    const VxEditColorGroup* selection =
        config ? config->GetSpecialColorGroup(IVxEditLangConfig::kSelectionGroup) : nullptr;
    if (selection)
        selection_ = {FromColorRef(selection->Foreground), FromColorRef(selection->Background)};
    else
        selection_ = {palette.color(QPalette::HighlightedText), palette.color(QPalette::Highlight)};
}

VxEditColourPair VxEditColours::Resolve(const VxEditColorGroup* group) const
{
    if (!group)
        return base_;
    VxEditColourPair pair;
    pair.foreground = group->ForeColorAutomatic ? base_.foreground : FromColorRef(group->Foreground);
    pair.background = group->BackColorAutomatic ? base_.background : FromColorRef(group->Background);
    return pair;
}

VxEditColourPair VxEditColours::Group(int index) const
{
    if (index == 0)
        return base_;
    return Resolve(config_ ? config_->GetColorGroup(index) : nullptr);
}

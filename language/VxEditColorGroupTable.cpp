#include "language/VxEditColorGroupTable.h"

int VxEditColorGroupTable::Put(const std::string& name, const VxEditColorGroup& group)
{
    const int known = IndexOf(name);
    if (known >= 0 && known < Count()) {
        groups_[static_cast<std::size_t>(known)] = std::make_unique<VxEditColorGroup>(group);
        return known;
    }
    const int index = Append(group);
    names_[name] = index;
    return index;
}

int VxEditColorGroupTable::Append(const VxEditColorGroup& group)
{
    groups_.push_back(std::make_unique<VxEditColorGroup>(group));
    return Count() - 1;
}

VxEditColorGroup* VxEditColorGroupTable::At(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return groups_[static_cast<std::size_t>(index)].get();
}

int VxEditColorGroupTable::IndexOf(const std::string& name) const
{
    auto it = names_.find(name);
    return it == names_.end() ? -1 : it->second;
}

std::string VxEditColorGroupTable::NameOf(int index) const
{
    for (const auto& [name, at] : names_) {
        if (at == index)
            return name;
    }
    return {};
}

void VxEditColorGroupTable::Clear()
{
    groups_.clear();
    names_.clear();
}

#pragma once

#include "language/VxEditColorGroup.h"

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The colour groups of a language configuration in index order, and the
// table from each group's name (its key in the stores) to its index. A name
// is not the group's DisplayName; the two may differ.
class VxEditColorGroupTable {
public:
    VxEditColorGroupTable() = default;
    VxEditColorGroupTable(VxEditColorGroupTable&&) noexcept = default;
    VxEditColorGroupTable& operator=(VxEditColorGroupTable&&) noexcept = default;

    // Stores the group under the name: a group already known by that name is
    // destroyed and replaced at its index, otherwise the group is appended.
    // Returns the group's index.
    int Put(const std::string& name, const VxEditColorGroup& group);
    // Appends a group without a name (binary form); returns its index.
    int Append(const VxEditColorGroup& group);
    // Enters a name for an existing index (binary form).
    void SetName(const std::string& name, int index) { names_[name] = index; }

    VxEditColorGroup* At(int index) const;
    int Count() const { return static_cast<int>(groups_.size()); }
    const std::vector<std::unique_ptr<VxEditColorGroup>>& Groups() const { return groups_; }

    // The index of the named group, or -1.
    int IndexOf(const std::string& name) const;
    // The first name (in name order) of the group at index, or "" when it has none.
    std::string NameOf(int index) const;
    // Every name and its index, in name order.
    std::vector<std::pair<std::string, int>> Names() const { return {names_.begin(), names_.end()}; }
    std::size_t NameCount() const { return names_.size(); }

    void Clear();

private:
    std::vector<std::unique_ptr<VxEditColorGroup>> groups_;
    std::map<std::string, int> names_;
};

#pragma once

#include <string_view>

namespace quillet::resources {

// The bytes of the resource built into the program with that type (compared
// without regard to case) and id; empty when there is none.
std::string_view Find(std::string_view type, int id);

}  // namespace quillet::resources

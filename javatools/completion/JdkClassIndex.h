#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// A public top-level class of a JDK: "HashMap" in "java.util".
struct JdkClass {
    std::string name;
    std::string package;

    bool operator==(const JdkClass&) const = default;
};

// The classes of one JDK sorted by simple name, then package, so that the
// classes a prefix starts are one binary search away.
class JdkClassIndex {
public:
    JdkClassIndex() = default;
    explicit JdkClassIndex(std::vector<JdkClass> classes);

    std::size_t Size() const { return classes_.size(); }
    const std::vector<JdkClass>& Classes() const { return classes_; }
    std::span<const JdkClass> WithPrefix(std::string_view prefix) const;
    bool Has(std::string_view name, std::string_view package) const;

    // One class a line, "name<TAB>package"; Parse skips lines of any other
    // form.
    std::string Serialize() const;
    static JdkClassIndex Parse(std::string_view text);

private:
    std::vector<JdkClass> classes_;
};

// The class tree's members: the outline of a Java text lists each type's
// constructors, methods and fields in source order with nested types under
// their outer type. Real OpenJDK sources are compiled with javac and every
// top-level and nested type's members are compared with what javap reads
// from its class file (names and parameter counts).
#include "engine/VxScrivoMember.h"
#include "javatools/classview/MemberScanner.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSourceZip = "/usr/lib/jvm/java-17-openjdk-amd64/lib/src.zip";

std::vector<VxScrivoMember> Outline(const std::string& text)
{
    return MemberScanner::Scan(text.data(), text.size());
}

// "label kind parent line" lines, easy to read in a failure.
std::vector<std::string> Describe(const std::vector<VxScrivoMember>& outline)
{
    static const char* const kKinds[] = {"class", "interface", "enum", "record", "constructor", "method", "field"};
    std::vector<std::string> lines;
    for (const VxScrivoMember& m : outline) {
        const std::string parent = m.parent < 0 ? "-" : outline[static_cast<std::size_t>(m.parent)].name;
        lines.push_back(m.label + " " + kKinds[m.kind] + " in " + parent + " at " + std::to_string(m.line));
    }
    return lines;
}

TEST(MemberOutline, ListsEachTypesMembersInSourceOrderAndLeavesBodiesAlone)
{
    const std::string text = ReadFileBytes(QUILLET_MEMBERS_JAVA);
    const std::vector<std::string> expected = {
        "Members class in - at 5",
        "serialVersionUID field in Members at 6",
        "table field in Members at 7",
        "spare field in Members at 7",
        "counts field in Members at 8",
        "more field in Members at 8",
        "text field in Members at 9",
        "brace field in Members at 12",
        "action field in Members at 13",
        "anonymous field in Members at 14",
        "Members() constructor in Members at 22",
        "Members(int) constructor in Members at 23",
        "Members(Map<? extends K, ? extends V>, int...) constructor in Members at 24",
        "put(K, V) method in Members at 26",
        "toArray(T[]) method in Members at 27",
        "iterator() method in Members at 28",
        "sum(int[], long) method in Members at 29",
        "Node class in Members at 30",
        "key field in Node at 31",
        "Node(K) constructor in Node at 32",
        "getValue() method in Node at 33",
        "Visitor interface in Members at 35",
        "LIMIT field in Visitor at 36",
        "visit(Node<?, ?>) method in Visitor at 37",
        "done() method in Visitor at 38",
        "Colour enum in Members at 40",
        "RED field in Colour at 41",
        "GREEN field in Colour at 42",
        "BLUE field in Colour at 43",
        "letter field in Colour at 44",
        "Colour(String) constructor in Colour at 45",
        "code() method in Colour at 46",
        "Point record in Members at 48",
        "x field in Point at 48",
        "y field in Point at 48",
        "ORIGIN field in Point at 49",
        "Point(int, T) constructor in Point at 50",
        "compareTo(Point<T>) method in Point at 53",
        "Marker interface in Members at 55",
        "value() method in Marker at 56",
        "sizes() method in Marker at 57",
        "Inner class in Members at 59",
        "Inner(Supplier<String>) constructor in Inner at 60",
        "Second class in - at 64",
        "only() method in Second at 65",
    };
    EXPECT_EQ(expected, Describe(Outline(text)));
}

TEST(MemberOutline, StepsOfAnySizeGiveTheWholeScansOutline)
{
    const std::string text = ReadFileBytes(QUILLET_MEMBERS_JAVA);
    const std::vector<VxScrivoMember> whole = Outline(text);
    for (std::size_t step : {1u, 7u, 100u}) {
        MemberScanner scanner;
        std::size_t until = 0;
        while (!scanner.Step(text.data(), text.size(), until += step))
            continue;
        EXPECT_EQ(whole, scanner.Take()) << "steps of " << step;
    }
}

TEST(MemberOutline, CarriageReturnLinesAndUnfinishedTextsDoNoHarm)
{
    const std::vector<VxScrivoMember> outline = Outline("class A {\r\n  int x;\r\n  void f() {\r\n");
    ASSERT_EQ(outline.size(), 3u);
    EXPECT_EQ(outline[1].line, 1);
    EXPECT_EQ(outline[2].label, "f()");
    EXPECT_EQ(outline[2].line, 2);
    EXPECT_TRUE(Outline("class { ( ] } } ;;").size() <= 1u);
}

// One member of a class as javap reads it, or as the outline has it.
struct Member {
    bool field;
    std::string name;
    int parameters;
    bool operator<(const Member& o) const
    {
        return std::tie(field, name, parameters) < std::tie(o.field, o.name, o.parameters);
    }
    bool operator==(const Member&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Member& m)
{
    return out << (m.field ? "field " : "") << m.name << (m.field ? "" : "/" + std::to_string(m.parameters));
}

int DescriptorParameters(const std::string& descriptor)
{
    int count = 0;
    for (std::size_t i = 1; i < descriptor.size() && descriptor[i] != ')'; ++i) {
        while (descriptor[i] == '[')
            ++i;
        if (descriptor[i] == 'L')
            i = descriptor.find(';', i);
        ++count;
    }
    return count;
}

struct ClassFile {
    bool isEnum = false;
    std::vector<Member> members;
};

// javap -p -v of many class files: by binary name without the package
// ("HashMap$Node"), the members javac did not make up itself.
std::map<std::string, ClassFile> ReadJavap(const std::string& output)
{
    std::map<std::string, ClassFile> classes;
    std::istringstream in(output);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ClassFile* current = nullptr;
    bool inBody = false;  // the members stand between "{" and "}"
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.rfind("Classfile ", 0) == 0) {
            std::string name = fs::path(line.substr(10)).stem().string();
            current = &classes[name];
            inBody = false;
            continue;
        }
        if (line == "{" || line == "}")
            inBody = line == "{";
        if (!current)
            continue;
        if (line.rfind("  flags: ", 0) == 0 && line.find("ACC_ENUM") != std::string::npos)
            current->isEnum = true;
        const bool declaration = line.size() > 3 && line.rfind("  ", 0) == 0 && line[2] != ' ' && line.back() == ';' &&
                                 i + 2 < lines.size() && lines[i + 1].rfind("    descriptor: ", 0) == 0;
        if (!inBody || !declaration || line == "  static {};")
            continue;
        const std::string descriptor = lines[i + 1].substr(16);
        const std::string& flags = lines[i + 2];
        if (flags.find("ACC_SYNTHETIC") != std::string::npos || flags.find("ACC_BRIDGE") != std::string::npos)
            continue;
        Member member{descriptor[0] != '(', {}, 0};
        std::string head = line.substr(0, member.field ? line.size() - 1 : line.find('('));
        head = head.substr(head.find_last_of(' ') + 1);
        head = head.substr(head.find_last_of('.') + 1);
        member.name = head.substr(head.find_last_of('$') + 1);
        if (!member.field) {
            member.parameters = DescriptorParameters(descriptor);
            // With -parameters, the ones javac adds are marked.
            for (std::size_t j = i + 3; j < lines.size() && lines[j].rfind("    ", 0) == 0; ++j) {
                if (lines[j] != "    MethodParameters:")
                    continue;
                member.parameters = 0;
                for (std::size_t k = j + 1; k < lines.size() && lines[k].rfind("      ", 0) == 0; ++k) {
                    const std::string& entry = lines[k];
                    if (entry.rfind("      Name ", 0) != 0 && entry.find("synthetic") == std::string::npos &&
                        entry.find("mandated") == std::string::npos)
                        ++member.parameters;
                }
                break;
            }
        }
        current->members.push_back(member);
    }
    return classes;
}

class MemberJavapTest : public ::testing::Test {
protected:
    // Compares the outline of each source with the class files javac made of it.
    static void Compare(const std::vector<fs::path>& sources, const fs::path& classes)
    {
        std::vector<std::string> javap = {"javap", "-p", "-v"};
        for (const auto& entry : fs::recursive_directory_iterator(classes)) {
            const std::string name = entry.path().stem().string();
            const std::size_t dollar = name.find('$');
            // Anonymous and local classes ($1, $1Local) have no place in the tree.
            bool local = false;
            for (std::size_t at = dollar; at != std::string::npos; at = name.find('$', at + 1))
                local = local || (at + 1 < name.size() && std::isdigit(static_cast<unsigned char>(name[at + 1])));
            if (entry.path().extension() == ".class" && !local)
                javap.push_back(entry.path().string());
        }
        const ProcessResult listed = RunProcess(javap);
        ASSERT_EQ(0, listed.exitStatus) << listed.err;
        std::map<std::string, ClassFile> read = ReadJavap(listed.out);

        int typesCompared = 0;
        for (const fs::path& source : sources) {
            const std::vector<VxScrivoMember> outline = Outline(ReadFileBytes(source.string()));
            for (std::size_t t = 0; t < outline.size(); ++t) {
                if (!outline[t].IsType())
                    continue;
                std::string binary = outline[t].name;
                for (int p = outline[t].parent; p >= 0; p = outline[static_cast<std::size_t>(p)].parent)
                    binary = outline[static_cast<std::size_t>(p)].name + "$" + binary;
                SCOPED_TRACE(source.filename().string() + ": " + binary);
                ASSERT_TRUE(read.count(binary)) << "no class file for it";
                std::vector<Member> ours;
                bool constructors = false;
                for (const VxScrivoMember& m : outline) {
                    if (m.parent != static_cast<int>(t) || m.IsType())
                        continue;
                    ours.push_back(Member{m.kind == VxScrivoMember::kField, m.name, m.parameters});
                    constructors = constructors || m.kind == VxScrivoMember::kConstructor;
                }
                std::vector<Member> theirs;
                for (const Member& m : read[binary].members) {
                    const bool constructor = !m.field && m.name == outline[t].name;
                    // What javac declares by itself: a default constructor, an
                    // enum's values and valueOf, a record's accessors and methods.
                    if (constructor && !constructors)
                        continue;
                    if (read[binary].isEnum && !m.field &&
                        ((m.name == "values" && m.parameters == 0) || (m.name == "valueOf" && m.parameters <= 1)))
                        continue;
                    if (outline[t].kind == VxScrivoMember::kRecord && !m.field &&
                        std::find(ours.begin(), ours.end(), m) == ours.end())
                        continue;
                    theirs.push_back(m);
                }
                std::sort(ours.begin(), ours.end());
                std::sort(theirs.begin(), theirs.end());
                EXPECT_EQ(theirs, ours);
                ++typesCompared;
            }
        }
        EXPECT_GT(typesCompared, 0);
    }
};

TEST_F(MemberJavapTest, TheOutlineOfATestFileMatchesItsClassFiles)
{
    TempDir dir;
    const ProcessResult compiled =
        RunProcess({"javac", "-parameters", "-nowarn", "-d", dir.File("classes"), QUILLET_MEMBERS_JAVA});
    ASSERT_EQ(0, compiled.exitStatus) << compiled.err;
    Compare({QUILLET_MEMBERS_JAVA}, dir.Path() / "classes");
}

TEST_F(MemberJavapTest, TheOutlineOfOpenJdkSourcesMatchesTheirClassFiles)
{
    if (!fs::exists(kSourceZip))
        GTEST_SKIP() << kSourceZip << " is missing (Debian package openjdk-17-source)";
    TempDir dir;
    const std::vector<std::string> files = {
        "java.base/java/util/HashMap.java",      "java.base/java/util/ArrayList.java",
        "java.base/java/util/TreeMap.java",      "java.base/java/util/Optional.java",
        "java.base/java/util/Collections.java",  "java.base/java/lang/Thread.java",
        "java.base/java/util/stream/Collectors.java",
        "java.base/java/util/concurrent/ConcurrentHashMap.java",
    };
    std::vector<std::string> unpack = {"jar", "xf", kSourceZip};
    unpack.insert(unpack.end(), files.begin(), files.end());
    const ProcessResult unpacked = RunProcess(unpack, dir.Path().string());
    ASSERT_EQ(0, unpacked.exitStatus) << unpacked.err;
    // Compiled as the module's own sources; everything else comes from the JDK.
    std::vector<std::string> javac = {"javac", "--patch-module", "java.base=" + dir.File("java.base"),
                                      "-implicit:none", "-proc:none", "-nowarn", "-parameters",
                                      "-d", dir.File("classes")};
    std::vector<fs::path> sources;
    for (const std::string& file : files) {
        javac.push_back(dir.File(file));
        sources.push_back(dir.Path() / file);
    }
    const ProcessResult compiled = RunProcess(javac);
    ASSERT_EQ(0, compiled.exitStatus) << compiled.err;
    Compare(sources, dir.Path() / "classes");
}

}  // namespace
}  // namespace quillet::test

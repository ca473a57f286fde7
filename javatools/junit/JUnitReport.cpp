#include "javatools/junit/JUnitReport.h"

#include "javatools/junit/XmlTree.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

// The value of "key: value" on a line of its own in the text.
std::string LineValue(std::string_view text, std::string_view key)
{
    std::string value;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.starts_with(key) && line.substr(key.size()).starts_with(": "))
            value = std::string(line.substr(key.size() + 2));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return value;
}

double Seconds(const std::string& text)
{
    if (text.empty())
        return 0;
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    double value = 0;
    in >> value;
    return in.fail() ? 0 : value;
}

TestCaseResult ReadTestCase(const XmlElement& element, const std::string& suite)
{
    TestCaseResult test;
    test.suite = suite;
    test.className = element.Attribute("classname");
    test.testName = element.Attribute("name");
    test.seconds = Seconds(element.Attribute("time"));
    for (const XmlElement& child : element.children) {
        if (child.name == "failure" || child.name == "error") {
            test.status = child.name == "failure" ? TestStatus::Failed : TestStatus::Error;
            test.message = child.Attribute("message");
            test.exceptionType = child.Attribute("type");
            test.trace = child.text;
            test.frames = ParseStackFrames(test.trace);
        } else if (child.name == "skipped") {
            test.status = TestStatus::Skipped;
            test.message = child.HasAttribute("message") ? child.Attribute("message") : child.text;
        } else if (child.name == "system-out") {
            // The console launcher writes the test's identity here.
            test.uniqueId = LineValue(child.text, "unique-id");
            test.displayName = LineValue(child.text, "display-name");
        }
    }
    if (test.displayName.empty())
        test.displayName = test.testName;
    return test;
}

void ReadSuite(const XmlElement& suite, JUnitReport& report)
{
    const std::string name = suite.Attribute("name");
    for (const XmlElement& child : suite.children) {
        if (child.name == "testcase")
            report.tests.push_back(ReadTestCase(child, name));
        else if (child.name == "testsuite")
            ReadSuite(child, report);
    }
}

}  // namespace

bool ReadJUnitReport(std::string_view xml, JUnitReport& report, std::string* error)
{
    XmlElement root;
    if (!ParseXml(xml, root, error))
        return false;
    if (root.name != "testsuite" && root.name != "testsuites") {
        *error = "the root element is <" + root.name + ">, not <testsuite>";
        return false;
    }
    ReadSuite(root, report);
    return true;
}

bool ReadJUnitReportsIn(const std::string& folder, JUnitReport& report, std::string* error)
{
    std::vector<std::filesystem::path> files;
    std::error_code failure;
    for (std::filesystem::directory_iterator it(folder, failure), end; !failure && it != end;
         it.increment(failure)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with("TEST-") && name.ends_with(".xml"))
            files.push_back(it->path());
    }
    if (failure) {
        *error = "Could not read the folder " + folder + ": " + failure.message();
        return false;
    }
    if (files.empty()) {
        *error = "There is no test report (TEST-*.xml) in " + folder + ".";
        return false;
    }
    std::sort(files.begin(), files.end());
    for (const std::filesystem::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::string why;
        if (!in.good() && !in.eof()) {
            *error = "Could not read " + file.string() + ".";
            return false;
        }
        if (!ReadJUnitReport(text, report, &why)) {
            *error = file.string() + ": " + why;
            return false;
        }
    }
    return true;
}

TestCounts CountTests(const JUnitReport& report)
{
    TestCounts counts;
    for (const TestCaseResult& test : report.tests) {
        switch (test.status) {
        case TestStatus::Passed: ++counts.passed; break;
        case TestStatus::Failed: ++counts.failed; break;
        case TestStatus::Error: ++counts.errors; break;
        case TestStatus::Skipped: ++counts.skipped; break;
        }
    }
    return counts;
}

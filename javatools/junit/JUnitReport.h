#pragma once

#include "javatools/junit/StackFrames.h"

#include <string>
#include <string_view>
#include <vector>

// The results of a JUnit run as the console launcher reports them with
// --reports-dir: one legacy XML file per test engine
// (TEST-junit-jupiter.xml, TEST-junit-vintage.xml, ...), each a
// <testsuite> of <testcase> elements. Read into plain structs for the
// windows to show.

enum class TestStatus { Passed, Failed, Error, Skipped };

struct TestCaseResult {
    // The engine's suite: "JUnit Jupiter", "JUnit Vintage".
    std::string suite;
    // The test's class, nested classes after '$': "demo.CalcTest$Inner".
    std::string className;
    // The method as the report names it: "adds()", "positive(int)[2]" for
    // an invocation of a parameterized test, "passes" for JUnit 4.
    std::string testName;
    // What the test calls itself (@DisplayName, "[2] 2"); testName when the
    // report does not say.
    std::string displayName;
    // The engine's unique id of the test, when the report gives it.
    std::string uniqueId;
    TestStatus status = TestStatus::Passed;
    double seconds = 0;
    // Why it failed or was skipped, and the exception's class.
    std::string message;
    std::string exceptionType;
    // The whole stack trace, and its frames.
    std::string trace;
    std::vector<StackFrame> frames;
};

struct JUnitReport {
    std::vector<TestCaseResult> tests;
};

// Reads one report file's text; false with the reason when it is not a
// report.
bool ReadJUnitReport(std::string_view xml, JUnitReport& report, std::string* error);

// Reads every "TEST-*.xml" of the folder, in name order, into one report;
// false with the reason when there is none or one cannot be read.
bool ReadJUnitReportsIn(const std::string& folder, JUnitReport& report, std::string* error);

// Counts of each status.
struct TestCounts {
    int passed = 0;
    int failed = 0;
    int errors = 0;
    int skipped = 0;
};
TestCounts CountTests(const JUnitReport& report);

// The reports of a real JUnit run: JUnit 5 and JUnit 4 tests compiled with
// the JDK's javac and run by the console launcher with --reports-dir, then
// read back; and reports that are cut short or are not reports.

#include "javatools/junit/JUnitLocator.h"
#include "javatools/junit/JUnitReport.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace fs = std::filesystem;
using quillet::test::ProcessResult;
using quillet::test::RunProcess;
using quillet::test::TempDir;
using quillet::test::WriteFileBytes;

namespace {

constexpr const char* kLauncher = "/usr/share/java/junit-platform-console-standalone.jar";
constexpr const char* kJUnit4 = "/usr/share/java/junit4.jar";
constexpr const char* kHamcrest = "/usr/share/java/hamcrest-core.jar";

constexpr const char* kJupiterTests = R"(package demo;

import static org.junit.jupiter.api.Assertions.*;
import org.junit.jupiter.api.*;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.ValueSource;

class CalcTest {
    @Test void adds() { assertEquals(4, 2 + 2); }
    @Test void failsOnPurpose() {
        assertEquals(5, 2 + 2, "two and two");
    }
    @Test void throwsOnPurpose() { Helper.breakDown(); }
    @Disabled("not ready") @Test void skipped() {}
    @ParameterizedTest @ValueSource(ints = {1, 2, 3}) void positive(int n) { assertTrue(n < 3); }
    @Test @DisplayName("prüft 中文 ✓") void unicode() {}
    @Test void grüße() {}
    @Nested class Inner {
        @Test void deep() { fail("deep failure"); }
    }
}

class Helper {
    static void breakDown() {
        throw new IllegalStateException("broken <state> & \"more\"");
    }
}
)";

constexpr const char* kVintageTests = R"(package demo;

import static org.junit.Assert.*;
import org.junit.Ignore;
import org.junit.Test;

public class OldTest {
    @Test public void passes() { assertEquals(1, 1); }
    @Test public void fails() { assertEquals("expected", "actual"); }
    @Test public void errs() { Object o = null; o.toString(); }
    @Ignore("later") @Test public void ignored() {}
}
)";

// The test of that class and name (its name in the report).
const TestCaseResult& Find(const JUnitReport& report, const std::string& className, const std::string& name)
{
    for (const TestCaseResult& test : report.tests) {
        if (test.className == className && test.testName == name)
            return test;
    }
    static const TestCaseResult none;
    ADD_FAILURE() << "no test " << className << " " << name;
    return none;
}

// The program's own frames of a test.
std::vector<StackFrame> UserFrames(const TestCaseResult& test)
{
    std::vector<StackFrame> frames;
    for (const StackFrame& frame : test.frames) {
        if (frame.user)
            frames.push_back(frame);
    }
    return frames;
}

}  // namespace

TEST(JUnitReport, RealRunOfJUnit5AndJUnit4TestsIsReadBack)
{
    for (const char* jar : {kLauncher, kJUnit4, kHamcrest}) {
        if (!fs::exists(jar))
            GTEST_SKIP() << jar << " is missing (Debian's junit5 and junit4)";
    }
    TempDir dir;
    WriteFileBytes(dir.File("CalcTest.java"), kJupiterTests);
    WriteFileBytes(dir.File("OldTest.java"), kVintageTests);
    const std::string classes = dir.File("classes");
    const std::string classPath = std::string(kLauncher) + ":" + kJUnit4 + ":" + kHamcrest;
    const ProcessResult javac = RunProcess({"javac", "-encoding", "UTF-8", "-d", classes, "-cp", classPath,
                                            dir.File("CalcTest.java"), dir.File("OldTest.java")});
    ASSERT_EQ(javac.exitStatus, 0) << javac.err;
    const std::string reports = dir.File("reports");
    const ProcessResult run = RunProcess({"java", "-Dfile.encoding=UTF-8", "-jar", kLauncher, "--disable-banner",
                                          "--class-path", classes + ":" + kJUnit4 + ":" + kHamcrest,
                                          "--scan-class-path", "--reports-dir", reports});
    ASSERT_EQ(run.exitStatus, 1) << run.out << run.err;  // some tests fail

    JUnitReport report;
    std::string error;
    ASSERT_TRUE(ReadJUnitReportsIn(reports, report, &error)) << error;
    const TestCounts counts = CountTests(report);
    EXPECT_EQ(counts.passed, 6);   // adds, positive [1] [2], unicode, grüße, passes
    EXPECT_EQ(counts.failed, 4);   // failsOnPurpose, positive [3], deep, fails
    EXPECT_EQ(counts.errors, 2);   // throwsOnPurpose, errs
    EXPECT_EQ(counts.skipped, 2);  // skipped, ignored
    EXPECT_EQ(report.tests.size(), 14u);

    const TestCaseResult& adds = Find(report, "demo.CalcTest", "adds()");
    EXPECT_EQ(adds.suite, "JUnit Jupiter");
    EXPECT_EQ(adds.status, TestStatus::Passed);
    EXPECT_EQ(adds.uniqueId, "[engine:junit-jupiter]/[class:demo.CalcTest]/[method:adds()]");
    EXPECT_GE(adds.seconds, 0.0);

    const TestCaseResult& failed = Find(report, "demo.CalcTest", "failsOnPurpose()");
    EXPECT_EQ(failed.status, TestStatus::Failed);
    EXPECT_EQ(failed.message, "two and two ==> expected: <5> but was: <4>");
    EXPECT_EQ(failed.exceptionType, "org.opentest4j.AssertionFailedError");
    ASSERT_EQ(UserFrames(failed).size(), 1u);
    EXPECT_EQ(UserFrames(failed)[0].method, "demo.CalcTest.failsOnPurpose");
    EXPECT_EQ(UserFrames(failed)[0].file, "CalcTest.java");
    EXPECT_EQ(UserFrames(failed)[0].line, 11);

    // An exception thrown a call deeper: both of the program's frames.
    const TestCaseResult& thrown = Find(report, "demo.CalcTest", "throwsOnPurpose()");
    EXPECT_EQ(thrown.status, TestStatus::Error);
    EXPECT_EQ(thrown.message, "broken <state> & \"more\"");
    EXPECT_EQ(thrown.exceptionType, "java.lang.IllegalStateException");
    const std::vector<StackFrame> thrownFrames = UserFrames(thrown);
    ASSERT_EQ(thrownFrames.size(), 2u);
    EXPECT_EQ(thrownFrames[0].method, "demo.Helper.breakDown");
    EXPECT_EQ(thrownFrames[0].line, 25);
    EXPECT_EQ(thrownFrames[1].method, "demo.CalcTest.throwsOnPurpose");
    EXPECT_EQ(thrownFrames[1].line, 13);

    const TestCaseResult& skipped = Find(report, "demo.CalcTest", "skipped()");
    EXPECT_EQ(skipped.status, TestStatus::Skipped);
    EXPECT_EQ(skipped.message, "not ready");

    const TestCaseResult& third = Find(report, "demo.CalcTest", "positive(int)[3]");
    EXPECT_EQ(third.status, TestStatus::Failed);
    EXPECT_EQ(third.displayName, "[3] 3");
    EXPECT_EQ(Find(report, "demo.CalcTest", "positive(int)[1]").status, TestStatus::Passed);

    EXPECT_EQ(Find(report, "demo.CalcTest", "unicode()").displayName, "prüft 中文 ✓");
    EXPECT_EQ(Find(report, "demo.CalcTest", "grüße()").status, TestStatus::Passed);

    const TestCaseResult& deep = Find(report, "demo.CalcTest$Inner", "deep()");
    EXPECT_EQ(deep.status, TestStatus::Failed);
    EXPECT_EQ(deep.message, "deep failure");
    ASSERT_EQ(UserFrames(deep).size(), 1u);
    EXPECT_EQ(UserFrames(deep)[0].method, "demo.CalcTest$Inner.deep");
    EXPECT_EQ(UserFrames(deep)[0].line, 19);

    // JUnit 4 through the vintage engine.
    const TestCaseResult& old = Find(report, "demo.OldTest", "fails");
    EXPECT_EQ(old.suite, "JUnit Vintage");
    EXPECT_EQ(old.status, TestStatus::Failed);
    EXPECT_EQ(old.exceptionType, "org.junit.ComparisonFailure");
    ASSERT_EQ(UserFrames(old).size(), 1u);
    EXPECT_EQ(UserFrames(old)[0].file, "OldTest.java");
    EXPECT_EQ(UserFrames(old)[0].line, 9);
    const TestCaseResult& errs = Find(report, "demo.OldTest", "errs");
    EXPECT_EQ(errs.status, TestStatus::Error);
    EXPECT_EQ(errs.exceptionType, "java.lang.NullPointerException");
    EXPECT_EQ(Find(report, "demo.OldTest", "ignored").status, TestStatus::Skipped);
    EXPECT_EQ(Find(report, "demo.OldTest", "ignored").message, "later");
    EXPECT_EQ(Find(report, "demo.OldTest", "passes").status, TestStatus::Passed);
}

TEST(JUnitReport, FramesOfTheJdkAndFrameworksAreNotTheProgramsOwn)
{
    const std::vector<StackFrame> frames = ParseStackFrames(
        "java.lang.RuntimeException: x\n"
        "\tat app//demo.A.run(A.java:3)\n"
        "\tat java.base/jdk.internal.reflect.NativeMethodAccessorImpl.invoke0(Native Method)\n"
        "\tat org.junit.platform.commons.util.ReflectionUtils.invokeMethod(ReflectionUtils.java:727)\n"
        "\tat demo.B.<init>(Unknown Source)\n"
        "Caused by: java.io.IOException: y\n"
        "\tat demo.C.read(C.java:44)\r\n"
        "\t... 5 more\n");
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_EQ(frames[0].method, "demo.A.run");
    EXPECT_TRUE(frames[0].user);
    EXPECT_EQ(frames[1].method, "jdk.internal.reflect.NativeMethodAccessorImpl.invoke0");
    EXPECT_FALSE(frames[1].user);
    EXPECT_EQ(frames[1].line, 0);
    EXPECT_FALSE(frames[2].user);
    EXPECT_FALSE(frames[3].user);
    EXPECT_EQ(frames[4].file, "C.java");
    EXPECT_EQ(frames[4].line, 44);
    EXPECT_TRUE(frames[4].user);
}

// A report cut short (a run killed while it wrote) or some other XML is
// refused with a reason, and nothing is made up.
TEST(JUnitReport, CutShortOrForeignFilesAreRefused)
{
    const std::string whole =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- written by hand -->\n"
        "<testsuite name=\"S\"><testcase name=\"t&#x4E2D;&#20013;\" classname=\"a.B\" time=\"1.5\">"
        "<failure message=\"m &lt;1&gt;\" type=\"E\"><![CDATA[E: m <1>\n\tat a.B.t(B.java:7)\n]]></failure>"
        "</testcase></testsuite>\n";
    JUnitReport report;
    std::string error;
    ASSERT_TRUE(ReadJUnitReport(whole, report, &error)) << error;
    ASSERT_EQ(report.tests.size(), 1u);
    EXPECT_EQ(report.tests[0].testName, "t中中");
    EXPECT_EQ(report.tests[0].seconds, 1.5);
    EXPECT_EQ(report.tests[0].message, "m <1>");
    EXPECT_EQ(report.tests[0].frames.size(), 1u);

    for (std::size_t cut = 0; cut + 2 < whole.size(); cut += 7) {
        JUnitReport partial;
        std::string why;
        EXPECT_FALSE(ReadJUnitReport(whole.substr(0, cut), partial, &why)) << cut;
        EXPECT_FALSE(why.empty());
    }
    JUnitReport foreign;
    EXPECT_FALSE(ReadJUnitReport("<html><body/></html>", foreign, &error));
    EXPECT_NE(error.find("<html>"), std::string::npos);
    EXPECT_FALSE(ReadJUnitReport("<testsuite><testcase name=\"x\"></testsuit>", foreign, &error));
    EXPECT_FALSE(ReadJUnitReport("<testsuite a=\"&bogus;\"/>", foreign, &error));
    EXPECT_TRUE(foreign.tests.empty());

    TempDir empty;
    EXPECT_FALSE(ReadJUnitReportsIn(empty.Path().string(), foreign, &error));
    EXPECT_NE(error.find("TEST-*.xml"), std::string::npos);
}

// The unversioned launcher first, else the newest version by its numbers.
TEST(JUnitLocator, FindsTheLauncherJar)
{
    TempDir dir;
    const std::string folder = dir.Path().string();
    EXPECT_EQ(FindJUnitLauncher(folder), "");
    WriteFileBytes(dir.File("junit-platform-console-standalone-1.9.1.jar"), "");
    WriteFileBytes(dir.File("junit-platform-console-standalone-1.10.0.jar"), "");
    WriteFileBytes(dir.File("junit-platform-console-1.99.0.jar"), "");
    EXPECT_EQ(FindJUnitLauncher(folder), dir.File("junit-platform-console-standalone-1.10.0.jar"));
    WriteFileBytes(dir.File("junit-platform-console-standalone.jar"), "");
    EXPECT_EQ(FindJUnitLauncher(folder), dir.File("junit-platform-console-standalone.jar"));
}

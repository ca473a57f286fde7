#include "tests/support/Unprivileged.h"

#include "tests/support/Process.h"

#include <gtest/gtest.h>

#include <climits>
#include <pwd.h>
#include <string>
#include <unistd.h>

namespace quillet::test {

bool RanAsUnprivilegedChild()
{
    if (geteuid() != 0)
        return false;
    const passwd* nobody = getpwnam("nobody");
    if (!nobody || RunProcess({"sh", "-c", "command -v setpriv"}).exitStatus != 0) {
        [] { GTEST_SKIP() << "no user 'nobody' or no setpriv to run this test without root's rights"; }();
        return true;
    }
    char self[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) {
        ADD_FAILURE() << "cannot find this test program";
        return true;
    }
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter = std::string(test->test_suite_name()) + "." + test->name();
    const ProcessResult child = RunProcess(
        {"setpriv", "--reuid=" + std::to_string(nobody->pw_uid), "--regid=" + std::to_string(nobody->pw_gid),
         "--clear-groups", "--", "env", "-u", "XDG_RUNTIME_DIR", "HOME=/tmp",
         std::string(self, static_cast<std::size_t>(length)),
         "--gtest_filter=" + filter, "--gtest_brief=0"},
        "/");
    EXPECT_EQ(child.exitStatus, 0) << child.out << child.err;
    EXPECT_NE(child.out.find("[  PASSED  ] 1 test"), std::string::npos) << child.out << child.err;
    EXPECT_EQ(child.out.find("SKIPPED"), std::string::npos) << child.out;
    return true;
}

}  // namespace quillet::test

#include "platform/core/ProgramDirectory.h"

#include <gtest/gtest.h>

TEST(ProgramDirectory, IsTheDirectoryOfTheRunningExecutable)
{
    const std::string dir = quillet::platform::ProgramDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_EQ(dir, QUILLET_TEST_DIR);
}

#pragma once

namespace quillet::test {

// Tests of what an ordinary user may not do (read a file without the
// permission, write into a folder without it) mean nothing as root, who may
// do everything. Run as root, such a test calls this first: it runs the same
// test again in a child process as the user "nobody" (through setpriv),
// asserts that it passed there without skipping, and returns true, and the
// caller returns at once. Run as anyone else (and so in that child), it
// returns false and the test goes on. Only a machine without the user
// "nobody" or setpriv skips the test.
bool RanAsUnprivilegedChild();

}  // namespace quillet::test

#define QUILLET_RUN_UNPRIVILEGED()                             \
    do {                                                       \
        if (::quillet::test::RanAsUnprivilegedChild())         \
            return;                                            \
    } while (false)

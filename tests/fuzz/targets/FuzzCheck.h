#pragma once

#include <cstdio>
#include <cstdlib>

// A property of the code under fuzzing that must hold for every input;
// aborting lets both the fuzzer and the corpus replay report the input.
#define QUILLET_FUZZ_CHECK(condition)                                                              \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);    \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

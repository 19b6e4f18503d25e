#pragma once

#include <cstdio>
#include <cstdlib>

// A broken invariant is a finding: say which one and abort, so that libFuzzer keeps
// the input as a crash.
#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "invariant broken: %s (%s:%d)\n", #condition, __FILE__,    \
                __LINE__);                                                                 \
            std::abort();                                                                  \
        }                                                                                  \
    } while (false)

#pragma once

#include <cstdio>
#include <cstdlib>

/** A harness's own invariant: when it fails the process stops, so that libFuzzer keeps the
    input as a crash and a replay fails loudly. */
#define FUZZ_CHECK(condition)                                                                        \
    do                                                                                               \
    {                                                                                                \
        if (! (condition))                                                                           \
        {                                                                                            \
            std::fprintf (stderr, "%s:%d: fuzz check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                            \
        }                                                                                            \
    } while (false)

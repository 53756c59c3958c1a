#pragma once

#include <cstdio>
#include <cstdlib>

#include "foundation/bytes/MessageBoxes.h"

// What the fuzz programs share: boxes answered at once and without a word (a
// damaged file may ask for thousands), and a check that stops the run with the
// broken promise named, so that the fuzzer keeps the input that broke it.

inline int AnswerBoxQuietly(void*, const char*, const char*, unsigned flags)
{
    return DefaultButtonAnswer(flags);
}

inline void AnswerBoxesQuietly()
{
    SetMessageBoxHandler(AnswerBoxQuietly);
}

#define FUZZ_CHECK(condition)                                                                         \
    do {                                                                                              \
        if (!(condition)) {                                                                           \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);              \
            std::abort();                                                                             \
        }                                                                                             \
    } while (0)

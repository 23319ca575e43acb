#pragma once
// What every fuzz target shares: a check that stops the run with the input kept.
#include <cstdio>
#include <cstdlib>

// Unlike assert, stays on in every build: a broken property is the finding itself.
#define FUZZ_CHECK(cond)                                                           \
    do {                                                                           \
        if (!(cond)) {                                                             \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                          \
        }                                                                          \
    } while (0)

#include "res/Types.h"

// A builder answers with bytes or with a refusal the operator can read, never anything else.
inline void CheckBuilderResult(const tallyx::Result& result)
{
    if (result.ok()) return;
    FUZZ_CHECK(!result.refusal()->caption.empty());
    FUZZ_CHECK(!result.refusal()->text.empty());
}

// A failed property ends the fuzzer's run with the input that broke it.
#pragma once

#include <cstdlib>

inline void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

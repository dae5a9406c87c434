#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

// A broken property found by a fuzz target. Aborting lets libFuzzer keep the input as a crash and
// fails the corpus replay in the plain and sanitizer suites.
#define FUZZ_CHECK(condition, detail)                                                                        \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: falhou %s: %s\n", __FILE__, __LINE__, #condition,                   \
                         std::string(detail).c_str());                                                       \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size);

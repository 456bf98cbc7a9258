#include "game/Invariant.h"

#include <cstdio>
#include <cstdlib>

void karvossaInvariantFailed(const char* condition, const char* message, const char* file,
                             int line) {
    std::fprintf(stderr, "%s:%d: %s (%s)\n", file, line, message, condition);
    std::fflush(stderr);
    std::abort();
}

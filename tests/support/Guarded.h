#pragma once
// A guard that a correct program never reaches asserts in debug builds and
// survives in release builds. EXPECT_GUARDED runs the statement as each build
// should: a debug build must stop at the assert with its message, a release
// build must carry on, and the test then checks that nothing changed.
#include <gtest/gtest.h>

#ifdef NDEBUG
#define EXPECT_GUARDED(statement, message) statement
#else
#define EXPECT_GUARDED(statement, message) EXPECT_DEATH(statement, message)
#endif

#pragma once
// A guard that a correct program never reaches asserts where the checks are
// live (debug, test and sanitizer builds) and survives in a player's release
// build. EXPECT_GUARDED runs the statement as each build should: with the
// checks live it must stop at the assert with its message; without them it
// must carry on, and the test then checks that nothing changed.
#include <gtest/gtest.h>

#include "game/Invariant.h"

#if KARVOSSA_ASSERTS_LIVE
#define EXPECT_GUARDED(statement, message) EXPECT_DEATH(statement, message)
#else
#define EXPECT_GUARDED(statement, message) statement
#endif

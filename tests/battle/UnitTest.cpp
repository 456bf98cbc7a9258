#include "battle/Unit.h"

#include <gtest/gtest.h>

namespace {

struct KindRow {
    int health, damage, speed, range, cooldown;
    float r, g, b;
};

// The unit table as the game's rules give it, written out independently of
// the table in the source.
constexpr KindRow kExpected[4] = {
    {10000, 100, 3, 200, 5, 0.0f, 0.0f, 1.0f},
    {50000, 10, 1, 100, 5, 0.2f, 0.4f, 0.1f},
    {2000, 50, 5, 1000, 2, 0.5f, 0.5f, 1.0f},
    {10000, 150, 3, 500, 6, 1.0f, 0.0f, 0.0f},
};

// The colour is checked after setKind rather than after construction: the
// first unit ever built compiles the shared lists, which set materials too.
TEST(UnitKind, EachKindTakesItsStatsAndColour) {
    Unit unit(3, nullptr);
    for (int kind = 0; kind < 4; ++kind) {
        SCOPED_TRACE(kind);
        const KindRow& row = kExpected[kind];
        unit.health = 1;
        unit.cooldown = 4;
        unit.setKind(kind);
        EXPECT_EQ(unit.kind, kind);
        EXPECT_EQ(unit.health, row.health);
        EXPECT_EQ(unit.maxHealth, row.health);
        EXPECT_EQ(unit.damage, row.damage);
        EXPECT_EQ(unit.speed, row.speed);
        EXPECT_EQ(unit.range, row.range);
        EXPECT_EQ(unit.cooldown, 0);
        EXPECT_FLOAT_EQ(unit.colour[0], row.r);
        EXPECT_FLOAT_EQ(unit.colour[1], row.g);
        EXPECT_FLOAT_EQ(unit.colour[2], row.b);
        EXPECT_FLOAT_EQ(unit.colour[3], 1.0f);
    }
}

TEST(UnitKind, ANewUnitStandsAtItsBaseReadyToStrike) {
    const Unit unit(2, nullptr);
    EXPECT_EQ(unit.position, 0);
    EXPECT_EQ(unit.cooldown, 0);
    EXPECT_EQ(unit.health, 2000);
    EXPECT_EQ(unit.maxHealth, 2000);
}

TEST(UnitKind, ColourOfAnUnknownKindChangesNothing) {
    Unit unit(3, nullptr);
    unit.setKindColour(3);
    unit.setKindColour(4);
    unit.setKindColour(-1);
    EXPECT_FLOAT_EQ(unit.colour[0], 1.0f);
    EXPECT_FLOAT_EQ(unit.colour[2], 0.0f);
}

// Counts the strikes it takes until the next one lands.
int stepsBetweenHits(int kind) {
    Unit striker(kind, nullptr);
    Unit target(1, nullptr);
    striker.strike(&target);
    const int afterFirst = target.health;
    int steps = 1;
    while (striker.strike(&target), target.health == afterFirst) {
        ++steps;
    }
    return steps;
}

TEST(UnitStrike, HitsInItsFirstStepThenOnceEveryCooldownPlusOne) {
    Unit striker(0, nullptr);
    Unit target(1, nullptr);
    EXPECT_EQ(striker.strike(&target), Strike::Hit);
    EXPECT_EQ(target.health, 50000 - 100);
    EXPECT_EQ(striker.cooldown, 5);
    EXPECT_EQ(stepsBetweenHits(0), 6);
    EXPECT_EQ(stepsBetweenHits(1), 6);
    EXPECT_EQ(stepsBetweenHits(2), 3);
    EXPECT_EQ(stepsBetweenHits(3), 7);
}

TEST(UnitStrike, ReportsATargetAtExactlyZeroAsDead) {
    Unit striker(3, nullptr);
    Unit target(2, nullptr);
    target.health = 150;
    EXPECT_EQ(striker.strike(&target), Strike::Killed);
    EXPECT_EQ(target.health, 0);
    // while waiting it hits nothing
    EXPECT_EQ(striker.strike(&target), Strike::Waited);
    EXPECT_EQ(target.health, 0);
    EXPECT_EQ(striker.cooldown, 5);
}

}  // namespace

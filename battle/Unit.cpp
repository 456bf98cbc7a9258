#include "battle/Unit.h"

#include "render/Palette.h"

namespace {

bool isUnitKind(int unitKind) {
    return unitKind >= 0 && unitKind < kUnitKinds;
}

}  // namespace

Unit::Unit(int unitKind, Player* unitOwner) {
    setKind(unitKind);
    owner = unitOwner;
    position = 0;
    if (!listsBuilt) {
        buildLists();
    }
}

void Unit::setKind(int unitKind) {
    kind = unitKind;
    if (isUnitKind(unitKind)) {
        const UnitStats& stats = kUnitStats[unitKind];
        health = stats.health;
        damage = stats.damage;
        speed = stats.speed;
        range = stats.range;
        cooldown = 0;
        setKindColour(unitKind);
    }
    maxHealth = health;
}

void Unit::setKindColour(int unitKind) {
    if (!isUnitKind(unitKind)) {
        return;
    }
    const Colour& c = kKindColours[unitKind];
    setMaterial(c, kPlainFactors);
}

// A unit in reach hits at once, then waits out its kind's cooldown; the wait
// only runs down in steps in which it has something to strike.
Strike Unit::strike(Unit* target) {
    if (cooldown > 0) {
        --cooldown;
        return Strike::Waited;
    }
    target->health -= damage;
    // a kind outside the table never gets here in play; it simply never waits
    cooldown = isUnitKind(kind) ? kUnitStats[kind].cooldown : 0;
    return target->health <= 0 ? Strike::Killed : Strike::Hit;
}

#include "sound/TickSounds.h"

#include "battle/Lane.h"
#include "battle/Unit.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"

namespace {

constexpr int kAttacking = 0;  // side indices of a TickPicture's battle fields
constexpr int kDefending = 1;

// Ticks between two sounds of one kind from one place: a full lane strikes
// dozens of times a second and an open lane wears a ship down in every tick.
constexpr int kBlowSpacing = 5;
constexpr int kHitSpacing = 12;
constexpr int kRefusalSpacing = 8;
constexpr int kDeviceCheckSpacing = 30;

constexpr float kBlowGain = 0.35f;
constexpr float kLaneSpread = 0.8f;  // pan of the outer lanes

// Lane 0 is the leftmost on the battle screen, the last lane the rightmost.
float panOfLane(float lane) {
    return kLaneSpread * (2.0f * lane / (kLaneCount - 1) - 1.0f);
}

int indexOf(const Model& model, const Player* player) {
    for (int i = 0; i < model.playerCount; ++i) {
        if (model.players[i] == player) {
            return i;
        }
    }
    return -1;
}

void takeBattle(const Battle& battle, TickPicture& picture) {
    picture.shipHealth[kAttacking] = battle.attacker->health;
    picture.shipHealth[kDefending] = battle.defender->health;
    picture.cursor[kAttacking] = battle.attackerLane;
    picture.cursor[kDefending] = battle.defenderLane;
    for (int l = 0; l < kLaneCount; ++l) {
        const Lane* lane = battle.lanes[l];
        picture.units[l][kAttacking] = lane->attackerCount;
        picture.units[l][kDefending] = lane->defenderCount;
        long attacking = 0;
        long defending = 0;
        for (int i = 0; i < lane->attackerCount; ++i) {
            attacking += lane->attackerUnits[i]->health;
        }
        for (int i = 0; i < lane->defenderCount; ++i) {
            defending += lane->defenderUnits[i]->health;
        }
        picture.laneHealth[l][kAttacking] = attacking;
        picture.laneHealth[l][kDefending] = defending;
    }
}

// The battle side a player's command speaks for.
int sideOf(const Battle& battle, const Model& model, int player) {
    return battle.attacker->owner == model.players[player] ? kAttacking : kDefending;
}

}  // namespace

void TickPicture::take(const Model& model) {
    screen = model.screen;
    currentPlayer = model.currentPlayer;
    selectedShip = model.selectedShip;
    selectedNode = model.selectedNode;
    destination = model.selectedShip != nullptr ? model.selectedShip->destination : nullptr;
    const int nodeCount = model.nodes != nullptr ? model.nodeCount : 0;
    owners.resize(nodeCount);
    ships.resize(nodeCount);
    for (int i = 0; i < nodeCount; ++i) {
        owners[i] = indexOf(model, model.nodes[i]->owner);
        ships[i] = model.nodes[i]->ship;
    }
    for (int p = 0; p < kPlayerCount; ++p) {
        shipCount[p] =
            model.players != nullptr && p < model.playerCount ? model.players[p]->shipCount : 0;
    }
    battle = model.battle;
    if (battle != nullptr) {
        takeBattle(*battle, *this);
    }
}

void TickSounds::beforeTick(const Model& model) {
    if (!sound.audible()) {
        return;
    }
    before_.take(model);
}

void TickSounds::afterTick(const Model& model) {
    cueCount_ = 0;
    if (model.tick % kDeviceCheckSpacing == 0) {
        sound.checkDevice();
    }
    if (!sound.audible()) {
        return;
    }
    now_.take(model);
    tick_ = model.tick;
    if (now_.screen == EndScreen && before_.screen != EndScreen) {
        add(Effect::Win);
    } else if (before_.battle != nullptr && now_.battle == nullptr) {
        add(Effect::ShipDestroyed);
    } else if (now_.battle != nullptr && before_.battle != now_.battle) {
        add(Effect::BattleStart);
    } else if (now_.battle != nullptr) {
        addBattleCues(model);
    } else if (now_.screen == MapScreen) {
        addMapCues(model.commands);
    }
    for (int i = 0; i < cueCount_; ++i) {
        sound.play(cues_[i].effect, cues_[i].pan, cues_[i].gain);
    }
}

bool TickSounds::heard(Effect effect) const {
    for (int i = 0; i < cueCount_; ++i) {
        if (cues_[i].effect == effect) {
            return true;
        }
    }
    return false;
}

void TickSounds::add(Effect effect, float pan, float gain) {
    if (cueCount_ >= kMostCues) {
        return;
    }
    cues_[cueCount_++] = {effect, pan, gain};
}

// True, and the time noted, when `spacing` ticks have passed since `last`;
// a tick before it means a new game, which owes the last one nothing.
bool TickSounds::due(std::uint64_t& last, int spacing) {
    if (last != 0 && tick_ >= last && tick_ < last + spacing) {
        return false;
    }
    last = tick_;
    return true;
}

// One sound of each kind however many nodes or ships took part: a turn end
// moves every ship with an order at once.
void TickSounds::addMapCues(const CommandQueue& commands) {
    if (now_.currentPlayer != before_.currentPlayer) {
        add(playerEffect(Effect::TurnTo0, now_.currentPlayer));
    }
    bool taken[kPlayerCount] = {};
    int arrivals = 0;
    for (std::size_t i = 0; i < now_.owners.size() && i < before_.owners.size(); ++i) {
        const int owner = now_.owners[i];
        if (owner != before_.owners[i] && owner >= 0 && owner < kPlayerCount) {
            taken[owner] = true;
        }
        arrivals += now_.ships[i] != nullptr && now_.ships[i] != before_.ships[i] ? 1 : 0;
    }
    int bought = 0;
    for (int p = 0; p < kPlayerCount; ++p) {
        bought +=
            now_.shipCount[p] > before_.shipCount[p] ? now_.shipCount[p] - before_.shipCount[p] : 0;
        if (taken[p]) {
            add(playerEffect(Effect::NodeTakenBy0, p));
        }
    }
    if (bought > 0) {
        add(Effect::ShipBought);
    }
    if (arrivals > bought) {
        add(Effect::ShipStep);
    } else if (now_.selectedShip != nullptr && now_.selectedShip != before_.selectedShip) {
        add(Effect::ShipSelected);
    } else {
        addRefusal(commands);
    }
}

// A command the gate turned down, or a click after which nothing is
// otherwise than before it: no selection, no order, no attack.
void TickSounds::addRefusal(const CommandQueue& commands) {
    bool refused = false;
    bool clicked = false;
    for (const AppliedCommand& applied : commands.lastApplied()) {
        refused = refused || (!applied.accepted && applied.command.kind != CommandKind::LeaveTitle);
        clicked = clicked || (applied.accepted && applied.command.kind == CommandKind::ClickCell);
    }
    const bool unchanged = now_.selectedShip == before_.selectedShip &&
                           now_.selectedNode == before_.selectedNode &&
                           now_.destination == before_.destination;
    if ((refused || (clicked && unchanged)) && due(lastRefusal_, kRefusalSpacing)) {
        add(Effect::Refused);
    }
}

// Replays the tick's battle commands on the cursors as they stood before it,
// so that each unit sent is heard, and counted, in the lane it went into; a
// unit the ship does not have is refused there.
void TickSounds::addBattleCues(const Model& model) {
    const Battle& battle = *model.battle;
    int cursor[2] = {before_.cursor[kAttacking], before_.cursor[kDefending]};
    int sent[kLaneCount][2] = {};
    long sentHealth[kLaneCount] = {};
    for (const AppliedCommand& applied : model.commands.lastApplied()) {
        const Command& command = applied.command;
        const int side = sideOf(battle, model, command.side);
        if (!applied.accepted) {
            if (command.kind == CommandKind::SendUnit && due(lastRefusal_, kRefusalSpacing)) {
                add(Effect::Refused, panOfLane(static_cast<float>(cursor[side])));
            }
            continue;
        }
        if (command.kind == CommandKind::MoveCursor) {
            const int step = command.move == CursorMove::Left ? -1 : 1;
            const int lane = cursor[side] + step;
            cursor[side] = lane < 0 ? 0 : lane >= kLaneCount ? kLaneCount - 1 : lane;
        } else if (command.kind == CommandKind::SendUnit) {
            const int lane = cursor[side];
            ++sent[lane][side];
            sentHealth[lane] += kUnitStats[command.unitKind].health;
            add(Effect::UnitSent, panOfLane(static_cast<float>(lane)));
        }
    }
    addLaneCues(sent, sentHealth);
    addShipHits();
}

// A unit gone that was neither there before nor sent is a unit killed; less
// health in a lane than it had and was sent, with none killed, is a blow.
void TickSounds::addLaneCues(const int sent[kLaneCount][2], const long sentHealth[kLaneCount]) {
    for (int l = 0; l < kLaneCount; ++l) {
        const float pan = panOfLane(static_cast<float>(l));
        int killed = 0;
        long health = 0;
        long healthBefore = sentHealth[l];
        for (int side = 0; side < 2; ++side) {
            killed += before_.units[l][side] + sent[l][side] - now_.units[l][side];
            health += now_.laneHealth[l][side];
            healthBefore += before_.laneHealth[l][side];
        }
        if (killed > 0) {
            add(Effect::UnitKilled, pan);
        } else if (health < healthBefore && due(lastBlow_[l], kBlowSpacing)) {
            add(Effect::UnitBlow, pan, kBlowGain);
        }
    }
}

// Heard from the lanes that are open to the striking side: it has units
// there and the ship's side none. Exhaustion, which comes from no lane, is
// heard in the middle.
void TickSounds::addShipHits() {
    for (int side = 0; side < 2; ++side) {
        if (now_.shipHealth[side] >= before_.shipHealth[side] ||
            !due(lastHit_[side], kHitSpacing)) {
            continue;
        }
        const int striking = 1 - side;
        float lanes = 0;
        int open = 0;
        for (int l = 0; l < kLaneCount; ++l) {
            if (now_.units[l][striking] > 0 && now_.units[l][side] == 0) {
                lanes += static_cast<float>(l);
                ++open;
            }
        }
        add(Effect::ShipHit, open > 0 ? panOfLane(lanes / open) : 0.0f);
    }
}

#include "sound/TickSounds.h"

#include <algorithm>
#include <iterator>

#include "game/Ship.h"
#include "game/TickReport.h"

namespace {

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

bool isLane(int lane) {
    return lane >= 0 && lane < kLaneCount;
}

// A bit for each lane that an event of the kind names, of the player's or,
// for side -1, of anyone's.
unsigned lanesOf(const TickReport& report, TickEventKind kind, int side) {
    unsigned lanes = 0;
    for (const TickEvent& event : report.events()) {
        if (event.kind == kind && isLane(event.lane) && (side < 0 || event.side == side)) {
            lanes |= 1u << event.lane;
        }
    }
    return lanes;
}

bool shipStruck(const TickReport& report, int side) {
    const std::vector<TickEvent>& events = report.events();
    return std::any_of(events.begin(), events.end(), [side](const TickEvent& event) {
        return event.kind == TickEventKind::ShipHit && event.side == side;
    });
}

}  // namespace

TickSounds::TickSounds() {
    std::fill(std::begin(lastBlow_), std::end(lastBlow_), kNever);
    std::fill(std::begin(lastHit_), std::end(lastHit_), kNever);
}

// One cue for the greatest thing the tick did: the game's end, a battle's
// end or start, or what went on in the battle or on the map.
void TickSounds::afterTick(const TickReport& report, const Model& model) {
    cueCount_ = 0;
    tick_ = report.tick();
    if (tick_ % kDeviceCheckSpacing == 0) {
        sound.checkDevice();
    }
    if (!sound.audible()) {
        return;
    }
    if (report.has(TickEventKind::GameOver)) {
        add(Effect::Win);
    } else if (report.has(TickEventKind::BattleDecided)) {
        add(Effect::ShipDestroyed);
    } else if (report.has(TickEventKind::BattleBegun)) {
        add(Effect::BattleStart);
    } else if (model.battle != nullptr) {
        addBattleCues(report, model);
    } else if (model.screen == MapScreen) {
        addMapCues(report, model);
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
    if (last != kNever && tick_ >= last && tick_ < last + spacing) {
        return false;
    }
    last = tick_;
    return true;
}

// One sound of each kind however many nodes or ships took part: a turn end
// moves every ship with an order at once.
void TickSounds::addMapCues(const TickReport& report, const Model& model) {
    if (report.has(TickEventKind::TurnEnded)) {
        add(playerEffect(Effect::TurnTo0, model.currentPlayer));
    }
    bool taken[kPlayerCount] = {};
    for (const TickEvent& event : report.events()) {
        if (event.kind == TickEventKind::NodeTaken && event.side >= 0 &&
            event.side < kPlayerCount) {
            taken[event.side] = true;
        }
    }
    for (int p = 0; p < kPlayerCount; ++p) {
        if (taken[p]) {
            add(playerEffect(Effect::NodeTakenBy0, p));
        }
    }
    if (report.has(TickEventKind::ShipBought)) {
        add(Effect::ShipBought);
    }
    if (report.has(TickEventKind::ShipMoved)) {
        add(Effect::ShipStep);
    } else if (report.has(TickEventKind::ShipSelected)) {
        add(Effect::ShipSelected);
    } else {
        addRefusal(report);
    }
}

// A command the gate turned down, or a click that did nothing: it selected
// nothing new, gave no order and began no attack.
void TickSounds::addRefusal(const TickReport& report) {
    bool refused = false;
    bool clicked = false;
    for (const AppliedCommand& applied : report.commands()) {
        refused = refused || (!applied.accepted && applied.command.kind != CommandKind::LeaveTitle);
        clicked = clicked || (applied.accepted && applied.command.kind == CommandKind::ClickCell);
    }
    const bool idle = clicked && !report.has(TickEventKind::SelectionChanged);
    if ((refused || idle) && due(lastRefusal_, kRefusalSpacing)) {
        add(Effect::Refused);
    }
}

// Each unit is heard in the lane it went into; a unit the ship does not have
// is refused in the lane the side's cursor is on.
void TickSounds::addBattleCues(const TickReport& report, const Model& model) {
    const Battle& battle = *model.battle;
    for (const AppliedCommand& applied : report.commands()) {
        const Command& command = applied.command;
        const bool ownSide = command.side >= 0 && command.side < model.playerCount;
        if (applied.accepted || command.kind != CommandKind::SendUnit || !ownSide) {
            continue;
        }
        if (due(lastRefusal_, kRefusalSpacing)) {
            const int lane = battle.cursorOf(model.players[command.side]);
            add(Effect::Refused, panOfLane(static_cast<float>(lane)));
        }
    }
    for (const TickEvent& event : report.events()) {
        if (event.kind == TickEventKind::UnitSent && isLane(event.lane)) {
            add(Effect::UnitSent, panOfLane(static_cast<float>(event.lane)));
        }
    }
    addLaneCues(report);
    addShipHits(report, model);
}

// A unit struck down in a lane is heard there; so is a lesser blow, now and then.
void TickSounds::addLaneCues(const TickReport& report) {
    const unsigned killed = lanesOf(report, TickEventKind::UnitKilled, -1);
    const unsigned hit = lanesOf(report, TickEventKind::UnitHit, -1);
    for (int l = 0; l < kLaneCount; ++l) {
        const float pan = panOfLane(static_cast<float>(l));
        if ((killed & (1u << l)) != 0) {
            add(Effect::UnitKilled, pan);
        } else if ((hit & (1u << l)) != 0 && due(lastBlow_[l], kBlowSpacing)) {
            add(Effect::UnitBlow, pan, kBlowGain);
        }
    }
}

// Heard from the lanes the blows came from; a ship that wore itself down,
// and so was struck from no lane, is heard in the middle.
void TickSounds::addShipHits(const TickReport& report, const Model& model) {
    const Ship* ships[2] = {model.battle->attacker, model.battle->defender};
    for (int s = 0; s < 2; ++s) {
        const int side = model.sideOf(ships[s]->owner);
        if (!shipStruck(report, side) || !due(lastHit_[s], kHitSpacing)) {
            continue;
        }
        const unsigned lanes = lanesOf(report, TickEventKind::ShipHit, side);
        float sum = 0;
        int open = 0;
        for (int l = 0; l < kLaneCount; ++l) {
            if ((lanes & (1u << l)) != 0) {
                sum += static_cast<float>(l);
                ++open;
            }
        }
        add(Effect::ShipHit, open > 0 ? panOfLane(sum / open) : 0.0f);
    }
}

#include "game/Tick.h"

#include "battle/Battle.h"
#include "game/CommandSource.h"
#include "game/Invariant.h"
#include "game/Model.h"
#include "game/TickObserver.h"
#include "game/TurnCycle.h"

namespace {

void stepBattle(Model* model) {
    Battle* battle = model->battle;
    KARVOSSA_ASSERT(battle != nullptr, "the battle screen is shown only while a battle is on");
    if (battle == nullptr) {
        return;
    }
    // The battle is ended here, once its step has returned, never from inside it.
    if (battle->update()) {
        model->endBattle(battle->defenderLost);
    }
}

}  // namespace

void runTick() {
    Model* model = Model::getSelf();
    model->report.begin(model->tick);
    for (CommandSource* source : model->sources) {
        source->give(model->tick, model->commands);
    }
    model->commands.applyDue(model->tick);
    if (model->screen == MapScreen && model->endTurnRequested) {
        finishTurn();
    } else if (model->screen == BattleScreen) {
        stepBattle(model);
    }
    model->report.close();
    model->advanceClock();
    ++model->tick;
    for (TickObserver* observer : model->observers) {
        observer->afterTick(model->report);
    }
}

bool tickReady() {
    const Model* model = Model::getSelf();
    for (const CommandSource* source : model->sources) {
        if (!source->ready(model->tick)) {
            return false;
        }
    }
    return true;
}

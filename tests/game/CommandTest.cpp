#include "game/Command.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "battle/Battle.h"
#include "battle/Lane.h"
#include "battle/Unit.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Random.h"
#include "game/Ship.h"
#include "render/Selector.h"
#include "support/Guarded.h"
#include "support/World.h"

namespace {

class CommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        model = buildWorld(2024);
        model->screen = MapScreen;
    }
    void TearDown() override { Model::resetSelf(); }

    static Command command(CommandKind kind, int side) {
        Command c;
        c.kind = kind;
        c.side = side;
        return c;
    }
    static Command clickOn(const Node* node, int side) {
        Command c = command(CommandKind::ClickCell, side);
        c.cellZ = node->gridZ;
        c.cellX = node->gridX;
        return c;
    }
    // Whatever the command, the gate refuses it and the rules' state stays as it was.
    void expectRefused(const Command& c, const char* what) {
        const std::uint64_t before = model->stateHash();
        EXPECT_FALSE(applyCommand(c)) << what;
        EXPECT_EQ(model->stateHash(), before) << what;
    }

    Model* model = nullptr;
};

TEST_F(CommandTest, TheGateDropsWhatTheRulesWouldRefuseAndLetsTheRestThrough) {
    Player* waiting = model->players[1];
    waiting->credits = 3 * kShipPrice;
    waiting->ships[0]->moveTo(
        waiting->homeNode->neighbors[waiting->homeNode->firstSlotFrom(0, true)]);
    expectRefused(clickOn(waiting->ships[0]->location, 1), "a click of the side not on turn");
    expectRefused(command(CommandKind::BuyShip, 1), "a purchase of the side not on turn");
    expectRefused(command(CommandKind::EndTurn, 1), "an end of turn of the side not on turn");
    expectRefused(command(CommandKind::EndTurn, 7), "a side that does not exist");
    Command odd = clickOn(model->players[0]->homeNode, 0);
    odd.cellX += 1;
    expectRefused(odd, "a cell off the grid");
    expectRefused(command(CommandKind::BuyShip, 0), "a purchase without the credits");
    expectRefused(command(CommandKind::SendUnit, 0), "a unit outside a battle");
    const Command unknown = command(static_cast<CommandKind>(kCommandKinds), 0);
    EXPECT_GUARDED(expectRefused(unknown, "a kind no decoder lets through"), "no known kind");

    model->startBattle(model->players[0]->ships[0], waiting->ships[0]);
    model->players[0]->ships[0]->unitStock[2] = 1;
    Command send = command(CommandKind::SendUnit, 0);
    expectRefused(send, "a unit kind with no stock");
    send.unitKind = kUnitKinds;
    expectRefused(send, "a unit kind that does not exist");
    send.unitKind = 2;
    EXPECT_TRUE(applyCommand(send));
    EXPECT_EQ(model->battle->lanes[0]->attackerCount, 1);
    EXPECT_TRUE(applyCommand(command(CommandKind::MoveCursor, 1))) << "in battle both sides act";
}

// The digest sees every kind of field the rules depend on, each changed by
// itself, and none of what is only shown.
TEST_F(CommandTest, TheStateHashSeesEveryRuleFieldAndNothingShown) {
    Player* first = model->players[0];
    Player* second = model->players[1];
    Ship* ship = first->ships[0];
    Node* free = ship->location->neighbors[ship->location->firstSlotFrom(0, true)];
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"node kind", [&] { model->nodes[20]->kind = (model->nodes[20]->kind + 1) % 4; }},
        {"node owner", [&] { model->nodes[21]->owner = second; }},
        {"node ship", [&] { model->nodes[22]->ship = ship; }},
        {"credits", [&] { first->credits += 1; }},
        {"player's nodes", [&] { second->gainNode(model->nodes[23]); }},
        {"ship's node", [&] { ship->location = free; }},
        {"stock", [&] { ship->unitStock[3] += 1; }},
        {"destination", [&] { ship->destination = model->nodes[24]; }},
        {"moved", [&] { ship->moved = !ship->moved; }},
        {"ship health", [&] { ship->health -= 1; }},
        {"turn", [&] { model->turn += 1; }},
        {"current player", [&] { model->currentPlayer = 1; }},
        {"screen", [&] { model->screen = TitleScreen; }},
        {"selected node", [&] { model->selectedNode = free; }},
        {"selected ship", [&] { model->selectedShip = ship; }},
        {"end-turn request", [&] { model->endTurnRequested = true; }},
        {"battle", [&] { model->startBattle(ship, second->ships[0]); }},
        {"unit", [&] { model->battle->deploy(ship, 3); }},
        {"unit position", [&] { model->battle->lanes[0]->attackerUnits[0]->position += 1; }},
        {"unit health", [&] { model->battle->lanes[0]->attackerUnits[0]->health -= 1; }},
        {"cursor", [&] { model->battle->moveCursor(CursorMove::Right, true); }},
        {"random source", [] { Random::draw(); }},
        {"tick", [&] { model->tick += 1; }},
    };
    for (const auto& [field, change] : changes) {
        const std::uint64_t before = model->stateHash();
        change();
        EXPECT_NE(model->stateHash(), before) << field;
    }

    const std::uint64_t before = model->stateHash();
    model->pointerX = 0.7f;
    model->viewHeight += 3;
    model->selector->aimAt(2, 4);
    EXPECT_EQ(model->stateHash(), before) << "pointer, camera and cursor are only shown";
}

}  // namespace

#include "game/TickReport.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "battle/Battle.h"
#include "battle/Lane.h"
#include "battle/Unit.h"
#include "game/Model.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "game/Tick.h"
#include "support/Guarded.h"
#include "support/HandMap.h"

namespace {

using Events = std::vector<std::array<int, 4>>;  // kind, side, node, lane
using K = TickEventKind;

std::array<int, 4> event(K kind, int side, int node = -1, int lane = -1) {
    return {static_cast<int>(kind), side, node, lane};
}

Events eventsOf(const TickReport& report) {
    Events events;
    for (const TickEvent& e : report.events()) {
        events.push_back(event(e.kind, e.side, e.node, e.lane));
    }
    return events;
}

// Player 0's home is node 0, next to node 2; player 1's home is node 1.
class TickReportTest : public HandMapTest {
protected:
    void SetUp() override {
        build({{0, 0}, {8, 0}, {2, 0}, {4, 0}, {6, 0}});
        model->screen = MapScreen;
    }
    static Command click(int side, int node) {
        return HandMap::command(CommandKind::ClickCell, side, node);
    }
};

TEST_F(TickReportTest, EachMapRuleSaysWhatItDidInTheTickThatRanIt) {
    runTick();
    Command late = click(0, 0);
    late.tick = 0;
    const TickReport& report = HandMap::tickWith({late, HandMap::command(CommandKind::EndTurn, 1)});
    EXPECT_EQ(report.tick(), 1u);
    ASSERT_EQ(report.commands().size(), 2u);
    EXPECT_EQ(report.commands()[0].command.tick, 1u) << "a late command takes effect now";
    EXPECT_TRUE(report.commands()[0].accepted);
    EXPECT_FALSE(report.commands()[1].accepted);
    EXPECT_EQ(eventsOf(report), Events({event(K::ShipSelected, 0, 0)}));

    first->credits = kShipPrice;
    HandMap::tickWith({click(0, 2), HandMap::command(CommandKind::BuyShip, 0),
                       HandMap::command(CommandKind::EndTurn, 0)});
    EXPECT_EQ(eventsOf(report), Events({event(K::SelectionChanged, 0, 2), event(K::ShipMoved, 0, 2),
                                        event(K::NodeTaken, 0, 2), event(K::ShipBought, 0, 0),
                                        event(K::TurnEnded, 0)}));

    second->loseNode(HandMap::node(1));
    HandMap::tickWith({HandMap::command(CommandKind::EndTurn, 1)});
    EXPECT_EQ(eventsOf(report), Events({event(K::GameOver, 1), event(K::TurnEnded, 1)}));

    first->buyShip(HandMap::node(3));
    EXPECT_EQ(report.events().size(), 2u) << "outside a tick the rules say nothing";
    EXPECT_GUARDED(model->report.begin(report.tick()), "out of order");
}

TEST_F(TickReportTest, ABattleSaysWhoWasStruckInWhichLane) {
    Ship* defender = HandMap::placeShip(1, 2);
    first->ships[0]->unitStock[2] = 1;
    HandMap::tickWith({click(0, 0)});
    const TickReport& report = HandMap::tickWith({click(0, 2)});
    // the defending side, with nothing to send, wears its own ship down from the first step
    EXPECT_EQ(eventsOf(report), Events({event(K::BattleBegun, 0, 2), event(K::ShipHit, 1)}));

    Command send = HandMap::command(CommandKind::SendUnit, 0);
    send.unitKind = 2;
    HandMap::tickWith({send});
    EXPECT_EQ(eventsOf(report), Events({event(K::UnitSent, 0, -1, 0), event(K::ShipHit, 1),
                                        event(K::ShipHit, 1, -1, 0)}));

    Unit* doomed = new Unit(1, second);
    doomed->position = 9000;
    doomed->health = 100;
    Lane* lane = model->battle->lanes[0];
    lane->push(doomed, false);
    lane->defenderFront = doomed->position;
    std::vector<Events> steps(4);
    for (Events& step : steps) {
        step = eventsOf(HandMap::tickWith({}));
    }
    EXPECT_EQ(steps, std::vector<Events>(
                         {{event(K::UnitHit, 1, -1, 0)}, {}, {}, {event(K::UnitKilled, 1, -1, 0)}}))
        << "a wait says nothing";

    defender->health = 1;
    HandMap::tickWith({});
    EXPECT_EQ(eventsOf(report), Events({event(K::ShipHit, 1), event(K::BattleDecided, 1, 2)}));
}

}  // namespace

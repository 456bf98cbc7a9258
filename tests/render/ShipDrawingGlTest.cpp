#include <gtest/gtest.h>

#include <algorithm>

#include "TopDownView.h"
#include "app/Entry.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "render/Selector.h"

namespace {

// Points of a ship drawn at the origin; the deck, bars and health arrow lie
// within 0.6 of the hull's size.
constexpr float kHullX = 0.4f;
constexpr float kHullZ = 0.4f;
constexpr float kBarColumnX[4] = {-0.225f, -0.075f, 0.075f, 0.225f};
constexpr float kNearBarZ = 0.25f;  // bars grow from z = 0.3 ...
constexpr float kFarBarZ = -0.25f;  // ... and a full one reaches z = -0.3

bool isGreen(const FeedbackVertex& v) {
    return v.r < 0.01f && v.g > 0.99f && v.b < 0.01f;
}

class ShipDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        Model::getSelf()->players = new Player* [2] { new Player(), new Player() };
    }
    void TearDown() override { Model::resetSelf(); }
    static Player* player(int index) { return Model::getSelf()->players[index]; }
};

TEST_F(ShipDrawing, TheHullTakesTheOwnersColourDarkenedOnceMoved) {
    const TopDownView view(0.25f, 0, 1.2f);
    struct Case {
        int owner;
        bool moved;
        Rgb hull;
    };
    const Case cases[] = {{0, false, {0.6f, 0.2f, 0.2f}},
                          {0, true, {0.2f, 0, 0}},
                          {1, false, {0.2f, 0.2f, 0.6f}},
                          {1, true, {0, 0, 0.2f}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "owner " << c.owner << " moved " << c.moved);
        Ship ship(player(c.owner));
        ship.moved = c.moved;
        view.clear();
        ship.draw();
        EXPECT_TRUE(looksLike(view.colourAt(kHullX, kHullZ), c.hull[0], c.hull[1], c.hull[2]));
        EXPECT_TRUE(looksLike(view.colourAt(-0.2f, 0), 0, 0, 0));  // the black deck
    }
}

TEST_F(ShipDrawing, StockBarsGrowAcrossTheShipWithTheStock) {
    const TopDownView view(0.25f, 0, 1.2f);
    Ship ship(player(0));
    ship.draw();
    for (float x : kBarColumnX) {
        EXPECT_TRUE(looksLike(view.colourAt(x, kNearBarZ), 0, 0, 0)) << "empty stock at " << x;
    }

    ship.unitStock[3] = 10;
    ship.unitStock[0] = 5;
    view.clear();
    ship.draw();
    EXPECT_TRUE(looksLike(view.colourAt(kBarColumnX[3], kNearBarZ), 1, 0, 0));
    EXPECT_TRUE(looksLike(view.colourAt(kBarColumnX[3], kFarBarZ), 1, 0, 0));
    EXPECT_TRUE(looksLike(view.colourAt(kBarColumnX[0], 0.05f), 0, 0, 1));
    EXPECT_TRUE(looksLike(view.colourAt(kBarColumnX[0], -0.05f), 0, 0, 0));
    EXPECT_TRUE(looksLike(view.colourAt(kBarColumnX[1], kNearBarZ), 0, 0, 0));
}

TEST_F(ShipDrawing, TheHealthArrowShrinksTowardsTheDeckAndStaysOnIt) {
    const TopDownView view(0.25f, 0, 1.2f);
    Ship ship(player(1));
    // Tip x after the 0.6 scale; health below 0 is left by a battle in which
    // both ships fell at once, and must not draw outside the deck.
    const std::pair<int, float> cases[] = {
        {kFullHealth, 0.72f}, {kFullHealth / 2, 0.54f}, {0, 0.36f}, {-kFullHealth / 2, 0.36f}};
    for (const auto& [health, tipX] : cases) {
        SCOPED_TRACE(health);
        ship.health = health;
        float maxX = -1, minX = 9, widest = 0, lowest = 9;
        for (const FeedbackPolygon& polygon : view.capture([&ship] { ship.draw(); })) {
            for (const FeedbackVertex& v : polygon) {
                if (isGreen(v)) {
                    maxX = std::max(maxX, v.x);
                    minX = std::min(minX, v.x);
                    widest = std::max(widest, std::fabs(v.z));
                    lowest = std::min(lowest, v.y);
                }
            }
        }
        // Above the deck (at 0.35), not in its plane, where the two would flicker.
        EXPECT_GT(lowest, 0.355f);
        EXPECT_NEAR(maxX, tipX, 0.002f);
        EXPECT_NEAR(minX, 0.3f, 0.002f);
        EXPECT_NEAR(widest, 0.3f, 0.002f);
    }
}

TEST_F(ShipDrawing, AShipStandsOnItsNodeAndWithoutOneDrawsNothing) {
    const TopDownView view(0, 0, 4);
    Ship ship(player(0));
    EXPECT_TRUE(view.capture([&ship] { ship.drawAtNode(); }).empty());
    Node node(0);
    node.gridZ = -1;
    node.gridX = 1;
    ship.location = &node;
    ship.drawAtNode();
    EXPECT_TRUE(looksLike(view.colourAt(1.6f + kHullX, -1.3f + kHullZ), 0.6f, 0.2f, 0.2f));
}

// The arrow lies at y = 0.2, under the hull at 0.25; -1 when there is none.
float destinationArrowTipX(const TopDownView& view, Ship* ship) {
    float tipX = -1;
    for (const FeedbackPolygon& polygon : view.capture([ship] { ship->drawAtNode(); })) {
        for (const FeedbackVertex& v : polygon) {
            if (std::fabs(v.y - 0.2f) < 0.01f) {
                tipX = std::max(tipX, v.x);
            }
        }
    }
    return tipX;
}

TEST_F(ShipDrawing, TheDestinationArrowShowsOnlyWhileTheSelectorIsOverTheShip) {
    Model::resetSelf();
    createWorld(2, 3);
    Model* model = Model::getSelf();
    for (int i = 0; i < 3; ++i) {
        model->nodes[i]->gridZ = 0;
        model->nodes[i]->gridX = 2 * i;  // the ship's home, a node and the destination
    }
    Ship* ship = model->players[0]->ships[0];
    ASSERT_EQ(ship->location, model->nodes[0]);
    ship->destination = model->nodes[2];
    Selector* selector = model->selector;
    const TopDownView view(3, 0, 5);

    selector->gridX = 0;
    selector->gridZ = 0;
    EXPECT_NEAR(destinationArrowTipX(view, ship), 4 * 1.6f, 0.002f);
    ship->drawAtNode();
    EXPECT_TRUE(looksLike(view.colourAt(3.2f, 0), 0.6f, 0.2f, 0.2f));

    selector->gridX = 2;  // over another node
    EXPECT_LT(destinationArrowTipX(view, ship), 0);
    selector->gridX = -2;  // over no node at all
    EXPECT_LT(destinationArrowTipX(view, ship), 0);
    selector->gridX = 0;
    ship->destination = nullptr;
    EXPECT_LT(destinationArrowTipX(view, ship), 0);
}

}  // namespace

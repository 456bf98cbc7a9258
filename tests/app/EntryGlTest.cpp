#include <gtest/gtest.h>

#include "app/Entry.h"
#include "app/Menu.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/NodeMap.h"
#include "game/Player.h"
#include "render/Hud.h"
#include "render/Selector.h"
#include "support/FatalError.h"

namespace {

class EntryTest : public ::testing::Test {
protected:
    void TearDown() override { Model::resetSelf(); }
};

TEST_F(EntryTest, CreateWorldAcceptsOneNodeMoreThanPlayersAndFillsTheModel) {
    EXPECT_EQ(fatalMessageOf([] { createWorld(2, 2); }), "LESS NODES THAN PLAYERS");
    Menu* menu = nullptr;
    EXPECT_EQ(fatalMessageOf([&menu] { menu = createWorld(2, 3); }), "");
    const Model* model = Model::getSelf();
    EXPECT_EQ(menu, model->menu);
    ASSERT_NE(model->nodeMap, nullptr);
    EXPECT_EQ(model->nodeMap->selector, model->selector);
    EXPECT_EQ(model->nodeMap->nodes, model->nodes);
    ASSERT_NE(model->hud, nullptr);
    EXPECT_EQ(model->nodeCount, 3);
    EXPECT_EQ(model->playerCount, 2);
    EXPECT_EQ(model->nodes[2]->gridZ, 0) << "the last node is the seed";
    EXPECT_EQ(model->nodes[2]->gridX, 0);
    EXPECT_FALSE(model->menu->visible);
}

TEST_F(EntryTest, TheDefaultWorldIsFiftyNodesAndTwoPlayers) {
    const Model* model = Model::getSelf();
    createWorld(model->playerCount, model->nodeCount);
    EXPECT_EQ(model->screen, TitleScreen);
    for (int i = 0; i < model->playerCount; ++i) {
        EXPECT_EQ(model->players[i]->homeNode, model->nodes[i]);
        EXPECT_NE(model->nodes[i]->gridZ, kUnplacedGrid);
    }
    EXPECT_GT(model->viewHeight, 0);
}

}  // namespace

#pragma once
// What the side panels' drawing tests share: a world with both players and
// the panels, in a 16:9 window, and the map panels' numbers read back as text.
#include <gtest/gtest.h>

#include <vector>

#include "GlyphReading.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "render/Hud.h"
#include "support/World.h"

namespace strokereading {

inline constexpr double kPanelText = 0.001;  // font units to eye units

inline const std::vector<GlyphShape>& panelShapes() {
    static const std::vector<GlyphShape> shapes = glyphShapes(-2, kPanelText);
    return shapes;
}

class HudTest : public ::testing::Test {
protected:
    void SetUp() override {
        Model* model = buildWorld(1, kWorldNodes, kPlayersPart | kHudPart);
        hud = model->hud;
        // A 16:9 window shows the panels exactly as laid out.
        model->windowWidth = 1920;
        model->windowHeight = 1080;
    }

    void TearDown() override {
        Model::resetSelf();
        glEnable(GL_LIGHTING);
        resetFrame();
    }

    static Player* player(int index) { return Model::getSelf()->players[index]; }

    // Gives the player one more node of the kind, taken from the unowned ones.
    static void giveNode(int playerIndex, int kind) {
        Model* model = Model::getSelf();
        for (int i = model->playerCount; i < model->nodeCount; ++i) {
            Node* node = model->nodes[i];
            if (node->owner == nullptr) {
                node->setKind(kind);
                player(playerIndex)->gainNode(node);
                return;
            }
        }
        FAIL() << "no unowned node left";
    }

    // One map-screen frame of the panels, lit as in the game unless unlit is set
    // (then every vertex keeps the colour it was given).
    std::vector<ReadGlyph> readTurnHud(bool unlit = false) {
        setEyeView();
        if (unlit) {
            glDisable(GL_LIGHTING);
        }
        const Capture capture = glfeedback::capture([this] { hud->drawTurnHud(); });
        glEnable(GL_LIGHTING);
        return readGlyphs(capture, panelShapes());
    }

    Hud* hud = nullptr;
};

}  // namespace strokereading

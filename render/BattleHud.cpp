#include <GL/gl.h>

#include "app/Keys.h"
#include "battle/Battle.h"
#include "game/Model.h"
#include "game/Ship.h"
#include "render/Hud.h"
#include "render/Palette.h"
#include "render/StrokeText.h"

namespace {

constexpr float kBattleSideX = 5;  // eye x of a player's battle legend and ship
constexpr float kBattleDepth = -10;
constexpr float kBattleScale = 2;
constexpr float kBattleYouY = -1.5f;  // eye y of "you", under the legend

// The lane-cursor keys as "<-we->" (or "<-io->"), then four squares in the
// unit kind colours, each labelled with the key that deploys that kind.
void compileKeysLegend(const PlayerKeys& keys) {
    glPushMatrix();
    setColour(kWhite);
    Hud::scaleToText();
    glTranslatef(-460, 300, 0);
    const char towardsLeft[] = {'<', '-', keys.cursorLeft, '\0'};
    const char towardsRight[] = {keys.cursorRight, '-', '>', '\0'};
    drawWords({towardsLeft, towardsRight}, 70, 150);
    glPopMatrix();

    constexpr float kSquare = 0.25f;
    glPushMatrix();
    glTranslatef(-0.5f, 0, 0);
    for (int kind = 0; kind < kUnitKinds; ++kind) {
        if (kind > 0) {
            glTranslatef(kSquare, 0, 0);
        }
        setColour(kKindColours[kind]);
        glBegin(GL_QUADS);
        glVertex3f(0, kSquare, 0);
        glVertex3f(kSquare, kSquare, 0);
        glVertex3f(kSquare, 0, 0);
        glVertex3f(0, 0, 0);
        glEnd();
        glPushMatrix();
        glTranslatef(0.1f, -0.1f, 0);
        Hud::scaleToText();
        setColour(kWhite);
        drawGlyph(keys.sendUnit[kind], 0);
        glPopMatrix();
    }
    glPopMatrix();
}
void drawBattleSide(unsigned keysList, float x, Ship* ship) {
    glPushMatrix();
    glTranslatef(x, 0, kBattleDepth);
    glScalef(kBattleScale, kBattleScale, kBattleScale);
    glCallList(keysList);
    glTranslatef(0, 1, 0);
    glRotatef(90, 1, 0, 0);
    ship->draw();
    glPopMatrix();
}

}  // namespace

void Hud::buildLegends() {
    compileList(leftKeysList, "Hud", [] { compileKeysLegend(kPlayerKeys[0]); });
    compileList(rightKeysList, "Hud", [] { compileKeysLegend(kPlayerKeys[1]); });
}

void Hud::drawBattleHud() {
    const Model* model = Model::getSelf();
    const Battle* battle = model->battle;
    if (battle == nullptr || !haveLists(listsBuilt)) {
        return;
    }
    glPushMatrix();
    Hud::fitToWindow();
    drawBattleSide(leftKeysList, -kBattleSideX, battle->shipOf(model->players[0]));
    drawBattleSide(rightKeysList, kBattleSideX, battle->shipOf(model->players[1]));
    constexpr float kSideX[] = {-kBattleSideX, kBattleSideX};
    drawYou(kSideX, kBattleYouY, kBattleDepth, kBattleScale);
    glPopMatrix();
    drawWaiting();
}

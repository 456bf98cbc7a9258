#include "app/Screens.h"

#include <GL/glut.h>

#include <algorithm>

#include "app/FramePacer.h"
#include "app/Menu.h"
#include "battle/Battle.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/NodeMap.h"
#include "game/Player.h"
#include "game/Tick.h"
#include "render/Hud.h"
#include "render/Palette.h"
#include "render/StrokeText.h"
#include "sound/TickSounds.h"

namespace {

constexpr double kFieldOfView = 60;
constexpr double kNearPlane = 1;
constexpr double kFarPlane = 100000000;
constexpr double kTitleFarPlane = 100;
constexpr float kSwayReach = 10;  // how far the pointer moves the title and map eyes

void setPerspective(double farPlane) {
    const Model* model = Model::getSelf();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfView, static_cast<double>(model->windowWidth) / model->windowHeight,
                   kNearPlane, farPlane);
    glViewport(0, 0, model->windowWidth, model->windowHeight);
}

void resetModelView() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// "press space": one extra move after each glyph, wider in the word gap.
void drawPressSpace() {
    drawWords({"press", "space"}, 100, 200);
}

// A game runs every due tick; a replay as many as its speed and its end allow.
int ticksToRun(const Pace& pace, int due, std::uint64_t tick) {
    if (pace.paused || tick >= pace.endTick) {
        return 0;
    }
    const std::uint64_t wanted = static_cast<std::uint64_t>(due) * pace.speed;
    return static_cast<int>(std::min(wanted, pace.endTick - tick));
}

}  // namespace

FrameWork& frameWork() {
    static FrameWork work;
    return work;
}

namespace {

// As many of `ticks` as the command sources are ready for, then the sending.
int runReadyTicks(int ticks) {
    int ran = 0;
    for (; ran < ticks && tickReady(); ++ran) {
        runGameTick();
    }
    const FrameWork& work = frameWork();
    if (work.afterTicks) {
        work.afterTicks();
    }
    return ran;
}

}  // namespace

void runDueTicks(FramePacer& pacer) {
    static int owed = 0;
    const FrameWork& work = frameWork();
    if (work.beforeTicks) {
        work.beforeTicks();
    }
    const int total = pacer.takeDueTicks() + owed;
    const int due = std::min(total, FramePacer::kMaxTicksPerFrame);
    const int wanted = ticksToRun(Model::getSelf()->pace, due, Model::getSelf()->tick);
    const int ran = runReadyTicks(wanted);
    owed = std::min(total - due + wanted - ran, kMaxOwedTicks);
}

void onDisplay() {
    drawFrame();
    glutSwapBuffers();
}

int playFrame(int ticks) {
    const int ran = runReadyTicks(ticks);
    drawFrame();
    glutSwapBuffers();
    return ran;
}

void runGameTick() {
    Model* model = Model::getSelf();
    runTick();
    gameSounds().afterTick(model->report, *model);
    if (model->screen == MapScreen && model->hud != nullptr) {
        model->hud->advanceSpin(model->currentPlayer);
    }
}

TickSounds& gameSounds() {
    static TickSounds sounds;
    return sounds;
}

void drawFrame() {
    const Model* model = Model::getSelf();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    setPerspective(kFarPlane);
    switch (model->screen) {
        case TitleScreen:
            drawTitleScreen();
            break;
        case MapScreen:
            drawMapScreen();
            break;
        case BattleScreen:
            drawBattleScreen();
            break;
        case EndScreen:
            drawEndScreen();
            break;
        default:
            break;
    }
}

void onReshape(int width, int height) {
    // A zero width would make the pointer mapping divide by zero.
    if (width <= 0 || height <= 0) {
        return;
    }
    Model* model = Model::getSelf();
    model->windowWidth = width;
    model->windowHeight = height;
}

void drawTitleScreen() {
    const Model* model = Model::getSelf();
    setPerspective(kTitleFarPlane);
    resetModelView();
    gluLookAt(model->mapCenterX + kSwayReach * model->pointerX, model->viewHeight,
              -kSwayReach * model->pointerY, 0, 0, 0, 0, 0, -1);
    model->menu->setScheme();
    glPushMatrix();
    glScalef(10, 0, 7);
    model->menu->draw();
    glPopMatrix();
    setColour(kWhite);
    glTranslatef(0, 1, 0);
    glScalef(0.01f, 0.01f, 0.01f);
    glRotatef(-90, 1, 0, 0);
    // Nobody can start a network game before the other machine is in.
    if (model->waitingForPeer) {
        Hud::writeWaiting();
    } else {
        glTranslatef(-850, 0, 0);
        drawPressSpace();
    }
}

void drawMapScreen() {
    const Model* model = Model::getSelf();
    resetModelView();
    model->hud->draw();
    // The map's centre is kept in grid units; the camera looks at it in the
    // world, where the cells are, so that maps grown far to one side stay whole.
    const double centreX = model->mapCenterX * kCellWidth;
    const double centreZ = model->mapCenterZ * kCellDepth;
    gluLookAt(centreX - kSwayReach * model->pointerX, model->viewHeight,
              centreZ + kSwayReach * model->pointerY, centreX, 0, centreZ, 0, 0, -1);
    model->nodeMap->drawMap();
    for (int i = 0; i < model->playerCount; ++i) {
        model->players[i]->drawShips();
    }
}

void drawBattleScreen() {
    const Model* model = Model::getSelf();
    resetModelView();
    model->hud->draw();
    gluLookAt(0, 5000, 10000, 0, 0, 0, 0, 1, 0);
    if (model->battle != nullptr) {
        model->battle->draw();
    }
}

void drawEndScreen() {
    const Model* model = Model::getSelf();
    resetModelView();
    gluLookAt(0, 100, 0, 0, 0, 0, 0, 0, -1);
    const Colour& winner = kPlayerDark[model->loser != 0 ? 0 : 1];
    setColour(winner);
    glDisable(GL_LIGHTING);
    glBegin(GL_QUADS);
    glVertex3f(-30, 0, -30);
    glVertex3f(-30, 0, 30);
    glVertex3f(30, 0, 30);
    glVertex3f(30, 0, -30);
    glEnd();
    setColour(kWhite);
    glTranslatef(-5, 10, 0);
    glRotatef(-90, 1, 0, 1);
    glScalef(0.05f, 0.05f, 0.05f);
    const float extraMoves[] = {30, 30, 30};
    drawGlyphs("WIN", extraMoves);
}

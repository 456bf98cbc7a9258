#include "render/Hud.h"

#include <GL/glu.h>

#include <algorithm>
#include <cstdio>

#include "app/Keys.h"
#include "game/Invariant.h"
#include "game/Model.h"
#include "game/Node.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "render/Palette.h"
#include "render/StrokeText.h"

namespace {

Node** makeIcons(Player* owner) {
    Node** icons = new Node*[kNodeKinds];
    for (int kind = 0; kind < kNodeKinds; ++kind) {
        icons[kind] = new Node(kind);
        icons[kind]->owner = owner;
        icons[kind]->showOwner = true;
    }
    return icons;
}

void destroyIcons(Node** icons) {
    for (int kind = 0; kind < kNodeKinds; ++kind) {
        delete icons[kind];
    }
    delete[] icons;
}

constexpr float kPanelDepth = -2;         // eye z of the help lines and the panels
constexpr float kRowStep = 2.0f / 7.0f;   // between panel rows, downwards
constexpr float kRightAlignShift = -180;  // font units, per shift of a right-panel number
constexpr double kFastSpin = 1;           // degrees per row on the current player's panel
constexpr double kSlowSpin = 0.1;         // degrees per row on the other panel
constexpr float kFullTurn = 360;
constexpr double kPanelCoinRadius = 0.15;
constexpr double kLineCoinRadius = 40;  // font units
constexpr int kCoinDetail = 5;          // slices and stacks
constexpr int kStockScale = 10;         // a panel's preview bars add up to a full stock
// The panels reach 1.7 to either side at the depth of 2, and the battle ships
// 7 at the depth of 10: windows at least 16:10 wide show them as laid out.
constexpr float kLaidOutAspect = 1.6f;

// Where one side panel stands and how it places its numbers.
struct PanelLayout {
    float x;            // eye x of the icons
    float numberX;      // font units from the icons to the numbers
    bool rightAligned;  // numbers move left as they gain digits
};

constexpr PanelLayout kLeftPanel{-1.5f, 200, false};
constexpr PanelLayout kRightPanel{1.5f, -270, true};
constexpr float kYouY = 1.03f;  // eye y of "you", above the panel's ship

// The coins are GLU spheres; one quadric, made with the class's lists, serves
// them all for the life of the process.
GLUquadric* coinQuadric = nullptr;

void drawCoin(double radius) {
    KARVOSSA_ASSERT(coinQuadric != nullptr, "a coin was drawn before the Hud's lists were built");
    if (coinQuadric == nullptr) {
        return;
    }
    gluSphere(coinQuadric, radius, kCoinDetail, kCoinDetail);
}

// "space to buy ship (10", a coin for the credits, ")".
void drawBuyLine() {
    static_assert(kBuyShipKey == ' ', "the buy line names the space bar");
    char price[16];
    std::snprintf(price, sizeof price, "(%d", kShipPrice);
    glPushMatrix();
    glTranslatef(0, 0, kPanelDepth);
    setColour(kWhite);
    Hud::scaleToText();
    glTranslatef(-1000, -1000, 0);
    drawWords({"space", "to", "buy", "ship", price}, 30, 80);
    glTranslatef(60, 40, 0);
    drawCoin(kLineCoinRadius);
    glTranslatef(40, -40, 0);
    drawGlyph(')', 0);
    glPopMatrix();
}

// Names the key that ends the current player's turn, in that player's colour.
void drawEndTurnLine(int currentPlayer) {
    const int side = currentPlayer == 0 ? 0 : 1;
    glPushMatrix();
    glTranslatef(0, 0, kPanelDepth);
    setColour(kPlayerDark[side]);
    Hud::scaleToText();
    glTranslatef(-700, 800, 0);
    const char key[] = {'\'', kPlayerKeys[side].endTurn, '\'', '\0'};
    drawWords({key, "to", "end", "turn"}, 30, 80);
    glPopMatrix();
}

int digitCount(int value) {
    int digits = 1;
    for (; value >= 10; value /= 10) {
        ++digits;
    }
    return digits;
}

// The right panel keeps its numbers right-aligned next to the icons: one
// shift for every digit after the first.
void drawCounter(int value, const PanelLayout& layout) {
    glPushMatrix();
    setColour(kWhite);
    Hud::scaleToText();
    glTranslatef(layout.numberX, 0, 0);
    glPushMatrix();
    if (layout.rightAligned) {
        glTranslatef(kRightAlignShift * static_cast<float>(digitCount(value) - 1), 0, 0);
    }
    drawNumber(value);
    glPopMatrix();
    glPopMatrix();
}

// The preview ship's bars show the mix of the player's productive nodes
// (kinds 0..3) scaled to a full stock. A player without productive nodes
// gets empty bars rather than a division by zero.
void setPreviewStock(Ship* preview, const Player* player) {
    const int productive = player->nodeTotal - player->kindCounts[kCreditKind];
    for (int kind = 0; kind < kUnitKinds; ++kind) {
        if (productive <= 0) {
            preview->unitStock[kind] = 0;
            continue;
        }
        const double share = static_cast<double>(player->kindCounts[kind]) / productive;
        preview->unitStock[kind] = static_cast<int>(share * kStockScale);
    }
}

void drawPreviewShip(Ship* preview, const Player* player, float angle) {
    glPushMatrix();
    glScalef(0.2f, 0.2f, 0.2f);
    glRotatef(angle, 0, 1, 0);
    glTranslatef(0, 0, -0.4f);
    glRotatef(80, 1, 0, 0);
    setPreviewStock(preview, player);
    preview->draw();
    glPopMatrix();
}

// One row's turn of a panel; a full turn starts again from 0.
float spinOn(float angle, bool onTurn) {
    const float next = static_cast<float>(angle + (onTurn ? kFastSpin : kSlowSpin));
    return next >= kFullTurn ? 0 : next;
}

// A tick turns a panel by one row's turn for each of its node rows.
float spinOneTick(float angle, bool onTurn) {
    for (int kind = 0; kind < kNodeKinds; ++kind) {
        angle = spinOn(angle, onTurn);
    }
    return angle;
}

void drawIcon(Node* icon, float angle) {
    glPushMatrix();
    glRotatef(angle, 0, 1, 0);
    glRotatef(80, 1, 0, 0);
    glScalef(0.1f, 0.1f, 0.1f);
    icon->draw();
    glPopMatrix();
}

// One player's column: ships, nodes of each kind, credits, each number beside
// a spinning icon. Each node row stands one row's turn further than the one
// above it, from the angle the last tick left.
void drawPanel(const PanelLayout& layout, Ship* preview, Node* const* icons, float angle,
               bool onTurn) {
    const Player* player = preview->owner;
    if (player == nullptr) {
        return;
    }
    glPushMatrix();
    glTranslatef(layout.x, 0.2f, 0);
    glTranslatef(0, 1, kPanelDepth);
    glTranslatef(0, -kRowStep, 0);
    drawCounter(player->shipCount, layout);
    drawPreviewShip(preview, player, angle);
    for (int kind = 0; kind < kNodeKinds; ++kind) {
        glTranslatef(0, -kRowStep, 0);
        drawCounter(player->kindCounts[kind], layout);
        angle = spinOn(angle, onTurn);
        drawIcon(icons[kind], angle);
    }
    glTranslatef(0, -kRowStep, 0);
    drawCounter(player->credits, layout);
    glRotatef(angle, 0, 1, 0);
    drawCoin(kPanelCoinRadius);
    glPopMatrix();
}

}  // namespace

Hud::Hud() {
    Player** players = Model::getSelf()->players;
    leftShip = new Ship(players[0]);
    rightShip = new Ship(players[1]);
    leftIcons = makeIcons(players[0]);
    rightIcons = makeIcons(players[1]);
    leftAngle = 0;
    rightAngle = 0;
    if (!listsBuilt) {
        buildLists();
    }
}

Hud::~Hud() {
    destroyIcons(leftIcons);
    destroyIcons(rightIcons);
    delete leftShip;
    delete rightShip;
}

void Hud::buildLists() {
    if (listsBuilt || !contextIsCurrent()) {
        return;
    }
    buildLegends();
    coinQuadric = gluNewQuadric();
    listsBuilt = true;
}

// On windows narrower than 16:10 the overlay would run off the sides; there
// it shrinks towards the middle of the screen as a whole, keeping its layout.
void Hud::fitToWindow() {
    const Model* model = Model::getSelf();
    const float aspect = static_cast<float>(model->windowWidth) / model->windowHeight;
    const float scale = std::min(1.0f, aspect / kLaidOutAspect);
    glScalef(scale, scale, 1);
}

void Hud::scaleToText() {
    glScalef(kHudTextScale, kHudTextScale, kHudTextScale);
}

void Hud::draw() {
    if (Model::getSelf()->screen == BattleScreen) {
        drawBattleHud();
    } else {
        drawTurnHud();
    }
}

void Hud::advanceSpin(int currentPlayer) {
    leftAngle = spinOneTick(leftAngle, currentPlayer == 0);
    rightAngle = spinOneTick(rightAngle, currentPlayer == 1);
}

void Hud::drawTurnHud() {
    if (!haveLists(listsBuilt)) {
        return;
    }
    const Model* model = Model::getSelf();
    glPushMatrix();
    Hud::fitToWindow();
    drawBuyLine();
    drawEndTurnLine(model->currentPlayer);
    drawPanel(kLeftPanel, leftShip, leftIcons, leftAngle, model->currentPlayer == 0);
    drawPanel(kRightPanel, rightShip, rightIcons, rightAngle, model->currentPlayer == 1);
    constexpr float kPanelX[] = {kLeftPanel.x, kRightPanel.x};
    drawYou(kPanelX, kYouY, kPanelDepth, 0.8f);
    glPopMatrix();
    drawWaiting();
}

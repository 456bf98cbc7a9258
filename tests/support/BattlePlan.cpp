#include "support/BattlePlan.h"

#include <algorithm>
#include <cmath>

#include "game/Model.h"
#include "game/Node.h"
#include "game/NodeMap.h"
#include "game/Player.h"
#include "game/Ship.h"
#include "render/Selector.h"
#include "support/World.h"

namespace {

// Close enough for player 0's ship to wait one step out and player 1's to
// reach the node beside it in two.
constexpr int kHomesApart = 4;

Cell cellOf(const MapNode& node) {
    return {node.gridX, node.gridZ};
}

Cell cellOf(const Node* node) {
    return {node->gridX, node->gridZ};
}

int hopsBetween(const GrownMap& map, int from, int to) {
    std::vector<int> hops(map.nodes.size(), -1);
    std::vector<int> queue = {from};
    hops[from] = 0;
    for (std::size_t head = 0; head < queue.size(); ++head) {
        for (const int next : map.nodes[queue[head]].neighbors) {
            if (next >= 0 && hops[next] < 0) {
                hops[next] = hops[queue[head]] + 1;
                queue.push_back(next);
            }
        }
    }
    return hops[to];
}

// A click on the cell, as the click command carries it to the map.
void clickOn(Model* model, Cell cell) {
    model->nodeMap->handleClick(cell.gridZ, cell.gridX);
}

// Plays the plan's clicks and turn ends with the library, filling in
// halfway1 and the stocks; false when the ships do not end up as the plan
// needs them.
bool playThrough(std::uint32_t seed, int waitingPairs, BattlePlan* plan) {
    Model* model = buildWorld(seed);
    clickOn(model, plan->home0);
    clickOn(model, plan->wait0);
    endTurn(model);
    clickOn(model, plan->home1);
    clickOn(model, plan->meet1);
    const Ship* ship0 = model->players[0]->ships[0];
    const Ship* ship1 = model->players[1]->ships[0];
    plan->halfway1 = cellOf(ship1->location);
    for (int turn = 0; turn < 2 * waitingPairs + 1; ++turn) {
        endTurn(model);
    }
    plan->stock0 = ship0->totalStock();
    plan->stock1 = ship1->totalStock();
    const bool ready = model->currentPlayer == 0 && !ship0->moved &&
                       cellOf(ship0->location) == plan->wait0 &&
                       cellOf(ship1->location) == plan->meet1 && plan->stock0 > 0;
    Model::resetSelf();
    return ready;
}

}  // namespace

std::vector<BattlePlan> playablePlans(const GrownMap& map, std::uint32_t seed, int waitingPairs) {
    std::vector<BattlePlan> plans;
    if (hopsBetween(map, 0, 1) != kHomesApart) {
        return plans;
    }
    // Node i is player i's home. A credit node would feed the waiting ship no
    // units.
    for (const int wait : map.nodes[0].neighbors) {
        if (wait < 0 || map.nodes[wait].kind == kCreditKind ||
            hopsBetween(map, wait, 1) != kHomesApart - 1) {
            continue;
        }
        for (const int meet : map.nodes[wait].neighbors) {
            if (meet < 0 || hopsBetween(map, meet, 1) != 2 || hopsBetween(map, meet, 0) != 2) {
                continue;
            }
            BattlePlan plan{};
            plan.home0 = cellOf(map.nodes[0]);
            plan.wait0 = cellOf(map.nodes[wait]);
            plan.waitKind = map.nodes[wait].kind;
            plan.home1 = cellOf(map.nodes[1]);
            plan.meet1 = cellOf(map.nodes[meet]);
            if (playThrough(seed, waitingPairs, &plan)) {
                plans.push_back(plan);
            }
        }
    }
    return plans;
}

bool isPointerMark(Pixel p) {
    return p.r >= 200 && p.g <= 50 && p.b <= 50;
}
bool isWhite(Pixel p) {
    return std::min({p.r, p.g, p.b}) >= 200;
}
bool isBlack(Pixel p) {
    return std::max({p.r, p.g, p.b}) <= 20;
}
bool isReddish(Pixel p) {
    return p.r - p.b > 60;
}
bool isBluish(Pixel p) {
    return p.b - p.r > 60;
}
bool isLane(Pixel p) {
    return isNear(p, {230, 128, 77}, 12);
}
bool isPlayer0Unit(Pixel p) {
    return isNear(p, {153, 51, 51}, 16);
}
bool isPlayer1Unit(Pixel p) {
    return isNear(p, {51, 51, 153}, 16);
}

bool showsTurnOf(const Picture& picture, int player) {
    const int bluish = picture.count(kEndTurnLine, isBluish);
    const int reddish = picture.count(kEndTurnLine, isReddish);
    return player == 1 ? bluish >= 100 && reddish <= 10 : reddish >= 100 && bluish <= 10;
}

double meanRow(const Picture& picture, const ScreenRect& region,
               const std::function<bool(Pixel)>& test) {
    double rows = 0;
    int found = 0;
    for (int y = std::max(region.top, 0); y < std::min(region.bottom, picture.height()); ++y) {
        for (int x = std::max(region.left, 0); x < std::min(region.right, picture.width()); ++x) {
            if (test(picture.at(x, y))) {
                rows += y;
                ++found;
            }
        }
    }
    return found > 0 ? rows / found : picture.height();
}

Pixel pixelAt(const Picture& picture, ScreenPoint point) {
    return picture.at(static_cast<int>(std::lround(point.x)),
                      static_cast<int>(std::lround(point.y)));
}

bool showsShip(const Picture& picture, const MapCamera& camera, Cell cell) {
    constexpr double kDeckHeight = 0.35;
    constexpr double kDeck[4][2] = {{-0.2, -0.18}, {-0.2, 0.18}, {0.12, -0.18}, {0.12, 0.18}};
    int black = 0;
    for (const auto& point : kDeck) {
        const ScreenPoint seen =
            camera.projectOnCell(cell.gridX, cell.gridZ, point[0], kDeckHeight, point[1]);
        black += isBlack(pixelAt(picture, seen)) ? 1 : 0;
    }
    return black >= 3;
}

int countOnCell(const Picture& picture, const MapCamera& camera, Cell cell, double y, double reach,
                const std::function<bool(Pixel)>& test) {
    const ScreenPoint low = camera.projectOnCell(cell.gridX, cell.gridZ, -reach, y, -reach);
    const ScreenPoint high = camera.projectOnCell(cell.gridX, cell.gridZ, reach, y, reach);
    const ScreenRect box{static_cast<int>(std::min(low.x, high.x)),
                         static_cast<int>(std::min(low.y, high.y)),
                         static_cast<int>(std::max(low.x, high.x)) + 1,
                         static_cast<int>(std::max(low.y, high.y)) + 1};
    return picture.count(box, test);
}

namespace {

bool isPlainTile(Pixel p) {
    return p.r >= 120 && p.r <= 200 && std::abs(p.r - p.g) <= 6 && std::abs(p.r - p.b) <= 6;
}
bool isColoured(Pixel p) {
    return std::max({p.r, p.g, p.b}) - std::min({p.r, p.g, p.b}) >= 60;
}
bool isPlayerColour(Pixel p) {
    return isReddish(p) || isBluish(p);
}

}  // namespace

bool showsDrawnMap(const Picture& picture, const GrownMap& map, const std::vector<Cell>& ships) {
    const int w = picture.width();
    const int h = picture.height();
    const ScreenRect middle{w / 4, h / 4, 3 * w / 4, 3 * h / 4};
    const int lit = picture.count(middle, [](Pixel p) { return !isBlack(p); });
    if (lit * 10 < w * h / 4 || picture.count(kStillPart, isPlainTile) < 20000 ||
        picture.count({0, 0, w / 5, h}, isColoured) < 10000 ||
        picture.count({w - w / 5, 0, w, h}, isColoured) < 10000) {
        return false;
    }
    const MapCamera camera(map, w, h, {w / 2, h / 2});
    return std::all_of(ships.begin(), ships.end(), [&](Cell cell) {
        const ScreenPoint seen = camera.projectOnCell(cell.gridX, cell.gridZ, 0, 0, 0);
        const bool inView = seen.x > w / 5 && seen.x < w - w / 5 && seen.y > 0 && seen.y < h;
        return !inView || (showsShip(picture, camera, cell) &&
                           countOnCell(picture, camera, cell, 0.25, 0.6, isPlayerColour) >= 50);
    });
}

#include "game/Model.h"
#include "game/Node.h"
#include "game/NodeMap.h"
#include "render/Selector.h"

void NodeMap::drawMap() {
    const Model* model = Model::getSelf();
    if (selector != nullptr) {
        // The cursor follows the pointer only while the map is shown.
        selector->updateCursor(model->pointerX, model->pointerY);
        selector->drawCursor();
    }
    if (nodes == nullptr) {
        return;
    }
    for (int i = 0; i < model->nodeCount; ++i) {
        nodes[i]->drawAt();
    }
}

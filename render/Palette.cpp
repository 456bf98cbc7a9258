#include "render/Palette.h"

#include "game/Model.h"

int colourIndex(const Player* owner) {
    const Model* model = Model::getSelf();
    const bool isPlayer0 = model->players != nullptr && owner == model->players[0];
    return isPlayer0 ? 0 : 1;
}

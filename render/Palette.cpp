#include "render/Palette.h"

#include <GL/gl.h>

#include "game/Model.h"

void setColour(const Colour& c) {
    glColor3f(c.r, c.g, c.b);
}

int colourIndex(const Player* owner) {
    const Model* model = Model::getSelf();
    const bool isPlayer0 = model->players != nullptr && owner == model->players[0];
    return isPlayer0 ? 0 : 1;
}

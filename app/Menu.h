#pragma once
// The coloured board under the title text. It is drawn only once setScheme has
// given it its colour, at the first title frame.
#include "render/DrawableGeometry.h"

class Menu final : public DrawableGeometry {
public:
    Menu();

    void buildLists() override;
    void draw() override;
    void setScheme();

    bool visible = false;

    static inline bool listsBuilt = false;
    static inline unsigned boardList = 0;
};

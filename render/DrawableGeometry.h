#pragma once
// Base of everything the game draws. Each object carries a material (a colour
// and the specular, ambient and diffuse arrays derived from it); each class
// compiles its geometry into display lists once, when its first object is
// constructed, and every later object replays the same lists.
//
// Derived constructors follow one pattern: base constructor, own fields
// (including baseHeight where their lists use it), then their own buildLists()
// while their class's listsBuilt is false.
#include <functional>

struct Colour;

// Ordinary coloured surfaces and surfaces at full strength use these factors.
struct MaterialFactors {
    float specular, diffuse, ambient;
};
constexpr MaterialFactors kPlainFactors{0.1f, 0.5f, 0.7f};
constexpr MaterialFactors kFullFactors{1.0f, 1.0f, 1.0f};

class DrawableGeometry {
public:
    DrawableGeometry();
    DrawableGeometry(const DrawableGeometry&) = delete;
    DrawableGeometry& operator=(const DrawableGeometry&) = delete;

    virtual void buildLists();  // compiles the class's lists unless listsBuilt
    virtual void draw();        // draws at the current model-view origin
    virtual void setMaterial(float r, float g, float b, float a, float specularFactor,
                             float diffuseFactor, float ambientFactor);
    // The usual material: an opaque colour with one of the factor sets above,
    // passed on to the virtual setMaterial.
    void setMaterial(const Colour& c, const MaterialFactors& factors);
    virtual void applyMaterial();  // specular, diffuse, ambient for GL_FRONT, then the colour

    float baseHeight = 0;  // y at which a class's lists place their flat geometry
    float colour[4] = {};  // r, g, b, a as last given to setMaterial
    float specular[4] = {};
    float ambient[4] = {};
    float diffuse[4] = {};

    static inline bool listsBuilt = false;
    static inline unsigned sphereList = 0;

protected:
    // Objects are destroyed through their own (final) class, never through the base.
    ~DrawableGeometry() = default;
};

// A list id of its own (glGenLists(1)), compiled, not executed, around
// whatever emit() sends. Every buildLists makes its lists with it.
unsigned compileList(const std::function<void()>& emit);

#pragma once
// Base of everything the game draws. Each object carries a material (a colour
// and the specular, ambient and diffuse arrays derived from it); each class
// compiles its geometry into display lists once and every object of the class
// replays the same lists.
//
// Lists can be compiled only while an OpenGL context is current. Derived
// constructors set their own fields (including baseHeight where their lists
// use it) and then call their own buildLists(), which compiles the lists when
// a window exists and leaves them for later otherwise: objects made before
// the window (a record played through at start-up) build their class's lists
// at their first draw, through haveLists().
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
    DrawableGeometry() = default;
    DrawableGeometry(const DrawableGeometry&) = delete;
    DrawableGeometry& operator=(const DrawableGeometry&) = delete;

    // Compiles the class's lists unless they are built or no context is current.
    virtual void buildLists() = 0;
    virtual void draw() = 0;  // draws at the current model-view origin
    virtual void setMaterial(float r, float g, float b, float a, float specularFactor,
                             float diffuseFactor, float ambientFactor);
    // The usual material: an opaque colour with one of the factor sets above,
    // passed on to the virtual setMaterial.
    void setMaterial(const Colour& c, const MaterialFactors& factors);
    virtual void applyMaterial();  // specular, diffuse, ambient for GL_FRONT, then the colour

    // Whether this thread has a current OpenGL context to compile lists in
    // (render/DrawableContext.cpp).
    static bool contextIsCurrent();

    float baseHeight = 0;  // y at which a class's lists place their flat geometry
    float colour[4] = {};  // r, g, b, a as last given to setMaterial
    float specular[4] = {};
    float ambient[4] = {};
    float diffuse[4] = {};

protected:
    // Objects are destroyed through their own (final) class, never through the base.
    ~DrawableGeometry() = default;
    // For draw(): builds the lists first if the class's flag says they are
    // not; whether they are built now.
    bool haveLists(const bool& classListsBuilt);
};

// Gives `list` a list id of its own (glGenLists(1)) and compiles into it, not
// executing, whatever emit() sends. Every buildLists makes its lists with it,
// once each and only while a context is current; `owner` names the class in
// the check that says so.
void compileList(unsigned& list, const char* owner, const std::function<void()>& emit);

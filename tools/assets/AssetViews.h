#pragma once

#include "Canvas.h"

#include <irrlicht.h>

#include <string>
#include <vector>

namespace assets
{

// A camera as the effects describe theirs: position, target and up vector,
// with the demo's projection (90 degrees, 4:3, near 0.1, far 1000).
struct Camera
{
    irr::core::vector3df position, target, up{0, 1, 0};
};

// Renders the generated assets through the engine's OpenGL driver, for the
// documentation pictures and the pixel tests. Needs a display (Xvfb will do);
// frames are read back from the back buffer before they are shown.
class AssetViews
{
public:
    AssetViews(int width, int height);
    ~AssetViews();
    AssetViews(const AssetViews&) = delete;
    AssetViews& operator=(const AssetViews&) = delete;

    bool ready() const { return device != nullptr; }
    irr::video::IVideoDriver* driver() const;
    irr::scene::ISceneManager* sceneManager() const;

    // A directional light: the way it travels and its colour.
    struct Light
    {
        irr::core::vector3df direction;
        irr::video::SColorf colour;
    };
    // The effects' usual light: white, along +z.
    static std::vector<Light> lightAlongZ() { return {{{0, 0, 1}, {1, 1, 1, 1}}}; }

    // One frame of a model on a plain background, drawn once per world matrix.
    // With no lights the model shows its own colours exactly (lighting off);
    // with lights it is lit by them and by white ambient light, as the demo
    // lights its models.
    Canvas renderModel(irr::scene::IMesh* mesh, const Camera& camera, const std::vector<irr::core::matrix4>& worlds,
                       const std::vector<Light>& lights, irr::video::SColor background);
    // The model as the render-to-texture section shows it: a flat orange
    // shape (lit, black diffuse, orange emissive) drawn from each camera into
    // a tiny square target, which is then stretched over the whole frame.
    Canvas renderSilhouette(irr::scene::IMesh* mesh, const std::vector<Camera>& cameras, int targetSize,
                            irr::video::SColor background);
    // Where a world point lands on the frame, in pixels (y down), for the camera.
    irr::core::vector2di project(const Camera& camera, const irr::core::vector3df& point) const;

    // Every texture of the demo on a checkerboard that shows their alpha,
    // each labelled with its file name and size.
    Canvas contactSheet(const std::string& textureDirectory);

private:
    Canvas readBack() const;
    irr::core::matrix4 projection() const;
    irr::core::matrix4 view(const Camera& camera) const;

    irr::IrrlichtDevice* device = nullptr;
    int width, height;
};

} // namespace assets

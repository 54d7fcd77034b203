#pragma once

#include "display/ForwardingVideoDriver.h"

// The driver effects see in a frame that is ticked but not drawn: every state
// call (transforms, materials, lights) and every resource call (textures,
// render-target textures) reaches the real driver, so that it is left as a
// drawn frame leaves it, while everything that puts pixels anywhere is
// dropped: drawing, clears, scenes and render-target switches. A frame
// through it costs the effects' arithmetic and no rasterising.
class StateOnlyDriver : public irr::ForwardingVideoDriver
{
public:
    using ForwardingVideoDriver::ForwardingVideoDriver;

    using Colour = irr::video::SColor;
    using Rect = irr::core::rect<irr::s32>;
    using Position = irr::core::position2d<irr::s32>;
    using Texture = irr::video::ITexture;

    bool beginScene(bool, bool, Colour, const irr::video::SExposedVideoData&, Rect*) override { return true; }
    bool endScene() override { return true; }
    void clearZBuffer() override {}

    // The screen stays the target: the viewport never follows a texture.
    bool setRenderTarget(Texture*, bool, bool, Colour) override { return true; }
    bool setRenderTarget(irr::video::E_RENDER_TARGET, bool, bool, Colour) override { return true; }
    bool setRenderTarget(const irr::core::array<irr::video::IRenderTarget>&, bool, bool, Colour) override
    {
        return true;
    }

    void drawVertexPrimitiveList(const void*, irr::u32, const void*, irr::u32, irr::video::E_VERTEX_TYPE,
                                 irr::scene::E_PRIMITIVE_TYPE, irr::video::E_INDEX_TYPE) override
    {
    }
    void draw2DVertexPrimitiveList(const void*, irr::u32, const void*, irr::u32, irr::video::E_VERTEX_TYPE,
                                   irr::scene::E_PRIMITIVE_TYPE, irr::video::E_INDEX_TYPE) override
    {
    }
    void drawMeshBuffer(const irr::scene::IMeshBuffer*) override {}
    void drawMeshBufferNormals(const irr::scene::IMeshBuffer*, irr::f32, Colour) override {}
    void draw3DLine(const irr::core::vector3df&, const irr::core::vector3df&, Colour) override {}
    void draw3DTriangle(const irr::core::triangle3df&, Colour) override {}
    void draw3DBox(const irr::core::aabbox3d<irr::f32>&, Colour) override {}

    void draw2DImage(const Texture*, const Position&) override {}
    void draw2DImage(const Texture*, const Position&, const Rect&, const Rect*, Colour, bool) override {}
    void draw2DImage(const Texture*, const Rect&, const Rect&, const Rect*, const Colour* const, bool) override {}
    void draw2DImageBatch(const Texture*, const Position&, const irr::core::array<Rect>&,
                          const irr::core::array<irr::s32>&, irr::s32, const Rect*, Colour, bool) override
    {
    }
    void draw2DImageBatch(const Texture*, const irr::core::array<Position>&, const irr::core::array<Rect>&, const Rect*,
                          Colour, bool) override
    {
    }
    void draw2DRectangle(Colour, const Rect&, const Rect*) override {}
    void draw2DRectangle(const Rect&, Colour, Colour, Colour, Colour, const Rect*) override {}
    void draw2DRectangleOutline(const Rect&, Colour) override {}
    void draw2DLine(const Position&, const Position&, Colour) override {}
    void drawPixel(irr::u32, irr::u32, const Colour&) override {}
    void draw2DPolygon(Position, irr::f32, Colour, irr::s32) override {}

    void drawStencilShadowVolume(const irr::core::array<irr::core::vector3df>&, bool, irr::u32) override {}
    void drawStencilShadow(bool, Colour, Colour, Colour, Colour) override {}
    void runOcclusionQuery(irr::scene::ISceneNode*, bool) override {}
    void runAllOcclusionQueries(bool) override {}
};

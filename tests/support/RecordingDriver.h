#pragma once

#include "display/ForwardingVideoDriver.h"

#include <string>
#include <vector>

// A video driver for call-level tests: it keeps a record of every drawing
// call the demo makes (with the state in force at the time) and hands the
// call on to the engine's null driver. The null driver forgets transforms, so
// this driver keeps them and reads them back as a real driver would.
class RecordingDriver : public irr::ForwardingVideoDriver
{
public:
    struct Triangles
    {
        std::vector<irr::video::S3DVertex> vertices;
        std::vector<irr::u16> indices;
        irr::u32 triangleCount;
        irr::video::SMaterial material;
        irr::core::matrix4 projection, view, world;
        irr::video::ITexture* renderTarget;
        bool zWriteOnTransparent; // the driver-wide flag in force
    };
    struct Image
    {
        const irr::video::ITexture* texture;
        irr::core::recti destination, source;
        bool clipped;
        bool tinted; // corner colours were given
        irr::video::SColor colours[4];
        bool useAlphaChannel;
        irr::video::ITexture* renderTarget;
    };
    struct Rectangle
    {
        irr::video::SColor colour;
        irr::core::recti area;
        bool clipped;
        irr::video::ITexture* renderTarget;
    };
    struct MeshBufferDraw
    {
        const irr::scene::IMeshBuffer* buffer;
        irr::video::SMaterial material;
        irr::core::matrix4 projection, view, world;
        irr::video::ITexture* renderTarget;
    };
    struct RenderTargetSwitch
    {
        irr::video::ITexture* texture; // null: the screen
        bool clearBackBuffer, clearZBuffer;
        irr::video::SColor colour;
    };
    struct TransformSet
    {
        irr::video::E_TRANSFORMATION_STATE state;
        irr::core::matrix4 matrix;
    };

    // Makes a recording driver on top of the engine's null driver.
    explicit RecordingDriver(irr::video::IVideoDriver* nullDriver);

    // Forgets everything recorded so far (not the driver's state).
    void clearRecord();

    // Every recorded call, by name, in the order made.
    std::vector<std::string> calls;
    std::vector<Triangles> triangles;
    std::vector<Image> images;
    std::vector<Rectangle> rectangles;
    std::vector<MeshBufferDraw> meshBuffers;
    std::vector<RenderTargetSwitch> renderTargets;
    std::vector<TransformSet> transforms;
    std::vector<irr::video::SMaterial> materials;
    std::vector<irr::video::SLight> lightsAdded;
    // The view transform in force when each light was added (the GL driver
    // fixes a light against it).
    std::vector<irr::core::matrix4> lightViews;
    std::vector<irr::video::SColorf> ambientLights;
    std::vector<std::string> texturesLoaded;
    std::vector<irr::core::dimension2du> renderTargetsCreated;

    // When a texture file cannot be loaded, hand out a 1 x 1 stand-in named
    // after the path instead of null, so tests can tell textures apart.
    bool placeholderTextures = true;
    // When set, render-target creation fails (returns null), as on a driver
    // that cannot make render targets.
    bool failRenderTargets = false;

    // How many calls of this name were recorded.
    size_t count(const std::string& name) const;

    irr::video::ITexture* currentRenderTarget() const { return renderTarget; }

    bool beginScene(bool backBuffer, bool zBuffer, irr::video::SColor color,
                    const irr::video::SExposedVideoData& videoData, irr::core::rect<irr::s32>* sourceRect) override;
    bool endScene() override;
    void setTransform(irr::video::E_TRANSFORMATION_STATE state, const irr::core::matrix4& mat) override;
    const irr::core::matrix4& getTransform(irr::video::E_TRANSFORMATION_STATE state) const override;
    void setMaterial(const irr::video::SMaterial& material) override;
    irr::video::ITexture* getTexture(const irr::io::path& filename) override;
    irr::video::ITexture* addRenderTargetTexture(const irr::core::dimension2d<irr::u32>& size,
                                                 const irr::io::path& name,
                                                 const irr::video::ECOLOR_FORMAT format) override;
    bool setRenderTarget(irr::video::ITexture* texture, bool clearBackBuffer, bool clearZBuffer,
                         irr::video::SColor color) override;
    void drawVertexPrimitiveList(const void* vertices, irr::u32 vertexCount, const void* indexList, irr::u32 primCount,
                                 irr::video::E_VERTEX_TYPE vType, irr::scene::E_PRIMITIVE_TYPE pType,
                                 irr::video::E_INDEX_TYPE iType) override;
    void draw2DImage(const irr::video::ITexture* texture, const irr::core::rect<irr::s32>& destRect,
                     const irr::core::rect<irr::s32>& sourceRect, const irr::core::rect<irr::s32>* clipRect,
                     const irr::video::SColor* const colors, bool useAlphaChannelOfTexture) override;
    void draw2DRectangle(irr::video::SColor color, const irr::core::rect<irr::s32>& pos,
                         const irr::core::rect<irr::s32>* clip) override;
    void drawMeshBuffer(const irr::scene::IMeshBuffer* mb) override;
    void deleteAllDynamicLights() override;
    irr::s32 addDynamicLight(const irr::video::SLight& light) override;
    void setAmbientLight(const irr::video::SColorf& color) override;
    void setAllowZWriteOnTransparent(bool flag) override;

    // Other overloads stay reachable through this class too.
    using irr::ForwardingVideoDriver::draw2DImage;
    using irr::ForwardingVideoDriver::draw2DRectangle;
    using irr::ForwardingVideoDriver::getTexture;
    using irr::ForwardingVideoDriver::setRenderTarget;

private:
    irr::video::ITexture* renderTarget = nullptr;
    bool zWriteOnTransparent = false;
    irr::core::matrix4 transformState[irr::video::ETS_COUNT];
};

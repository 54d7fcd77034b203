#include "RecordingDriver.h"

#include <algorithm>

using namespace irr;

RecordingDriver::RecordingDriver(video::IVideoDriver* nullDriver) : ForwardingVideoDriver(nullDriver) {}

void RecordingDriver::clearRecord()
{
    calls.clear();
    triangles.clear();
    images.clear();
    rectangles.clear();
    meshBuffers.clear();
    renderTargets.clear();
    transforms.clear();
    materials.clear();
    lightsAdded.clear();
    lightViews.clear();
    ambientLights.clear();
    texturesLoaded.clear();
    renderTargetsCreated.clear();
}

size_t RecordingDriver::count(const std::string& name) const
{
    return static_cast<size_t>(std::count(calls.begin(), calls.end(), name));
}

bool RecordingDriver::beginScene(bool backBuffer, bool zBuffer, video::SColor color,
                                 const video::SExposedVideoData& videoData, core::rect<s32>* sourceRect)
{
    calls.push_back("beginScene");
    return inner->beginScene(backBuffer, zBuffer, color, videoData, sourceRect);
}

bool RecordingDriver::endScene()
{
    calls.push_back("endScene");
    return inner->endScene();
}

void RecordingDriver::setTransform(video::E_TRANSFORMATION_STATE state, const core::matrix4& mat)
{
    calls.push_back("setTransform");
    transforms.push_back({state, mat});
    transformState[state] = mat;
    inner->setTransform(state, mat);
}

const core::matrix4& RecordingDriver::getTransform(video::E_TRANSFORMATION_STATE state) const
{
    return transformState[state];
}

void RecordingDriver::setMaterial(const video::SMaterial& material)
{
    calls.push_back("setMaterial");
    materials.push_back(material);
    inner->setMaterial(material);
}

video::ITexture* RecordingDriver::getTexture(const io::path& filename)
{
    calls.push_back("getTexture");
    texturesLoaded.push_back(filename.c_str());
    video::ITexture* texture = inner->getTexture(filename);
    if (!texture && placeholderTextures)
        texture = inner->addTexture(core::dimension2du(1, 1), filename);
    return texture;
}

video::ITexture* RecordingDriver::addRenderTargetTexture(const core::dimension2d<u32>& size, const io::path& name,
                                                         const video::ECOLOR_FORMAT)
{
    // The null driver makes no render targets; a plain texture of the size stands in.
    calls.push_back("addRenderTargetTexture");
    renderTargetsCreated.push_back(size);
    return failRenderTargets ? nullptr : inner->addTexture(size, name);
}

bool RecordingDriver::setRenderTarget(video::ITexture* texture, bool clearBackBuffer, bool clearZBuffer,
                                      video::SColor color)
{
    calls.push_back("setRenderTarget");
    renderTargets.push_back({texture, clearBackBuffer, clearZBuffer, color});
    renderTarget = texture;
    return true;
}

void RecordingDriver::drawVertexPrimitiveList(const void* vertices, u32 vertexCount, const void* indexList,
                                              u32 primCount, video::E_VERTEX_TYPE vType, scene::E_PRIMITIVE_TYPE pType,
                                              video::E_INDEX_TYPE iType)
{
    calls.push_back("drawIndexedTriangleList");
    Triangles drawn;
    if (vType == video::EVT_STANDARD && pType == scene::EPT_TRIANGLES && iType == video::EIT_16BIT)
    {
        const auto* v = static_cast<const video::S3DVertex*>(vertices);
        const auto* i = static_cast<const u16*>(indexList);
        drawn.vertices.assign(v, v + vertexCount);
        drawn.indices.assign(i, i + primCount * 3);
    }
    drawn.triangleCount = primCount;
    drawn.material = materials.empty() ? video::SMaterial() : materials.back();
    drawn.projection = getTransform(video::ETS_PROJECTION);
    drawn.view = getTransform(video::ETS_VIEW);
    drawn.world = getTransform(video::ETS_WORLD);
    drawn.renderTarget = renderTarget;
    drawn.zWriteOnTransparent = zWriteOnTransparent;
    triangles.push_back(std::move(drawn));
    inner->drawVertexPrimitiveList(vertices, vertexCount, indexList, primCount, vType, pType, iType);
}

void RecordingDriver::draw2DImage(const video::ITexture* texture, const core::rect<s32>& destRect,
                                  const core::rect<s32>& sourceRect, const core::rect<s32>* clipRect,
                                  const video::SColor* const colors, bool useAlphaChannelOfTexture)
{
    calls.push_back("draw2DImage");
    Image image{texture,     destRect, sourceRect, clipRect != nullptr, colors != nullptr, {}, useAlphaChannelOfTexture,
                renderTarget};
    if (colors)
        std::copy(colors, colors + 4, image.colours);
    images.push_back(image);
}

void RecordingDriver::draw2DRectangle(video::SColor color, const core::rect<s32>& pos, const core::rect<s32>* clip)
{
    calls.push_back("draw2DRectangle");
    rectangles.push_back({color, pos, clip != nullptr, renderTarget});
}

void RecordingDriver::drawMeshBuffer(const scene::IMeshBuffer* mb)
{
    calls.push_back("drawMeshBuffer");
    meshBuffers.push_back({mb, materials.empty() ? video::SMaterial() : materials.back(),
                           getTransform(video::ETS_PROJECTION), getTransform(video::ETS_VIEW),
                           getTransform(video::ETS_WORLD), renderTarget});
}

void RecordingDriver::deleteAllDynamicLights()
{
    calls.push_back("deleteAllDynamicLights");
    inner->deleteAllDynamicLights();
}

s32 RecordingDriver::addDynamicLight(const video::SLight& light)
{
    calls.push_back("addDynamicLight");
    lightsAdded.push_back(light);
    lightViews.push_back(getTransform(video::ETS_VIEW));
    return inner->addDynamicLight(light);
}

void RecordingDriver::setAmbientLight(const video::SColorf& color)
{
    calls.push_back("setAmbientLight");
    ambientLights.push_back(color);
    inner->setAmbientLight(color);
}

void RecordingDriver::setAllowZWriteOnTransparent(bool flag)
{
    calls.push_back("setAllowZWriteOnTransparent");
    zWriteOnTransparent = flag;
    inner->setAllowZWriteOnTransparent(flag);
}

#pragma once

// Generated once from the engine's IVideoDriver.h: a video driver that hands
// every call to another driver. Drivers that stand in front of the real one
// (the frames ticked without drawing, the tests' recording driver) derive
// from it and override only the calls they change.
// One call a line, as generated: the formatter leaves it alone.
// clang-format off

#include <irrlicht.h>

// The engine itself still declares its deprecated calls; forwarding them is not a use.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace irr
{

class ForwardingVideoDriver : public video::IVideoDriver
{
public:
    explicit ForwardingVideoDriver(video::IVideoDriver* inner) : inner(inner) {}

    bool beginScene(bool backBuffer, bool zBuffer, video::SColor color, const video::SExposedVideoData& videoData, core::rect<s32>* sourceRect) override { return inner->beginScene(backBuffer, zBuffer, color, videoData, sourceRect); }
    bool endScene() override { return inner->endScene(); }
    bool queryFeature(video::E_VIDEO_DRIVER_FEATURE feature) const override { return inner->queryFeature(feature); }
    void disableFeature(video::E_VIDEO_DRIVER_FEATURE feature, bool flag) override { return inner->disableFeature(feature, flag); }
    const io::IAttributes& getDriverAttributes() const override { return inner->getDriverAttributes(); }
    bool checkDriverReset() override { return inner->checkDriverReset(); }
    void setTransform(video::E_TRANSFORMATION_STATE state, const core::matrix4& mat) override { return inner->setTransform(state, mat); }
    const core::matrix4& getTransform(video::E_TRANSFORMATION_STATE state) const override { return inner->getTransform(state); }
    u32 getImageLoaderCount() const override { return inner->getImageLoaderCount(); }
    video::IImageLoader* getImageLoader(u32 n) override { return inner->getImageLoader(n); }
    u32 getImageWriterCount() const override { return inner->getImageWriterCount(); }
    video::IImageWriter* getImageWriter(u32 n) override { return inner->getImageWriter(n); }
    void setMaterial(const video::SMaterial& material) override { return inner->setMaterial(material); }
    video::ITexture* getTexture(const io::path& filename) override { return inner->getTexture(filename); }
    video::ITexture* getTexture(io::IReadFile* file) override { return inner->getTexture(file); }
    video::ITexture* getTextureByIndex(u32 index) override { return inner->getTextureByIndex(index); }
    u32 getTextureCount() const override { return inner->getTextureCount(); }
    void renameTexture(video::ITexture* texture, const io::path& newName) override { return inner->renameTexture(texture, newName); }
    video::ITexture* addTexture(const core::dimension2d<u32>& size, const io::path& name, video::ECOLOR_FORMAT format) override { return inner->addTexture(size, name, format); }
    video::ITexture* addTexture(const io::path& name, video::IImage* image, void* mipmapData) override { return inner->addTexture(name, image, mipmapData); }
    video::ITexture* addRenderTargetTexture(const core::dimension2d<u32>& size, const io::path& name, const video::ECOLOR_FORMAT format) override { return inner->addRenderTargetTexture(size, name, format); }
    void removeTexture(video::ITexture* texture) override { return inner->removeTexture(texture); }
    void removeAllTextures() override { return inner->removeAllTextures(); }
    void removeHardwareBuffer(const scene::IMeshBuffer* mb) override { return inner->removeHardwareBuffer(mb); }
    void removeAllHardwareBuffers() override { return inner->removeAllHardwareBuffers(); }
    void addOcclusionQuery(scene::ISceneNode* node, const scene::IMesh* mesh) override { return inner->addOcclusionQuery(node, mesh); }
    void removeOcclusionQuery(scene::ISceneNode* node) override { return inner->removeOcclusionQuery(node); }
    void removeAllOcclusionQueries() override { return inner->removeAllOcclusionQueries(); }
    void runOcclusionQuery(scene::ISceneNode* node, bool visible) override { return inner->runOcclusionQuery(node, visible); }
    void runAllOcclusionQueries(bool visible) override { return inner->runAllOcclusionQueries(visible); }
    void updateOcclusionQuery(scene::ISceneNode* node, bool block) override { return inner->updateOcclusionQuery(node, block); }
    void updateAllOcclusionQueries(bool block) override { return inner->updateAllOcclusionQueries(block); }
    u32 getOcclusionQueryResult(scene::ISceneNode* node) const override { return inner->getOcclusionQueryResult(node); }
    void makeColorKeyTexture(video::ITexture* texture, video::SColor color, bool zeroTexels) const override { return inner->makeColorKeyTexture(texture, color, zeroTexels); }
    void makeColorKeyTexture(video::ITexture* texture, core::position2d<s32> colorKeyPixelPos, bool zeroTexels) const override { return inner->makeColorKeyTexture(texture, colorKeyPixelPos, zeroTexels); }
    void makeNormalMapTexture(video::ITexture* texture, f32 amplitude) const override { return inner->makeNormalMapTexture(texture, amplitude); }
    bool setRenderTarget(video::ITexture* texture, bool clearBackBuffer, bool clearZBuffer, video::SColor color) override { return inner->setRenderTarget(texture, clearBackBuffer, clearZBuffer, color); }
    bool setRenderTarget(video::E_RENDER_TARGET target, bool clearTarget, bool clearZBuffer, video::SColor color) override { return inner->setRenderTarget(target, clearTarget, clearZBuffer, color); }
    bool setRenderTarget(const core::array<video::IRenderTarget>& texture, bool clearBackBuffer, bool clearZBuffer, video::SColor color) override { return inner->setRenderTarget(texture, clearBackBuffer, clearZBuffer, color); }
    void setViewPort(const core::rect<s32>& area) override { return inner->setViewPort(area); }
    const core::rect<s32>& getViewPort() const override { return inner->getViewPort(); }
    void drawVertexPrimitiveList(const void* vertices, u32 vertexCount, const void* indexList, u32 primCount, video::E_VERTEX_TYPE vType, scene::E_PRIMITIVE_TYPE pType, video::E_INDEX_TYPE iType) override { return inner->drawVertexPrimitiveList(vertices, vertexCount, indexList, primCount, vType, pType, iType); }
    void draw2DVertexPrimitiveList(const void* vertices, u32 vertexCount, const void* indexList, u32 primCount, video::E_VERTEX_TYPE vType, scene::E_PRIMITIVE_TYPE pType, video::E_INDEX_TYPE iType) override { return inner->draw2DVertexPrimitiveList(vertices, vertexCount, indexList, primCount, vType, pType, iType); }
    void draw3DLine(const core::vector3df& start, const core::vector3df& end, video::SColor color) override { return inner->draw3DLine(start, end, color); }
    void draw3DTriangle(const core::triangle3df& triangle, video::SColor color) override { return inner->draw3DTriangle(triangle, color); }
    void draw3DBox(const core::aabbox3d<f32>& box, video::SColor color) override { return inner->draw3DBox(box, color); }
    void draw2DImage(const video::ITexture* texture, const core::position2d<s32>& destPos) override { return inner->draw2DImage(texture, destPos); }
    void draw2DImage(const video::ITexture* texture, const core::position2d<s32>& destPos, const core::rect<s32>& sourceRect, const core::rect<s32>* clipRect, video::SColor color, bool useAlphaChannelOfTexture) override { return inner->draw2DImage(texture, destPos, sourceRect, clipRect, color, useAlphaChannelOfTexture); }
    void draw2DImageBatch(const video::ITexture* texture, const core::position2d<s32>& pos, const core::array<core::rect<s32> >& sourceRects, const core::array<s32>& indices, s32 kerningWidth, const core::rect<s32>* clipRect, video::SColor color, bool useAlphaChannelOfTexture) override { return inner->draw2DImageBatch(texture, pos, sourceRects, indices, kerningWidth, clipRect, color, useAlphaChannelOfTexture); }
    void draw2DImageBatch(const video::ITexture* texture, const core::array<core::position2d<s32> >& positions, const core::array<core::rect<s32> >& sourceRects, const core::rect<s32>* clipRect, video::SColor color, bool useAlphaChannelOfTexture) override { return inner->draw2DImageBatch(texture, positions, sourceRects, clipRect, color, useAlphaChannelOfTexture); }
    void draw2DImage(const video::ITexture* texture, const core::rect<s32>& destRect, const core::rect<s32>& sourceRect, const core::rect<s32>* clipRect, const video::SColor * const colors, bool useAlphaChannelOfTexture) override { return inner->draw2DImage(texture, destRect, sourceRect, clipRect, colors, useAlphaChannelOfTexture); }
    void draw2DRectangle(video::SColor color, const core::rect<s32>& pos, const core::rect<s32>* clip) override { return inner->draw2DRectangle(color, pos, clip); }
    void draw2DRectangle(const core::rect<s32>& pos, video::SColor colorLeftUp, video::SColor colorRightUp, video::SColor colorLeftDown, video::SColor colorRightDown, const core::rect<s32>* clip) override { return inner->draw2DRectangle(pos, colorLeftUp, colorRightUp, colorLeftDown, colorRightDown, clip); }
    void draw2DRectangleOutline(const core::recti& pos, video::SColor color) override { return inner->draw2DRectangleOutline(pos, color); }
    void draw2DLine(const core::position2d<s32>& start, const core::position2d<s32>& end, video::SColor color) override { return inner->draw2DLine(start, end, color); }
    void drawPixel(u32 x, u32 y, const video::SColor& color) override { return inner->drawPixel(x, y, color); }
    void draw2DPolygon(core::position2d<s32> center, f32 radius, video::SColor color, s32 vertexCount) override { return inner->draw2DPolygon(center, radius, color, vertexCount); }
    void drawStencilShadowVolume(const core::array<core::vector3df>& triangles, bool zfail, u32 debugDataVisible) override { return inner->drawStencilShadowVolume(triangles, zfail, debugDataVisible); }
    void drawStencilShadow(bool clearStencilBuffer, video::SColor leftUpEdge, video::SColor rightUpEdge, video::SColor leftDownEdge, video::SColor rightDownEdge) override { return inner->drawStencilShadow(clearStencilBuffer, leftUpEdge, rightUpEdge, leftDownEdge, rightDownEdge); }
    void drawMeshBuffer(const scene::IMeshBuffer* mb) override { return inner->drawMeshBuffer(mb); }
    void drawMeshBufferNormals(const scene::IMeshBuffer* mb, f32 length, video::SColor color) override { return inner->drawMeshBufferNormals(mb, length, color); }
    void setFog(video::SColor color, video::E_FOG_TYPE fogType, f32 start, f32 end, f32 density, bool pixelFog, bool rangeFog) override { return inner->setFog(color, fogType, start, end, density, pixelFog, rangeFog); }
    void getFog(video::SColor& color, video::E_FOG_TYPE& fogType, f32& start, f32& end, f32& density, bool& pixelFog, bool& rangeFog) override { return inner->getFog(color, fogType, start, end, density, pixelFog, rangeFog); }
    video::ECOLOR_FORMAT getColorFormat() const override { return inner->getColorFormat(); }
    const core::dimension2d<u32>& getScreenSize() const override { return inner->getScreenSize(); }
    const core::dimension2d<u32>& getCurrentRenderTargetSize() const override { return inner->getCurrentRenderTargetSize(); }
    s32 getFPS() const override { return inner->getFPS(); }
    u32 getPrimitiveCountDrawn(u32 mode) const override { return inner->getPrimitiveCountDrawn(mode); }
    void deleteAllDynamicLights() override { return inner->deleteAllDynamicLights(); }
    s32 addDynamicLight(const video::SLight& light) override { return inner->addDynamicLight(light); }
    u32 getMaximalDynamicLightAmount() const override { return inner->getMaximalDynamicLightAmount(); }
    u32 getDynamicLightCount() const override { return inner->getDynamicLightCount(); }
    const video::SLight& getDynamicLight(u32 idx) const override { return inner->getDynamicLight(idx); }
    void turnLightOn(s32 lightIndex, bool turnOn) override { return inner->turnLightOn(lightIndex, turnOn); }
    const wchar_t* getName() const override { return inner->getName(); }
    void addExternalImageLoader(video::IImageLoader* loader) override { return inner->addExternalImageLoader(loader); }
    void addExternalImageWriter(video::IImageWriter* writer) override { return inner->addExternalImageWriter(writer); }
    u32 getMaximalPrimitiveCount() const override { return inner->getMaximalPrimitiveCount(); }
    void setTextureCreationFlag(video::E_TEXTURE_CREATION_FLAG flag, bool enabled) override { return inner->setTextureCreationFlag(flag, enabled); }
    bool getTextureCreationFlag(video::E_TEXTURE_CREATION_FLAG flag) const override { return inner->getTextureCreationFlag(flag); }
    video::IImage* createImageFromFile(const io::path& filename) override { return inner->createImageFromFile(filename); }
    video::IImage* createImageFromFile(io::IReadFile* file) override { return inner->createImageFromFile(file); }
    bool writeImageToFile(video::IImage* image, const io::path& filename, u32 param) override { return inner->writeImageToFile(image, filename, param); }
    bool writeImageToFile(video::IImage* image, io::IWriteFile* file, u32 param) override { return inner->writeImageToFile(image, file, param); }
    video::IImage* createImageFromData(video::ECOLOR_FORMAT format, const core::dimension2d<u32>& size, void * data, bool ownForeignMemory, bool deleteMemory) override { return inner->createImageFromData(format, size, data, ownForeignMemory, deleteMemory); }
    video::IImage* createImage(video::ECOLOR_FORMAT format, const core::dimension2d<u32>& size) override { return inner->createImage(format, size); }
    video::IImage* createImage(video::ECOLOR_FORMAT format, video::IImage * imageToCopy) override { return inner->createImage(format, imageToCopy); }
    video::IImage* createImage(video::IImage* imageToCopy, const core::position2d<s32>& pos, const core::dimension2d<u32>& size) override { return inner->createImage(imageToCopy, pos, size); }
    video::IImage* createImage(video::ITexture* texture, const core::position2d<s32>& pos, const core::dimension2d<u32>& size) override { return inner->createImage(texture, pos, size); }
    void OnResize(const core::dimension2d<u32>& size) override { return inner->OnResize(size); }
    s32 addMaterialRenderer(video::IMaterialRenderer* renderer, const c8* name) override { return inner->addMaterialRenderer(renderer, name); }
    video::IMaterialRenderer* getMaterialRenderer(u32 idx) override { return inner->getMaterialRenderer(idx); }
    u32 getMaterialRendererCount() const override { return inner->getMaterialRendererCount(); }
    const c8* getMaterialRendererName(u32 idx) const override { return inner->getMaterialRendererName(idx); }
    void setMaterialRendererName(s32 idx, const c8* name) override { return inner->setMaterialRendererName(idx, name); }
    io::IAttributes* createAttributesFromMaterial(const video::SMaterial& material, io::SAttributeReadWriteOptions* options) override { return inner->createAttributesFromMaterial(material, options); }
    void fillMaterialStructureFromAttributes(video::SMaterial& outMaterial, io::IAttributes* attributes) override { return inner->fillMaterialStructureFromAttributes(outMaterial, attributes); }
    const video::SExposedVideoData& getExposedVideoData() override { return inner->getExposedVideoData(); }
    video::E_DRIVER_TYPE getDriverType() const override { return inner->getDriverType(); }
    video::IGPUProgrammingServices* getGPUProgrammingServices() override { return inner->getGPUProgrammingServices(); }
    scene::IMeshManipulator* getMeshManipulator() override { return inner->getMeshManipulator(); }
    void clearZBuffer() override { return inner->clearZBuffer(); }
    video::IImage* createScreenShot(video::ECOLOR_FORMAT format, video::E_RENDER_TARGET target) override { return inner->createScreenShot(format, target); }
    video::ITexture* findTexture(const io::path& filename) override { return inner->findTexture(filename); }
    bool setClipPlane(u32 index, const core::plane3df& plane, bool enable) override { return inner->setClipPlane(index, plane, enable); }
    void enableClipPlane(u32 index, bool enable) override { return inner->enableClipPlane(index, enable); }
    void setMinHardwareBufferVertexCount(u32 count) override { return inner->setMinHardwareBufferVertexCount(count); }
    video::SOverrideMaterial& getOverrideMaterial() override { return inner->getOverrideMaterial(); }
    video::SMaterial& getMaterial2D() override { return inner->getMaterial2D(); }
    void enableMaterial2D(bool enable) override { return inner->enableMaterial2D(enable); }
    core::stringc getVendorInfo() override { return inner->getVendorInfo(); }
    void setAmbientLight(const video::SColorf& color) override { return inner->setAmbientLight(color); }
    void setAllowZWriteOnTransparent(bool flag) override { return inner->setAllowZWriteOnTransparent(flag); }
    core::dimension2du getMaxTextureSize() const override { return inner->getMaxTextureSize(); }
    void convertColor(const void* sP, video::ECOLOR_FORMAT sF, s32 sN, void* dP, video::ECOLOR_FORMAT dF) const override { return inner->convertColor(sP, sF, sN, dP, dF); }

protected:
    video::IVideoDriver* inner;
};

} // namespace irr

#pragma GCC diagnostic pop

#include "AssetViews.h"

#include "TexturePictures.h"

#include <GL/gl.h>

#include <algorithm>

namespace assets
{

using namespace irr;

AssetViews::AssetViews(int width, int height) : width(width), height(height)
{
    SIrrlichtCreationParameters params;
    params.DriverType = video::EDT_OPENGL;
    params.WindowSize = core::dimension2d<u32>(u32(width), u32(height));
    params.Bits = 32;
    params.LoggingLevel = ELL_NONE;
    device = createDeviceEx(params);
}

AssetViews::~AssetViews()
{
    if (device)
        device->drop();
}

video::IVideoDriver* AssetViews::driver() const
{
    return device->getVideoDriver();
}

scene::ISceneManager* AssetViews::sceneManager() const
{
    return device->getSceneManager();
}

core::matrix4 AssetViews::projection() const
{
    core::matrix4 m;
    m.buildProjectionMatrixPerspectiveFovLH(3.14159f / 2, 4.0f / 3.0f, 0.1f, 1000.0f);
    return m;
}

core::matrix4 AssetViews::view(const Camera& camera) const
{
    core::matrix4 m;
    m.buildCameraLookAtMatrixLH(camera.position, camera.target, camera.up);
    return m;
}

core::vector2di AssetViews::project(const Camera& camera, const core::vector3df& point) const
{
    f32 p[4] = {point.X, point.Y, point.Z, 1.0f};
    (projection() * view(camera)).multiplyWith1x4Matrix(p);
    const f32 x = p[0] / p[3], y = p[1] / p[3];
    return core::vector2di(s32((x + 1) * 0.5f * width), s32((1 - y) * 0.5f * height));
}

Canvas AssetViews::readBack() const
{
    std::vector<std::uint8_t> rgba(size_t(width) * size_t(height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    Canvas frame(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const std::uint8_t* p = &rgba[(size_t(height - 1 - y) * width + x) * 4];
            frame.set(x, y, Rgba{p[0], p[1], p[2], 255});
        }
    return frame;
}

Canvas AssetViews::renderModel(scene::IMesh* mesh, const Camera& camera, const std::vector<core::matrix4>& worlds,
                               const std::vector<Light>& lights, video::SColor background)
{
    video::IVideoDriver* d = driver();
    device->run();
    d->beginScene(true, true, background);
    d->deleteAllDynamicLights();
    for (const Light& l : lights)
    {
        video::SLight light;
        light.Type = video::ELT_DIRECTIONAL;
        light.AmbientColor = video::SColorf(0, 0, 0, 1);
        light.DiffuseColor = l.colour;
        light.SpecularColor = video::SColorf(0, 0, 0, 1);
        light.Direction = l.direction;
        light.Radius = 1000;
        d->addDynamicLight(light);
    }
    d->setAmbientLight(video::SColorf(1, 1, 1, 1));
    d->setTransform(video::ETS_PROJECTION, projection());
    d->setTransform(video::ETS_VIEW, view(camera));
    for (const core::matrix4& world : worlds)
    {
        d->setTransform(video::ETS_WORLD, world);
        for (u32 i = 0; mesh && i < mesh->getMeshBufferCount(); ++i)
        {
            scene::IMeshBuffer* buffer = mesh->getMeshBuffer(i);
            video::SMaterial material = buffer->getMaterial();
            material.Lighting = !lights.empty();
            d->setMaterial(material);
            d->drawMeshBuffer(buffer);
        }
    }
    Canvas frame = readBack();
    d->endScene();
    return frame;
}

Canvas AssetViews::renderSilhouette(scene::IMesh* mesh, const std::vector<Camera>& cameras, int targetSize,
                                    video::SColor background)
{
    video::IVideoDriver* d = driver();
    video::ITexture* target = d->addRenderTargetTexture(core::dimension2d<u32>(u32(targetSize), u32(targetSize)));
    device->run();
    d->beginScene(true, true, background);
    d->setRenderTarget(target, true, true, video::SColor(0, 0, 0, 0));
    d->deleteAllDynamicLights();
    video::SLight light;
    light.Type = video::ELT_DIRECTIONAL;
    light.AmbientColor = video::SColorf(0, 0, 0, 1);
    light.SpecularColor = video::SColorf(0, 0, 0, 1);
    light.Direction = core::vector3df(0, 0, 1);
    d->addDynamicLight(light);
    d->setAmbientLight(video::SColorf(1, 1, 1, 1));
    d->setTransform(video::ETS_PROJECTION, projection());
    d->setTransform(video::ETS_WORLD, core::matrix4());
    for (const Camera& camera : cameras)
    {
        d->setTransform(video::ETS_VIEW, view(camera));
        for (u32 i = 0; mesh && i < mesh->getMeshBufferCount(); ++i)
        {
            video::SMaterial material = mesh->getMeshBuffer(i)->getMaterial();
            material.Lighting = true;
            material.ColorMaterial = video::ECM_NONE;
            material.DiffuseColor = video::SColor(255, 0, 0, 0);
            material.EmissiveColor = video::SColor(255, 255, 192, 0);
            material.setFlag(video::EMF_BILINEAR_FILTER, false);
            d->setMaterial(material);
            d->drawMeshBuffer(mesh->getMeshBuffer(i));
        }
    }
    d->setRenderTarget(nullptr, true, true, background);
    d->draw2DImage(target, core::rect<s32>(0, 0, width, height), core::rect<s32>(0, 0, targetSize - 1, targetSize - 1),
                   nullptr, nullptr, true);
    Canvas frame = readBack();
    d->endScene();
    d->removeTexture(target);
    return frame;
}

Canvas AssetViews::contactSheet(const std::string& textureDirectory)
{
    constexpr int CELL = 256, LABEL = 22, COLUMNS = 4;
    video::IVideoDriver* d = driver();
    gui::IGUIFont* font = device->getGUIEnvironment()->getBuiltInFont();
    device->run();
    d->beginScene(true, true, video::SColor(255, 40, 34, 52));
    int index = 0;
    for (const TexturePicture& picture : texturePictures())
    {
        const int left = (index % COLUMNS) * CELL, top = (index / COLUMNS) * (CELL + LABEL);
        ++index;
        // A checkerboard under each texture shows where its alpha lets the background through.
        for (int y = 0; y < CELL; y += 16)
            for (int x = 0; x < CELL; x += 16)
            {
                const bool dark = ((x + y) / 16) % 2;
                d->draw2DRectangle(dark ? video::SColor(255, 150, 150, 160) : video::SColor(255, 205, 205, 215),
                                   core::rect<s32>(left + x, top + y, left + x + 16, top + y + 16));
            }
        video::ITexture* texture = d->getTexture((textureDirectory + "/" + picture.fileName).c_str());
        if (!texture)
            continue;
        const core::dimension2d<u32> size = texture->getOriginalSize();
        // Small textures are enlarged by whole factors and large ones shrunk to fit.
        const f32 scale = std::min(f32(CELL - 16) / f32(std::max(size.Width, size.Height)),
                                   size.Width <= 64 ? f32(int(f32(CELL - 16) / f32(size.Width))) : 1.0f);
        const s32 w = s32(size.Width * scale), h = s32(size.Height * scale);
        const s32 x0 = left + (CELL - w) / 2, y0 = top + (CELL - h) / 2;
        video::SMaterial& material2D = d->getMaterial2D();
        material2D.TextureLayer[0].BilinearFilter = false;
        d->enableMaterial2D(true);
        d->draw2DImage(texture, core::rect<s32>(x0, y0, x0 + w, y0 + h),
                       core::rect<s32>(0, 0, s32(size.Width), s32(size.Height)), nullptr, nullptr, true);
        d->enableMaterial2D(false);
        const core::stringw label = core::stringw(picture.fileName.c_str()) + L"  " + core::stringw(size.Width) + L"x" +
                                    core::stringw(size.Height);
        font->draw(label, core::rect<s32>(left + 6, top + CELL + 4, left + CELL, top + CELL + LABEL),
                   video::SColor(255, 240, 240, 240));
    }
    Canvas frame = readBack();
    d->endScene();
    return frame;
}

} // namespace assets

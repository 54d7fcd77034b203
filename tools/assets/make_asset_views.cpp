// Renders the documentation pictures of the generated assets: a contact sheet
// of the textures and a view of each model from a camera like its effect's.
// Needs a display; run it under Xvfb. Arguments: the data directory and the
// directory to write the pictures into.
#include "AssetViews.h"
#include "ModelShapes.h"
#include "PngWriter.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using namespace irr;

namespace
{

struct ModelView
{
    const char* name;
    assets::Camera camera;
    std::vector<core::matrix4> worlds;
    std::vector<assets::AssetViews::Light> lights;
    video::SColor background;
};

core::matrix4 spinning(f32 turn, f32 x)
{
    core::matrix4 m;
    m.setRotationRadians(core::vector3df(0, turn, 1));
    m.setTranslation(core::vector3df(x, 0, 0));
    return m;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: %s DATA_DIRECTORY OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::string data = argv[1], out = argv[2];
    assets::PngWriter writer;
    {
        assets::AssetViews sheetView(1024, 4 * (256 + 22));
        if (!sheetView.ready())
        {
            std::fprintf(stderr, "no OpenGL display\n");
            return 1;
        }
        writer.write(sheetView.contactSheet(data + "/textures"), out + "/textures.png");
    }

    assets::AssetViews views(640, 480);
    const f32 t = 2.0f;
    core::matrix4 town;
    town.setTranslation(core::vector3df(0, -10, 0));
    const ModelView models[] = {
        {"arks3",
         {{24, 23, 40 * t - 410},
          {24 + 0.5f * std::cos(t), 23, 40 * t - 409 + 0.5f * std::sin(t)},
          {2.55f * std::cos(2 * t), 1 + 2.55f * std::sin(2 * t), 0}},
         {core::matrix4()},
         assets::AssetViews::lightAlongZ(),
         video::SColor(255, 255, 0, 128)},
        {"arks5",
         {{24, 23, 40 * t - 400},
          {24 + 0.2f * std::cos(t), 23, 40 * t - 399 + 0.2f * std::sin(t)},
          {0.15f * std::cos(2 * t), 1 + 0.15f * std::sin(2 * t), 0}},
         {core::matrix4()},
         assets::AssetViews::lightAlongZ(),
         video::SColor(255, 0, 255, 0)},
        // Three spinning copies, unlit, as their effect shows them.
        {"shape_1a",
         {{4, 0, -3.5f}, {1, 0, 0}, {0, 1, 0}},
         {spinning(0.6f, -4), spinning(0.6f, 0), spinning(0.6f, 4)},
         {},
         video::SColor(255, 255, 255, 140)},
        {"town_04",
         {{0, -7, 4}, {0, 5, 2}, {0, 0, 1}},
         {town},
         {{{1, 1, 0}, {1, 1, 1, 1}}, {{-1, -2, 0}, {0.4f, 0.3f, 0.4f, 1}}},
         video::SColor(255, 16, 16, 20)},
    };
    for (const ModelView& model : models)
    {
        scene::IAnimatedMesh* mesh = views.sceneManager()->getMesh((data + "/models/" + model.name + ".obj").c_str());
        if (!mesh)
        {
            std::fprintf(stderr, "cannot load %s\n", model.name);
            return 1;
        }
        const assets::Canvas frame = views.renderModel(mesh->getMesh(0), model.camera, model.worlds, model.lights,
                                                       model.background);
        writer.write(frame, out + "/model_" + model.name + ".png");
    }

    // The flight structure as its section shows it: both cameras into 32 x 32 pixels.
    scene::IAnimatedMesh* arches = views.sceneManager()->getMesh((data + "/models/arks3.obj").c_str());
    const std::vector<assets::Camera> cameras = {
        models[0].camera,
        {{24, 23, 40 * t - 350},
         {24 + 0.7f * std::cos(t), 23, 40 * t - 349 + 0.7f * std::sin(t)},
         {2.55f * std::cos(2 * t + 15), 1 + 2.55f * std::sin(2 * t + 15), 0}},
    };
    writer.write(
        views.renderSilhouette(arches ? arches->getMesh(0) : nullptr, cameras, 32, video::SColor(255, 255, 0, 128)),
        out + "/model_arks3_32px.png");
    return 0;
}

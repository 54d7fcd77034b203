// The generated models, loaded through the engine's OBJ loader on a null
// device: their buffers, their bounds in world coordinates, their faces and
// their materials.
#include "assets/ModelFile.h"

#include <irrlicht.h>

#include "NullDeviceSuite.h"

#include <gtest/gtest.h>

#include <string>

using namespace irr;

namespace
{

const std::string MODELS = std::string(KIRUPO_DATA_DIR) + "/models/";

class Models : public NullDeviceSuite
{
protected:
    static scene::IMesh* load(const std::string& name)
    {
        // Through the demo's model check, which must pass every generated model.
        scene::IAnimatedMesh* mesh = loadModel(device->getSceneManager(), (MODELS + name).c_str());
        return mesh ? mesh->getMesh(0, 255, -1, -1) : nullptr;
    }

    static u32 triangles(scene::IMesh* mesh)
    {
        u32 count = 0;
        for (u32 b = 0; b < mesh->getMeshBufferCount(); ++b)
            count += mesh->getMeshBuffer(b)->getIndexCount() / 3;
        return count;
    }
};

const char* const ALL[] = {"arks3.obj", "arks5.obj", "shape_1a.obj", "town_04.obj"};

TEST_F(Models, EachLoadsWithSeveralMaterialsAndAtMost20000Triangles)
{
    for (const char* name : ALL)
    {
        SCOPED_TRACE(name);
        scene::IMesh* mesh = load(name);
        ASSERT_NE(mesh, nullptr);
        EXPECT_GE(mesh->getMeshBufferCount(), 3u);
        EXPECT_GT(triangles(mesh), 12u);
        EXPECT_LE(triangles(mesh), 20000u);
    }
}

TEST_F(Models, FacesPointTheWayTheirNormalsDo)
{
    // The loader mirrors x and reverses every face; after both, a triangle
    // (a, b, c) must face along (b - a) x (c - a), the side the engine draws,
    // and its normals must agree, or the model shows its inside.
    for (const char* name : ALL)
    {
        SCOPED_TRACE(name);
        scene::IMesh* mesh = load(name);
        ASSERT_NE(mesh, nullptr);
        int wrong = 0;
        for (u32 b = 0; b < mesh->getMeshBufferCount(); ++b)
        {
            scene::IMeshBuffer* buffer = mesh->getMeshBuffer(b);
            const auto* vertices = static_cast<const video::S3DVertex*>(buffer->getVertices());
            const u16* indices = buffer->getIndices();
            for (u32 i = 0; i + 2 < buffer->getIndexCount(); i += 3)
            {
                const video::S3DVertex &a = vertices[indices[i]], &v1 = vertices[indices[i + 1]],
                                       &v2 = vertices[indices[i + 2]];
                const core::vector3df facing = (v1.Pos - a.Pos).crossProduct(v2.Pos - a.Pos);
                wrong += facing.dotProduct(a.Normal) <= 0.0f;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(Models, AmbientColoursStayLowSoWhiteAmbientLightKeepsTheColours)
{
    for (const char* name : ALL)
    {
        SCOPED_TRACE(name);
        scene::IMesh* mesh = load(name);
        ASSERT_NE(mesh, nullptr);
        for (u32 b = 0; b < mesh->getMeshBufferCount(); ++b)
        {
            const video::SMaterial& m = mesh->getMeshBuffer(b)->getMaterial();
            EXPECT_LE(m.AmbientColor.getRed(), 50u);
            EXPECT_LE(m.AmbientColor.getGreen(), 50u);
            EXPECT_LE(m.AmbientColor.getBlue(), 50u);
            EXPECT_GT(m.DiffuseColor.getLuminance(), 40.0f) << "a diffuse colour to light";
            // The loader passes the diffuse colour on as the vertex colour.
            const auto* vertices = static_cast<const video::S3DVertex*>(mesh->getMeshBuffer(b)->getVertices());
            EXPECT_EQ(vertices[0].Color, m.DiffuseColor);
        }
    }
}

TEST_F(Models, FlightStructuresHaveNoAmbientColourSoTheirOverrideShowsPureOrange)
{
    // Their sections keep the model's ambient colour under white ambient
    // light; anything above black would tint the flat orange shape.
    for (const char* name : {"arks3.obj", "arks5.obj"})
    {
        SCOPED_TRACE(name);
        scene::IMesh* mesh = load(name);
        ASSERT_NE(mesh, nullptr);
        for (u32 b = 0; b < mesh->getMeshBufferCount(); ++b)
            EXPECT_EQ(mesh->getMeshBuffer(b)->getMaterial().AmbientColor.color & 0x00FFFFFFu, 0u);
    }
}

TEST_F(Models, FlightStructuresLineTheCamerasPathAndLeaveItClear)
{
    // The flying cameras travel along x = 24, y = 23 from z = -410 to z = 55
    // (the loader's mirroring is undone: these are world coordinates).
    for (const char* name : {"arks3.obj", "arks5.obj"})
    {
        SCOPED_TRACE(name);
        scene::IMesh* mesh = load(name);
        ASSERT_NE(mesh, nullptr);
        const core::aabbox3df box = mesh->getBoundingBox();
        EXPECT_LE(box.MinEdge.Z, -415.0f);
        EXPECT_GE(box.MaxEdge.Z, 60.0f);
        EXPECT_TRUE(box.MinEdge.X < 24 - 5 && box.MaxEdge.X > 24 + 5) << "around the path, not beside it";
        EXPECT_TRUE(box.MinEdge.Y < 23 - 3 && box.MaxEdge.Y > 23 + 3);
        EXPECT_NEAR(box.getCenter().X, 24.0f, 1.0f);
        EXPECT_LT(box.getExtent().X, 40.0f);
        // Nothing crosses the path: no triangle meets the line the cameras fly
        // along, and no vertex comes within 3 units of it.
        int blocking = 0;
        const core::vector2df path(24, 23);
        for (u32 b = 0; b < mesh->getMeshBufferCount(); ++b)
        {
            scene::IMeshBuffer* buffer = mesh->getMeshBuffer(b);
            const auto* vertices = static_cast<const video::S3DVertex*>(buffer->getVertices());
            const u16* indices = buffer->getIndices();
            for (u32 i = 0; i < buffer->getVertexCount(); ++i)
                blocking += core::vector2df(vertices[i].Pos.X, vertices[i].Pos.Y).getDistanceFrom(path) < 3.0f;
            for (u32 i = 0; i + 2 < buffer->getIndexCount(); i += 3)
            {
                const core::triangle3df t(vertices[indices[i]].Pos, vertices[indices[i + 1]].Pos,
                                          vertices[indices[i + 2]].Pos);
                core::vector3df hit;
                blocking += t.getIntersectionWithLine(core::vector3df(24, 23, 0), core::vector3df(0, 0, 1), hit);
            }
        }
        EXPECT_EQ(blocking, 0);
    }
}

TEST_F(Models, ShapeIsCompactAndCentred)
{
    scene::IMesh* mesh = load("shape_1a.obj");
    ASSERT_NE(mesh, nullptr);
    const core::aabbox3df box = mesh->getBoundingBox();
    // About 3 units across, so that the copies 4 units apart never touch as they spin.
    for (f32 extent : {box.getExtent().X, box.getExtent().Y, box.getExtent().Z})
    {
        EXPECT_GT(extent, 2.5f);
        EXPECT_LT(extent, 3.5f);
    }
    EXPECT_LT(box.getCenter().getLength(), 0.1f);
    f32 furthest = 0;
    for (u32 b = 0; b < mesh->getMeshBufferCount(); ++b)
    {
        scene::IMeshBuffer* buffer = mesh->getMeshBuffer(b);
        const auto* vertices = static_cast<const video::S3DVertex*>(buffer->getVertices());
        for (u32 i = 0; i < buffer->getVertexCount(); ++i)
            furthest = core::max_(furthest, vertices[i].Pos.getLength());
    }
    EXPECT_LT(furthest, 2.0f) << "within a radius of 2, whatever the turn";
}

TEST_F(Models, TownLiesOnTheXyPlaneAlongYWithZUp)
{
    scene::IMesh* mesh = load("town_04.obj");
    ASSERT_NE(mesh, nullptr);
    const core::aabbox3df box = mesh->getBoundingBox();
    EXPECT_LE(box.MinEdge.Y, -39.0f);
    EXPECT_GE(box.MaxEdge.Y, 39.0f);
    EXPECT_NEAR(box.getCenter().X, 0.0f, 1.0f);
    EXPECT_NEAR(box.MinEdge.Z, -0.5f, 0.5f) << "the ground at z = 0";
    EXPECT_GT(box.MaxEdge.Z, 6.0f) << "buildings stand up along z";
    EXPECT_LT(box.MaxEdge.Z, 25.0f);
    // The camera stands at x = 0, z = 4 and the town slides along y under it:
    // the street must leave that line free.
    int blocking = 0;
    for (u32 b = 0; b < mesh->getMeshBufferCount(); ++b)
    {
        scene::IMeshBuffer* buffer = mesh->getMeshBuffer(b);
        const auto* vertices = static_cast<const video::S3DVertex*>(buffer->getVertices());
        for (u32 i = 0; i < buffer->getVertexCount(); ++i)
        {
            const core::vector3df& p = vertices[i].Pos;
            blocking += std::fabs(p.X) < 1.5f && p.Z > 1.0f && p.Y < 34.0f;
        }
    }
    EXPECT_EQ(blocking, 0);
    EXPECT_GE(mesh->getMeshBufferCount(), 6u) << "a town of several materials";
}

} // namespace

// The model check in front of the engine's OBJ loader: what exporters write
// loads as before, what would crash the loader is left out with one line on
// stderr, and the check counts vertices the way the loader does.
#include "DemoFixture.h"
#include "ScratchDataTree.h"

#include "assets/ModelFile.h"

#include <sys/stat.h>

using namespace irr;

namespace
{
const std::string PATH = "../data/models/m.obj";
const char* const TRIANGLE = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
const std::string PROGRAM = std::string(program_invocation_short_name) + ": ";

class ModelFileTest : public DemoFixture
{
protected:
    ScratchDataTree tree;

    scene::IAnimatedMesh* load(const std::string& obj, std::string& errors)
    {
        tree.writeFile("data/models/m.obj", obj);
        testing::internal::CaptureStderr();
        scene::IAnimatedMesh* mesh = loadModel(context->getSceneManager(), PATH.c_str());
        errors = testing::internal::GetCapturedStderr();
        return mesh;
    }

    static u32 triangles(scene::IAnimatedMesh* mesh)
    {
        u32 count = 0;
        for (u32 b = 0; b < mesh->getMesh(0)->getMeshBufferCount(); ++b)
            count += mesh->getMesh(0)->getMeshBuffer(b)->getIndexCount() / 3;
        return count;
    }
};

TEST_F(ModelFileTest, WhatExportersWriteLoadsWithEveryTriangle)
{
    struct Case
    {
        const char* what;
        std::string obj;
        u32 triangles;
    };
    const std::string square = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n";
    const Case cases[] = {
        {"names, groups, smoothing, materials and comments",
         "# exported\nmtllib m.mtl\no Box\ng side\ns 1\nusemtl red\n" + square +
             "vt 0 0\nvt 1 0\nvt 1 1\nvn 0 0 1\ns off\nf 1/1/1 2/2/1 3/3/1\nf 1 3 4\n",
         2},
        {"every corner form and negative indices",
         square + "vt 0 0\nvn 0 0 1\nf 1 2 3\nf 1/1 2/1 3/1\nf 1//1 2//1 3//1\nf -4/-1/-1 -3/-1/-1 -2/-1/-1\n", 4},
        {"a quad and a pentagon", square + "v 2 2 0\nf 1 2 3 4\nf 1 2 3 4 5\n", 5},
        {"CRLF, tabs, indentation, trailing spaces and no final line break",
         "v 0 0 0\r\n  v 1 0 0\r\nv 0 1 0 \r\nvp 0.5\r\nl 1 2\r\nf\t1 2\t3  \r\nf 3 2 1", 2},
        {"a corner number of 15 characters", std::string(TRIANGLE) + "f 000000000000001 2 3\n", 1},
        {"faces of one or two corners draw nothing", std::string(TRIANGLE) + "f 1\nf 1 2\nf 1 2 3\n", 1},
    };
    tree.writeFile("data/models/m.mtl", "newmtl red\nKd 1 0 0\n");
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        context->getSceneManager()->getMeshCache()->clear();
        std::string errors;
        scene::IAnimatedMesh* mesh = load(c.obj, errors);
        ASSERT_NE(mesh, nullptr) << errors;
        EXPECT_EQ(triangles(mesh), c.triangles);
        EXPECT_EQ(errors, "");
        // Cached under its path, as getMesh(path) would have cached it.
        EXPECT_EQ(context->getSceneManager()->getMesh(PATH.c_str()), mesh);
    }
}

TEST_F(ModelFileTest, WhatWouldCrashTheLoaderIsLeftOutAndNamed)
{
    struct Case
    {
        const char* what;
        std::string obj;
        const char* fault;
    };
    const Case cases[] = {
        {"a face with no corners", std::string(TRIANGLE) + "f 1 2 3\nf   \n", "line 5: a face with no corners"},
        {"a vertex past the last", std::string(TRIANGLE) + "f 1 2 4\n", "\"4\" names no vertex among the 3"},
        {"a vertex defined only later", "v 0 0 0\nf 1 2 3\nv 1 0 0\nv 0 1 0\n", "among the 1 read"},
        {"vertex 0", std::string(TRIANGLE) + "f 0 1 2\n", "\"0\" names no vertex"},
        {"counting back past the first", std::string(TRIANGLE) + "f -4 -3 -2\n", "\"-4\" names no vertex"},
        {"a corner that is not a number", std::string(TRIANGLE) + "f a b c\n", "\"a\" names no vertex"},
        {"a missing texture coordinate", std::string(TRIANGLE) + "vt 0 0\nf 1/2 2/1 3/1\n",
         "names no texture coordinate among the 1"},
        {"a missing normal", std::string(TRIANGLE) + "f 1//1 2//1 3//1\n", "names no normal among the 0"},
        {"a number too long for the loader's buffer", std::string(TRIANGLE) + "f 0000000000000001 2 3\n",
         "longer than 15 characters"},
        {"a huge index", std::string(TRIANGLE) + "f 99999999999 2 3\n", "names no vertex"},
        // Random bytes reach no terminal: the corner is shown with '?' for them.
        {"binary bytes in a corner",
         std::string(TRIANGLE) + "f 1 2 \x1b[2J\xff"
                                 "9\n",
         "face corner \"?[2J?9\" names no vertex"},
        // The loader counts a vertex only after "v ": a tab leaves it out,
        // and so does the file's very first line when it is indented.
        {"a vertex line with a tab", "v 0 0 0\nv\t1 0 0\nv 0 1 0\nf 1 2 3\n", "among the 2 read"},
        {"an indented first line", "  v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n", "among the 2 read"},
        // With bare CR line ends, a short line's missing words are taken from the next line, which is then skipped.
        {"a short line before a bare CR", "v 0 0 0\rv 1 0 0\rvt 0\rv 0 1 0\rf 1 2 3\r", "among the 2 read"},
        // The loader would open the models' directory as a material file.
        {"a material library without a name", std::string(TRIANGLE) + "mtllib\nf 1 2 3\n",
         "material library ../data/models/ is not a regular file"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        EXPECT_NE(findObjFault(c.obj, PATH).find(c.fault), std::string::npos) << findObjFault(c.obj, PATH);
        std::string errors;
        EXPECT_EQ(load(c.obj, errors), nullptr);
        EXPECT_EQ(errors, PROGRAM + PATH + ": " + findObjFault(c.obj, PATH) + "; the model is left out\n");
    }
    EXPECT_EQ(context->getSceneManager()->getMeshCache()->getMeshCount(), 0u) << "the loader saw none of them";
}

TEST_F(ModelFileTest, OnlyAMissingFileGoesUnmentioned)
{
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadModel(context->getSceneManager(), PATH.c_str()), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    // A directory under the model's name would be read as a file of endless length.
    mkdir("../data/models/m.obj", 0755);
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadModel(context->getSceneManager(), PATH.c_str()), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              PROGRAM + PATH + " is not a regular file; the model is left out\n");
}
} // namespace

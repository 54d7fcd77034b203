#include "ModelShapes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace assets
{
namespace
{

constexpr float PI = 3.14159265f;

// A frame of box segments around the flight line at depth z, from angle
// `from` to `to` (radians, 0 along +x, counter-clockwise towards +y).
void frame(MeshBuilder& mesh, int material, float z, float radius, float thickness, float depth, int segments,
           float from = 0.0f, float to = 2 * PI)
{
    const float step = (to - from) / segments;
    const float middle = radius + thickness / 2;
    for (int i = 0; i < segments; ++i)
    {
        const float a = from + (i + 0.5f) * step;
        const Vec3 radial{std::cos(a), std::sin(a), 0}, tangent{-std::sin(a), std::cos(a), 0};
        const Vec3 centre{FLIGHT_X + radial.x * middle, FLIGHT_Y + radial.y * middle, z};
        const float halfLength = (radius + thickness) * std::tan(step / 2);
        mesh.box(material, centre, radial * (thickness / 2), tangent * halfLength, Vec3{0, 0, depth / 2});
    }
}

// A beam along z at angle a around the flight line.
void rail(MeshBuilder& mesh, int material, float a, float radius, float halfSize)
{
    const Vec3 radial{std::cos(a), std::sin(a), 0}, tangent{-std::sin(a), std::cos(a), 0};
    const Vec3 centre{FLIGHT_X + radial.x * radius, FLIGHT_Y + radial.y * radius, (FLIGHT_START_Z + FLIGHT_END_Z) / 2};
    mesh.box(material, centre, radial * halfSize, tangent * halfSize, Vec3{0, 0, (FLIGHT_END_Z - FLIGHT_START_Z) / 2});
}

// The structure of the render-to-texture section: rings, arches and double
// hoops every 25 units, tied together by four rails. Seen from the flight
// line it reads as nested frames converging on the centre, which still
// shows at 32 x 32 pixels as a flat silhouette.
MeshBuilder arches()
{
    MeshBuilder mesh;
    mesh.setAmbientShare(0);
    const int stone = mesh.material("stone", 0.78f, 0.74f, 0.68f);
    const int copper = mesh.material("copper", 0.86f, 0.46f, 0.24f);
    const int slate = mesh.material("slate", 0.36f, 0.42f, 0.54f);
    for (float a : {PI / 4, 3 * PI / 4, 5 * PI / 4, 7 * PI / 4})
        rail(mesh, slate, a, 10.2f, 0.35f);
    int station = 0;
    for (float z = FLIGHT_START_Z; z <= FLIGHT_END_Z; z += 25.0f, ++station)
    {
        switch (station % 4)
        {
        case 0: // a heavy octagonal ring
            frame(mesh, stone, z, 9.0f, 1.6f, 2.5f, 8, PI / 8, PI / 8 + 2 * PI);
            break;
        case 1: // an arch on two legs, standing on footings
            frame(mesh, copper, z, 9.5f, 1.2f, 1.5f, 8, 0.0f, PI);
            mesh.box(copper, {FLIGHT_X + 9.5f, FLIGHT_Y - 12.0f, z - 0.75f}, {FLIGHT_X + 10.7f, FLIGHT_Y, z + 0.75f});
            mesh.box(copper, {FLIGHT_X - 10.7f, FLIGHT_Y - 12.0f, z - 0.75f}, {FLIGHT_X - 9.5f, FLIGHT_Y, z + 0.75f});
            mesh.box(stone, {FLIGHT_X + 8.5f, FLIGHT_Y - 13.5f, z - 1.5f},
                     {FLIGHT_X + 11.9f, FLIGHT_Y - 12.0f, z + 1.5f});
            mesh.box(stone, {FLIGHT_X - 11.9f, FLIGHT_Y - 13.5f, z - 1.5f},
                     {FLIGHT_X - 8.5f, FLIGHT_Y - 12.0f, z + 1.5f});
            break;
        case 2: // two thin hoops
            frame(mesh, copper, z - 1.2f, 9.6f, 0.7f, 0.8f, 16);
            frame(mesh, copper, z + 1.2f, 9.6f, 0.7f, 0.8f, 16);
            break;
        default: // a square frame standing on its corner
            frame(mesh, slate, z, 10.0f, 1.2f, 2.0f, 4);
            break;
        }
    }
    return mesh;
}

// The flying-camera effect's structure: a corridor of pillars, lintels,
// roof beams and floor plates, ringed by octagonal arches.
MeshBuilder corridor()
{
    MeshBuilder mesh;
    mesh.setAmbientShare(0);
    const int marble = mesh.material("marble", 0.86f, 0.84f, 0.78f);
    const int brass = mesh.material("brass", 0.80f, 0.64f, 0.30f);
    const int tile = mesh.material("tile", 0.30f, 0.36f, 0.48f);
    constexpr float HALF_WIDTH = 5.0f, FLOOR = FLIGHT_Y - 4.0f, ROOF = FLIGHT_Y + 5.0f;
    for (float side : {-1.0f, 1.0f})
    {
        const float x0 = FLIGHT_X + side * HALF_WIDTH, x1 = x0 + side * 1.0f;
        for (float y : {FLOOR + 0.5f, ROOF - 0.5f, (FLOOR + ROOF) / 2})
            mesh.box(brass, {std::min(x0, x1), y - 0.4f, FLIGHT_START_Z}, {std::max(x0, x1), y + 0.4f, FLIGHT_END_Z});
    }
    for (float z = FLIGHT_START_Z; z < FLIGHT_END_Z; z += 8.0f)
    {
        for (float side : {-1.0f, 1.0f})
        {
            const float x0 = FLIGHT_X + side * HALF_WIDTH, x1 = x0 + side * 1.2f;
            mesh.box(marble, {std::min(x0, x1), FLOOR, z}, {std::max(x0, x1), ROOF, z + 1.2f});
        }
        mesh.box(marble, {FLIGHT_X - HALF_WIDTH, ROOF, z}, {FLIGHT_X + HALF_WIDTH, ROOF + 1.0f, z + 1.2f});
        mesh.box(tile, {FLIGHT_X - HALF_WIDTH, FLOOR - 0.5f, z + 1.6f}, {FLIGHT_X + HALF_WIDTH, FLOOR, z + 7.6f});
    }
    for (float z = FLIGHT_START_Z + 24.0f; z < FLIGHT_END_Z; z += 48.0f)
        frame(mesh, brass, z, 8.2f, 1.8f, 2.4f, 8, PI / 8, PI / 8 + 2 * PI);
    return mesh;
}

// A spiky star about 3 units across: a cube with a pyramid on every face,
// each pyramid in two tones of its own colour so that it reads unlit.
MeshBuilder spikyStar()
{
    MeshBuilder mesh;
    struct Side
    {
        Vec3 n, s, t;
        const char* name;
        float r, g, b;
    };
    const Side sides[6] = {
        {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, "red", 0.95f, 0.25f, 0.30f},
        {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}, "cyan", 0.20f, 0.80f, 0.90f},
        {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}, "yellow", 1.00f, 0.85f, 0.20f},
        {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}, "blue", 0.25f, 0.35f, 0.95f},
        {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}, "green", 0.35f, 0.90f, 0.35f},
        {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}, "magenta", 0.90f, 0.30f, 0.85f},
    };
    constexpr float CUBE = 0.8f, TIP = 1.5f;
    for (const Side& side : sides)
    {
        const int light = mesh.material(std::string(side.name) + "_light", side.r, side.g, side.b);
        const int dark = mesh.material(std::string(side.name) + "_dark", side.r * 0.6f, side.g * 0.6f, side.b * 0.6f);
        const Vec3 c = side.n * CUBE, s = side.s * CUBE, t = side.t * CUBE;
        const Vec3 corners[4] = {c - s - t, c + s - t, c + s + t, c - s + t};
        const Vec3 tip = side.n * TIP;
        for (int i = 0; i < 4; ++i)
            mesh.triangle(i % 2 ? dark : light, corners[i], corners[(i + 1) % 4], tip);
    }
    return mesh;
}

// A deterministic sequence of numbers in [0, 1) for the town's variety.
class Dice
{
public:
    float next()
    {
        state = state * 1664525u + 1013904223u;
        return float(state >> 8) / float(1u << 24);
    }
    float between(float low, float high) { return low + (high - low) * next(); }

private:
    std::uint32_t state = 4u;
};

// A small town on the xy plane with z up: a street along y through x = 0,
// houses on both sides, trees, and a clock tower closing the street's end.
MeshBuilder town()
{
    MeshBuilder mesh;
    const int grass = mesh.material("grass", 0.36f, 0.62f, 0.30f);
    const int asphalt = mesh.material("asphalt", 0.24f, 0.24f, 0.28f);
    const int paint = mesh.material("paint", 0.95f, 0.95f, 0.90f);
    const int walls[4] = {
        mesh.material("wall_cream", 0.96f, 0.88f, 0.70f), mesh.material("wall_salmon", 0.95f, 0.56f, 0.48f),
        mesh.material("wall_sky", 0.55f, 0.75f, 0.95f), mesh.material("wall_mint", 0.60f, 0.90f, 0.72f)};
    const int roofs[2] = {mesh.material("roof_tile", 0.78f, 0.22f, 0.18f),
                          mesh.material("roof_slate", 0.30f, 0.32f, 0.42f)};
    const int glass = mesh.material("glass", 0.16f, 0.22f, 0.40f);
    const int bark = mesh.material("bark", 0.45f, 0.30f, 0.18f);
    const int leaves = mesh.material("leaves", 0.20f, 0.55f, 0.25f);
    const int stone = mesh.material("tower_stone", 0.80f, 0.78f, 0.72f);

    mesh.box(grass, {-26, -42, -0.5f}, {26, 42, 0});
    mesh.box(asphalt, {-3, -42, 0}, {3, 42, 0.04f});
    for (float y = -41; y < 34; y += 4)
        mesh.box(paint, {-0.1f, y, 0.04f}, {0.1f, y + 2, 0.06f});

    Dice dice;
    for (float side : {-1.0f, 1.0f})
        for (int lot = 0; lot < 9; ++lot)
        {
            const float y0 = -40.0f + lot * 8.4f + dice.between(0, 1.2f), y1 = y0 + dice.between(5.0f, 6.6f);
            const float width = dice.between(4.0f, 6.5f), height = dice.between(2.6f, 6.5f);
            const float near = side * 4.0f, far = side * (4.0f + width);
            const float xMin = std::min(near, far), xMax = std::max(near, far);
            const int wall = walls[int(dice.next() * 4)];
            mesh.box(wall, {xMin, y0, 0}, {xMax, y1, height});
            // Windows on the street side, one row per storey.
            for (float z = 1.0f; z + 1.0f < height; z += 1.7f)
                for (float y = y0 + 0.8f; y + 1.0f < y1; y += 1.6f)
                    mesh.box(glass, {near - side * 0.08f - 0.04f, y, z},
                             {near - side * 0.08f + 0.04f, y + 0.8f, z + 0.9f});
            mesh.box(bark, {near - side * 0.1f - 0.05f, (y0 + y1) / 2 - 0.5f, 0},
                     {near - side * 0.1f + 0.05f, (y0 + y1) / 2 + 0.5f, 1.6f});
            // A gable roof with its ridge along the street.
            const int roof = roofs[lot % 2];
            const float ridge = height + dice.between(1.2f, 2.4f), middle = (xMin + xMax) / 2;
            const Vec3 a{xMin - 0.2f, y0 - 0.2f, height}, b{xMax + 0.2f, y0 - 0.2f, height};
            const Vec3 c{xMax + 0.2f, y1 + 0.2f, height}, d{xMin - 0.2f, y1 + 0.2f, height};
            const Vec3 r0{middle, y0 - 0.2f, ridge}, r1{middle, y1 + 0.2f, ridge};
            mesh.quadFacing(roof, a, r0, r1, d, {-1, 0, 1});
            mesh.quadFacing(roof, b, c, r1, r0, {1, 0, 1});
            mesh.triangleFacing(wall, a, b, r0, {0, -1, 0});
            mesh.triangleFacing(wall, d, c, r1, {0, 1, 0});
            mesh.quadFacing(roof, a, b, c, d, {0, 0, -1});
            // A tree in front of every other house.
            if (lot % 2 == 1)
            {
                const float ty = y1 + 1.0f, tx = side * 3.6f;
                mesh.box(bark, {tx - 0.15f, ty - 0.15f, 0}, {tx + 0.15f, ty + 0.15f, 1.3f});
                const Vec3 top{tx, ty, 3.2f}, bottom{tx, ty, 1.0f};
                const Vec3 ring[4] = {
                    {tx + 0.9f, ty, 1.9f}, {tx, ty + 0.9f, 1.9f}, {tx - 0.9f, ty, 1.9f}, {tx, ty - 0.9f, 1.9f}};
                for (int i = 0; i < 4; ++i)
                {
                    const Vec3 p = ring[i], q = ring[(i + 1) % 4];
                    const Vec3 out = Vec3{(p.x + q.x) / 2 - tx, (p.y + q.y) / 2 - ty, 0};
                    mesh.triangleFacing(leaves, p, q, top, out + Vec3{0, 0, 0.5f});
                    mesh.triangleFacing(leaves, p, q, bottom, out + Vec3{0, 0, -0.5f});
                }
            }
        }

    // The clock tower at the street's end.
    mesh.box(stone, {-2, 35, 0}, {2, 39, 12});
    mesh.box(paint, {-1.2f, 34.9f, 8.6f}, {1.2f, 35.0f, 10.8f});
    mesh.box(asphalt, {-0.1f, 34.8f, 9.6f}, {0.1f, 34.9f, 10.6f});
    const Vec3 base[4] = {{-2.3f, 34.7f, 12}, {2.3f, 34.7f, 12}, {2.3f, 39.3f, 12}, {-2.3f, 39.3f, 12}};
    const Vec3 spire{0, 37, 16.5f};
    for (int i = 0; i < 4; ++i)
    {
        const Vec3 p = base[i], q = base[(i + 1) % 4];
        mesh.triangleFacing(roofs[0], p, q, spire, Vec3{(p.x + q.x) / 2, (p.y + q.y) / 2 - 37, 1});
    }
    return mesh;
}

} // namespace

const std::vector<ModelShape>& modelShapes()
{
    static const std::vector<ModelShape> all = {
        {"arks3", arches},
        {"arks5", corridor},
        {"shape_1a", spikyStar},
        {"town_04", town},
    };
    return all;
}

} // namespace assets

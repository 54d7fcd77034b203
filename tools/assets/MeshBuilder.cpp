#include "MeshBuilder.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <tuple>

namespace assets
{

Vec3 normalized(Vec3 v)
{
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return length > 0 ? v * (1.0f / length) : v;
}

int MeshBuilder::material(const std::string& name, float r, float g, float b)
{
    materials.push_back({name, r, g, b});
    return int(materials.size()) - 1;
}

void MeshBuilder::triangle(int material, Vec3 a, Vec3 b, Vec3 c)
{
    triangles.push_back({material, {a, b, c}});
}

void MeshBuilder::quad(int material, Vec3 a, Vec3 b, Vec3 c, Vec3 d)
{
    triangle(material, a, b, c);
    triangle(material, a, c, d);
}

void MeshBuilder::triangleFacing(int material, Vec3 a, Vec3 b, Vec3 c, Vec3 towards)
{
    const Vec3 n = cross(b - a, c - a);
    if (n.x * towards.x + n.y * towards.y + n.z * towards.z >= 0)
        triangle(material, a, b, c);
    else
        triangle(material, a, c, b);
}

void MeshBuilder::quadFacing(int material, Vec3 a, Vec3 b, Vec3 c, Vec3 d, Vec3 towards)
{
    triangleFacing(material, a, b, c, towards);
    triangleFacing(material, a, c, d, towards);
}

void MeshBuilder::face(int material, Vec3 centre, Vec3 s, Vec3 t)
{
    quad(material, centre - s - t, centre + s - t, centre + s + t, centre - s + t);
}

void MeshBuilder::box(int material, Vec3 c, Vec3 ex, Vec3 ey, Vec3 ez)
{
    face(material, c + ex, ey, ez);
    face(material, c - ex, ez, ey);
    face(material, c + ey, ez, ex);
    face(material, c - ey, ex, ez);
    face(material, c + ez, ex, ey);
    face(material, c - ez, ey, ex);
}

void MeshBuilder::box(int material, Vec3 min, Vec3 max)
{
    const Vec3 half = (max - min) * 0.5f;
    box(material, min + half, {half.x, 0, 0}, {0, half.y, 0}, {0, 0, half.z});
}

namespace
{

// Fixed-point text of a coordinate, without a negative zero, so that the
// files are the same on every build.
std::string number(float v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", double(v));
    return std::string(text) == "-0.0000" ? "0.0000" : text;
}

std::string triple(Vec3 v)
{
    return number(v.x) + " " + number(v.y) + " " + number(v.z);
}

} // namespace

bool MeshBuilder::write(const std::string& directory, const std::string& name) const
{
    const std::string mtlName = name + ".mtl";
    FILE* mtl = std::fopen((directory + "/" + mtlName).c_str(), "w");
    if (!mtl)
        return false;
    for (const Material& m : materials)
    {
        std::fprintf(mtl, "newmtl %s\n", m.name.c_str());
        std::fprintf(mtl, "Ka %s\n", triple(Vec3{m.r, m.g, m.b} * ambientShare).c_str());
        std::fprintf(mtl, "Kd %s\n", triple(Vec3{m.r, m.g, m.b}).c_str());
        std::fprintf(mtl, "Ks 0.0000 0.0000 0.0000\nNs 0\nillum 1\n\n");
    }
    std::fclose(mtl);

    FILE* obj = std::fopen((directory + "/" + name + ".obj").c_str(), "w");
    if (!obj)
        return false;
    std::fprintf(obj, "# %zu triangles\nmtllib %s\n", triangles.size(), mtlName.c_str());

    // The engine's loader mirrors x, so the file holds −x; it also reverses
    // each face, so a face's corners are written last to first.
    std::map<std::string, int> positions, normals;
    auto index = [obj](std::map<std::string, int>& table, const char* kind, const std::string& text) {
        auto found = table.find(text);
        if (found != table.end())
            return found->second;
        std::fprintf(obj, "%s %s\n", kind, text.c_str());
        const int next = int(table.size()) + 1;
        table.emplace(text, next);
        return next;
    };
    auto mirror = [](Vec3 v) { return Vec3{-v.x, v.y, v.z}; };
    for (size_t m = 0; m < materials.size(); ++m)
    {
        bool used = false;
        for (const Triangle& t : triangles)
        {
            if (t.material != int(m))
                continue;
            if (!used)
                std::fprintf(obj, "usemtl %s\n", materials[m].name.c_str());
            used = true;
            const Vec3 normal = normalized(cross(t.corners[1] - t.corners[0], t.corners[2] - t.corners[0]));
            const int n = index(normals, "vn", triple(mirror(normal)));
            int v[3];
            for (int i = 0; i < 3; ++i)
                v[i] = index(positions, "v", triple(mirror(t.corners[i])));
            std::fprintf(obj, "f %d//%d %d//%d %d//%d\n", v[2], n, v[1], n, v[0], n);
        }
    }
    return std::fclose(obj) == 0;
}

} // namespace assets

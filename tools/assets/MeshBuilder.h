#pragma once

#include <string>
#include <vector>

namespace assets
{

struct Vec3
{
    float x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(Vec3 a, float s)
{
    return {a.x * s, a.y * s, a.z * s};
}
inline Vec3 cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec3 normalized(Vec3 v);

// Collects flat-shaded triangles in the demo's world coordinates (the
// engine's left-handed frame) and writes them as an OBJ file with its MTL.
// A triangle (a, b, c) faces the side that (b − a) × (c − a) points to,
// which is the side the engine draws it from.
class MeshBuilder
{
public:
    // Ka is a small share of Kd: the demo lights its models with white
    // ambient light, which would otherwise wash their colours out.
    static constexpr float AMBIENT_SHARE = 0.15f;
    // Models that the demo draws as flat emissive shapes (their own ambient
    // colour kept, everything else overridden) want no ambient share at all.
    void setAmbientShare(float share) { ambientShare = share; }

    int material(const std::string& name, float r, float g, float b);
    void triangle(int material, Vec3 a, Vec3 b, Vec3 c);
    // The quad a, b, c, d in order, as the triangles (a, b, c) and (a, c, d).
    void quad(int material, Vec3 a, Vec3 b, Vec3 c, Vec3 d);
    // The same, turned if need be so that they face the given direction.
    void triangleFacing(int material, Vec3 a, Vec3 b, Vec3 c, Vec3 towards);
    void quadFacing(int material, Vec3 a, Vec3 b, Vec3 c, Vec3 d, Vec3 towards);
    // A rectangle around its centre spanned by s and t, facing s × t.
    void face(int material, Vec3 centre, Vec3 s, Vec3 t);
    // A box around its centre with half-axes ex, ey, ez (ex × ey along ez).
    void box(int material, Vec3 centre, Vec3 ex, Vec3 ey, Vec3 ez);
    void box(int material, Vec3 min, Vec3 max);

    size_t triangleCount() const { return triangles.size(); }

    // Writes directory/name.obj and directory/name.mtl.
    bool write(const std::string& directory, const std::string& name) const;

private:
    struct Material
    {
        std::string name;
        float r, g, b;
    };
    struct Triangle
    {
        int material;
        Vec3 corners[3];
    };
    std::vector<Material> materials;
    float ambientShare = AMBIENT_SHARE;
    std::vector<Triangle> triangles;
};

} // namespace assets

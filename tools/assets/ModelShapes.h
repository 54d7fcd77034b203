#pragma once

#include "MeshBuilder.h"

#include <string>
#include <vector>

namespace assets
{

// One model of the demo: its name under data/models (without .obj) and how it is built.
struct ModelShape
{
    std::string name;
    MeshBuilder (*build)();
};

const std::vector<ModelShape>& modelShapes();

// Where the flying cameras travel: along +z on the line x = 24, y = 23.
constexpr float FLIGHT_X = 24.0f, FLIGHT_Y = 23.0f;
// The stretch of z that the flight structures cover.
constexpr float FLIGHT_START_Z = -420.0f, FLIGHT_END_Z = 130.0f;

} // namespace assets

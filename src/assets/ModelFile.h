#pragma once

#include <irrlicht.h>

#include <string>
#include <string_view>

// The engine's OBJ loader trusts its input. A face line with no corners, a
// corner number longer than its 16-byte buffer, or an index that names no
// vertex, texture coordinate or normal read before it makes it read or write
// outside its arrays, and it reads whatever a material library's name points
// at, directories included. Every model goes through this check first.

// What would make the engine's OBJ loader fail badly on this text, read from
// the file at path ("line 12: ..."), or an empty string when it can read it
// safely. The check follows the loader's own reading of the text, quirks
// included, so that it counts exactly the vertices the loader counts, and
// looks up the material libraries the text names where the loader would.
std::string findObjFault(std::string_view text, const std::string& path);

// The scene manager's getMesh(path) for an OBJ file, after checking the file.
// A missing file gives null, as it does from the engine. A file that is not a
// regular file, or whose text or material libraries fail the check, also
// gives null, as a model that failed to load, and one line on stderr names
// the file and the fault. The loader reads the very bytes that were checked.
irr::scene::IAnimatedMesh* loadModel(irr::scene::ISceneManager* sceneManager, const char* path);

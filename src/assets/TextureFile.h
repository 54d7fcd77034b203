#pragma once

#include <irrlicht.h>

#include <string>

// Every picture of the demo is a PNG file. The engine also tries each of its
// other image loaders on a file under a .png name that is not a PNG, and
// those trust their input: a damaged JPEG makes libjpeg read past the end of
// the loader's buffer. Its PNG loader sizes the image as width x height x 4
// in 32 bits, which a forged header overflows.

// Why the first bytes of a texture file (its header) are no picture the demo
// hands to the engine ("not a PNG file", "a 100000 x 3 picture"), or an empty
// string when they are a PNG header of a sensible size.
std::string findPngHeaderFault(const unsigned char* bytes, std::size_t size);

// The driver's getTexture(path), after checking the file. A missing file
// gives null, as it does from the engine. A file that is not a regular file
// or not a PNG picture of a sensible size also gives null, as a texture that
// failed to load, and one line on stderr names the file and the fault.
irr::video::ITexture* loadTexture(irr::video::IVideoDriver* driver, const char* path);

#include "platform/OpenGL.h"

#define KIRUPO_GL_DEFINE(type, name) type kirupo_##name = nullptr;
KIRUPO_GL_FUNCTIONS(KIRUPO_GL_DEFINE)
KIRUPO_GL_OFF_SCREEN_FUNCTIONS(KIRUPO_GL_DEFINE)
#undef KIRUPO_GL_DEFINE

namespace
{
bool offScreenFunctions = false;
}

bool loadOpenGlFunctions()
{
    bool all = true;
#define KIRUPO_GL_LOAD(type, name)                                                                                     \
    kirupo_##name = reinterpret_cast<type>(reinterpret_cast<void*>(wglGetProcAddress(#name)));                         \
    all &= kirupo_##name != nullptr;
    KIRUPO_GL_FUNCTIONS(KIRUPO_GL_LOAD)
    const bool demoFunctions = all;
    KIRUPO_GL_OFF_SCREEN_FUNCTIONS(KIRUPO_GL_LOAD)
#undef KIRUPO_GL_LOAD
    offScreenFunctions = all;
    return demoFunctions;
}

bool hasOffScreenFunctions()
{
    return offScreenFunctions;
}

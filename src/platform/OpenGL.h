#pragma once

// OpenGL with the 2.0 functions the demo uses (texture units, shaders).
// Linux's libGL exports them all; Windows' opengl32 only OpenGL 1.1, the rest
// comes from the driver once a context is current: loadOpenGlFunctions,
// called by createDemoDevice, fetches them, and these names reach them.

#ifdef _WIN32

#include <windows.h>

#include <GL/gl.h>
#include <GL/glext.h>

#define KIRUPO_GL_FUNCTIONS(X)                                                                                         \
    X(PFNGLACTIVETEXTUREPROC, glActiveTexture)                                                                         \
    X(PFNGLATTACHSHADERPROC, glAttachShader)                                                                           \
    X(PFNGLCOMPILESHADERPROC, glCompileShader)                                                                         \
    X(PFNGLCREATEPROGRAMPROC, glCreateProgram)                                                                         \
    X(PFNGLCREATESHADERPROC, glCreateShader)                                                                           \
    X(PFNGLDELETEPROGRAMPROC, glDeleteProgram)                                                                         \
    X(PFNGLDELETESHADERPROC, glDeleteShader)                                                                           \
    X(PFNGLGETPROGRAMIVPROC, glGetProgramiv)                                                                           \
    X(PFNGLGETSHADERIVPROC, glGetShaderiv)                                                                             \
    X(PFNGLGETUNIFORMLOCATIONPROC, glGetUniformLocation)                                                               \
    X(PFNGLLINKPROGRAMPROC, glLinkProgram)                                                                             \
    X(PFNGLSHADERSOURCEPROC, glShaderSource)                                                                           \
    X(PFNGLUNIFORM1FPROC, glUniform1f)                                                                                 \
    X(PFNGLUNIFORM1IPROC, glUniform1i)                                                                                 \
    X(PFNGLUNIFORM2FPROC, glUniform2f)                                                                                 \
    X(PFNGLUSEPROGRAMPROC, glUseProgram)

// Framebuffer objects (OpenGL 3.0), for off-screen images only: the demo
// runs without them.
#define KIRUPO_GL_OFF_SCREEN_FUNCTIONS(X)                                                                              \
    X(PFNGLBINDFRAMEBUFFERPROC, glBindFramebuffer)                                                                     \
    X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, glCheckFramebufferStatus)                                                       \
    X(PFNGLDELETEFRAMEBUFFERSPROC, glDeleteFramebuffers)                                                               \
    X(PFNGLFRAMEBUFFERTEXTURE2DPROC, glFramebufferTexture2D)                                                           \
    X(PFNGLGENFRAMEBUFFERSPROC, glGenFramebuffers)

#define KIRUPO_GL_DECLARE(type, name) extern type kirupo_##name;
KIRUPO_GL_FUNCTIONS(KIRUPO_GL_DECLARE)
KIRUPO_GL_OFF_SCREEN_FUNCTIONS(KIRUPO_GL_DECLARE)
#undef KIRUPO_GL_DECLARE

#define glActiveTexture kirupo_glActiveTexture
#define glAttachShader kirupo_glAttachShader
#define glCompileShader kirupo_glCompileShader
#define glCreateProgram kirupo_glCreateProgram
#define glCreateShader kirupo_glCreateShader
#define glDeleteProgram kirupo_glDeleteProgram
#define glDeleteShader kirupo_glDeleteShader
#define glGetProgramiv kirupo_glGetProgramiv
#define glGetShaderiv kirupo_glGetShaderiv
#define glGetUniformLocation kirupo_glGetUniformLocation
#define glLinkProgram kirupo_glLinkProgram
#define glShaderSource kirupo_glShaderSource
#define glUniform1f kirupo_glUniform1f
#define glUniform1i kirupo_glUniform1i
#define glUniform2f kirupo_glUniform2f
#define glUseProgram kirupo_glUseProgram
#define glBindFramebuffer kirupo_glBindFramebuffer
#define glCheckFramebufferStatus kirupo_glCheckFramebufferStatus
#define glDeleteFramebuffers kirupo_glDeleteFramebuffers
#define glFramebufferTexture2D kirupo_glFramebufferTexture2D
#define glGenFramebuffers kirupo_glGenFramebuffers

// True when the current context has every one of the demo's functions;
// fetches the off-screen ones too, where it has them.
bool loadOpenGlFunctions();
// Whether the current context has the off-screen functions (once loaded).
bool hasOffScreenFunctions();

#else

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

inline bool loadOpenGlFunctions()
{
    return true;
}

inline bool hasOffScreenFunctions()
{
    return true;
}

#endif

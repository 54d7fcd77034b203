// The Windows build finds ffmpeg on the PATH but cannot feed it frames yet:
// a video is refused with one line, before any window opens.
#include "CaptureErrors.h"
#include "VideoEncoder.h"
#include "Yuv420Converter.h"

#include <windows.h>

namespace
{
const char* const NOT_AVAILABLE = "video is not available in the Windows build (ffmpeg cannot be run from it yet)";
}

std::string findProgram(const std::string& name)
{
    char found[MAX_PATH];
    const DWORD length = SearchPathA(nullptr, name.c_str(), ".exe", sizeof found, found, nullptr);
    return length > 0 && length < sizeof found ? std::string(found, length) : std::string();
}

bool audioDecodes(const std::string&, const std::string&)
{
    throw CaptureError(NOT_AVAILABLE);
}

VideoEncoder::VideoEncoder(const std::string&, const VideoSettings&)
{
    throw CaptureError(NOT_AVAILABLE);
}

// The encoder never gets as far as making a converter here: libswscale is
// not part of the Windows build.
Yuv420Converter::~Yuv420Converter() = default;

VideoEncoder::~VideoEncoder() = default;

GpuImage& VideoEncoder::nextFrame()
{
    throw CaptureError(NOT_AVAILABLE);
}

void VideoEncoder::send() {}

void VideoEncoder::finish() {}

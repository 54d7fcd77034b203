#include "platform/SanitizerSupport.h"

#if defined(__SANITIZE_ADDRESS__)

#include <dlfcn.h>
#include <link.h>

#include <cstring>

// Leaks of the libraries under the demo, not of the demo: Mesa's drivers
// (swrast_dri.so for llvmpipe) keep a few small shader-cache blocks for good,
// and when SDL starts under an X display without a session bus, libdbus tries
// to autolaunch one and keeps the failed attempt's buffer.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:_dri.so\nleak:libdbus-1.so\n";
}

namespace
{
int pinDriver(dl_phdr_info* info, size_t, void*)
{
    if (info->dlpi_name && std::strstr(info->dlpi_name, "_dri.so"))
        dlopen(info->dlpi_name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
    return 0;
}
} // namespace

void keepGlDriverLoaded()
{
    dl_iterate_phdr(pinDriver, nullptr);
}

#else

void keepGlDriverLoaded() {}

#endif

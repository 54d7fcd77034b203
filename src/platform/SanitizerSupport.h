#pragma once

// In an AddressSanitizer build, keeps the OpenGL driver's library mapped
// until the process ends, so that the leak report can name it and leave out
// what Mesa itself never frees (otherwise it is unloaded, and its frames
// anonymous, by the time the report is made). Does nothing in other builds.
void keepGlDriverLoaded();

#pragma once

// One line on stderr, "<program>: <message>", about a fault that the demo
// works around (a damaged asset, no audio device), so that whoever runs it
// learns why a picture or the sound is missing.
void warn(const char* format, ...) __attribute__((format(printf, 1, 2)));

#include "platform/HeapTuning.h"

// Windows' heap keeps freed blocks for reuse by itself.
void keepFreedMemoryForReuse() {}

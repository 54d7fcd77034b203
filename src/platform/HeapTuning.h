#pragma once

// Keeps memory that the process frees for its own reuse instead of handing it
// back to the system at once. Mesa's software renderer allocates a few
// megabytes of binning storage for every frame and frees it when the frame is
// done; with the C library's defaults that memory is returned and faulted in
// afresh, zeroed page by page, in the next frame, which made busy frames two
// to three times slower. Call first thing in main.
void keepFreedMemoryForReuse();

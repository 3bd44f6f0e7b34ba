#pragma once

namespace albivex {

// Has every thread of the process take its memory from one heap. By default the C
// library gives each thread that allocates a heap of its own, and memory freed in one
// is never reused by the threads of another: over a long run the worker threads
// (parsing lists, records, album.json, thumbnails) each leave a heap holding freed
// memory that the others cannot use, and the resident memory keeps climbing. The
// tool's threads seldom allocate at the same moment, so sharing costs them little.
// Call first thing in main, before any thread starts; a no-op where the C library
// has no such setting.
void ShareOneHeap();

} // namespace albivex

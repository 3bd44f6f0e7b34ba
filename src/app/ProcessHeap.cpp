#include "app/ProcessHeap.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace albivex {

void ShareOneHeap()
{
#ifdef M_ARENA_MAX
    mallopt(M_ARENA_MAX, 1);
#endif
}

} // namespace albivex

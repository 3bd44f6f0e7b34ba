#include "app/ProcessHeap.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace albivex {

void ShareOneHeap()
{
#ifdef __GLIBC__
    mallopt(M_ARENA_MAX, 1);
#endif
}

} // namespace albivex

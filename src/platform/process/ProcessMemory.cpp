#include "platform/process/ProcessMemory.h"

#include <malloc.h>

namespace ProcessMemory {

void limitHeaps()
{
#ifdef M_ARENA_MAX
    mallopt(M_ARENA_MAX, 2);
#endif
}

} // namespace ProcessMemory

#include "memorybudget.h"

#include <cstdlib> // defines __GLIBC__ where it applies

#ifdef __GLIBC__
#include <malloc.h>
#include <pthread.h>
#endif

namespace memorybudget {

void reserveLess()
{
#ifdef __GLIBC__
    // glibc gives each new thread that allocates a heap of its own, reserving
    // 64 MiB of address space for it, and each thread a stack of the size of
    // the main thread's limit, commonly 8 MiB. The game's threads are Qt's
    // and the libraries' helpers (the X event reader, the D-Bus connection),
    // which allocate little and never recurse deeply: they share the main
    // heap, and 2 MiB of stack each is ample.
    mallopt(M_ARENA_MAX, 1);
    pthread_attr_t attributes;
    if (pthread_getattr_default_np(&attributes) == 0) {
        pthread_attr_setstacksize(&attributes, 2 * 1024 * 1024);
        pthread_setattr_default_np(&attributes);
        pthread_attr_destroy(&attributes);
    }
#endif
}

} // namespace memorybudget

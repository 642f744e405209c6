#include "platform/Arbeitsspeicher.h"

#include <cstdlib>  // defines __GLIBC__ where the C library is glibc
#if defined(__GLIBC__)
#include <malloc.h>
#endif

void Arbeitsspeicher_einrichten() {
#if defined(__GLIBC__)
  // Freed memory at the top of the heap is kept up to this much (the default trims it
  // beyond 128 KiB, less than one month's strings), and blocks below the second size
  // come from the heap, where they are used again, not from a mapping of their own
  // that is unmapped when freed. A whole organisation's months fit in both.
  mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
  mallopt(M_TOP_PAD, 4 * 1024 * 1024);
  mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
#endif
}

#pragma once

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace nagitori {

// Hands the pages of freed memory back to the system. glibc keeps them otherwise: reading the icon theme, the
// desktop's databases or a large settings file frees megabytes around the few things kept, and a program that then
// sits waiting for a click never fills them again.
inline void ReturnFreedMemory() {
#if defined(__GLIBC__)
    ::malloc_trim(0);
#endif
}

}  // namespace nagitori

#pragma once

namespace qel {

// Clears the upper halves of the processor's wide vector registers, where it has them. Code
// built for the baseline x86-64 (SSE) runs several times slower once a library has used the
// wide registers and left them dirty (glibc's AVX-512 string functions and Qt's image routines
// do); loops that integrate call this before they start and after calling out.
void CleanVectorState();

} // namespace qel

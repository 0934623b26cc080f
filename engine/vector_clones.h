#ifndef ENGINE_VECTOR_CLONES_H
#define ENGINE_VECTOR_CLONES_H

// Marks a hot loop function to be compiled twice on 64-bit Linux with GCC:
// for processors with AVX2 (twice the vector width) and for any x86-64, the
// loader picking one at start-up. Only for loops of exact integer or IEEE
// arithmetic (no contraction into fused multiply-adds: AVX2 alone does not
// enable them), so both versions give the same results.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__)
#define SEAM_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define SEAM_VECTOR_CLONES
#endif

#endif  // ENGINE_VECTOR_CLONES_H

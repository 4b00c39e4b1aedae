#pragma once
// Loops over the frequencies of a spectrum fill AVX2 vectors twice as well as the plain
// x86-64 ones. Where the compiler can build clones chosen when the program loads, a
// function marked with this macro gets an AVX2 clone beside the plain one; both do the
// same IEEE operations (contraction into fused multiply-adds stays off), so both give the
// same bits.
#if defined(__x86_64__) && defined(__GNUC__) && defined(__linux__)
#define WW3B_WIDE_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define WW3B_WIDE_VECTOR_CLONES
#endif

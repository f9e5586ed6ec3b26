#pragma once
// Keeping loops that call the math library fast on x86 processors with AVX.
//
// The program is built for plain x86-64, so its own floating-point code is
// SSE code, while the math library picks VEX-encoded versions of log and pow
// on processors that have them. When some earlier code in the process has
// used the 256-bit registers and left their upper halves dirty, every step
// between the two kinds of code stalls: a logarithm then costs over a hundred
// nanoseconds instead of five, and a million events placed on a log axis
// take a quarter of a second instead of ten milliseconds. Clearing the upper
// halves once before such a loop keeps the whole loop fast; nothing in the
// loop dirties them again.
namespace qv {

// Clears the upper halves of the vector registers (VZEROUPPER) when the
// processor has them; does nothing elsewhere, and nothing in code built for
// AVX, which never pays the stall. Costs a few cycles: call it once per block
// of events, before the loop.
inline void ClearUpperVectorHalves() {
#if (defined(__x86_64__) || defined(__i386__)) && !defined(__AVX__) && (defined(__GNUC__) || defined(__clang__))
    static const bool hasAvx = __builtin_cpu_supports("avx");
    // The compiler keeps nothing in the upper halves of code built without
    // AVX, and the lower halves are left as they are.
    if (hasAvx) __asm__ volatile("vzeroupper");
#endif
}

}  // namespace qv

// The process-wide pseudo-random generator. Its sequence is fixed: each draw
// steps state := state * 134775813 + 1 (mod 2^32) and returns the upper 32
// bits of state * n, so stored files and effects repeat exactly for a seed.
#pragma once

#include <cstdint>

namespace orv {

class Random {
public:
    static uint32_t& State();
    static void Seed(uint32_t s) { State() = s; }
    // 0 <= result < n; 0 when n is 0.
    static uint32_t Next(uint32_t n) {
        uint32_t& st = State();
        st = st * 134775813u + 1u;
        return static_cast<uint32_t>((static_cast<uint64_t>(st) * n) >> 32);
    }
};

} // namespace orv

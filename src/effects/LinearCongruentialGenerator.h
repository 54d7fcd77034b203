#pragma once

#include <cstdint>

// The C runtime's classic rand: a 32-bit state, starting at 1, stepped as
// state * 214013 + 2531011 (mod 2^32); each draw is bits 16 to 30 of the new
// state, 0 to 32767. Kept in the project because the C library here uses a
// different generator, and the star burst must be the same on every run.
class LinearCongruentialGenerator
{
public:
    static constexpr int MAX = 32767;

    int next()
    {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFFu);
    }

private:
    std::uint32_t state = 1;
};

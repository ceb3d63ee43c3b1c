#pragma once

#include <cstddef>
#include <cstdint>

// Sizes of the cipher's key-dependent tables.
constexpr size_t kBlowfishSubkeys = 18;
constexpr size_t kBlowfishBoxes = 4;
constexpr size_t kBlowfishBoxEntries = 256;

// The published initial subkeys (the first 18 words of pi's hexadecimal fraction).
extern const uint32_t kBlowfishInitialPArray[kBlowfishSubkeys];
// The published initial boxes, box 0 first (the next 1024 words of pi's fraction).
extern const uint32_t kBlowfishInitialSBoxes[kBlowfishBoxes * kBlowfishBoxEntries];

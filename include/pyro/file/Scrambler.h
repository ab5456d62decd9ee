// The "MPK1" scrambling of file contents: after the four-byte marker every byte is stored with
// its nibbles swapped and XORed with 0x99. The mask has equal nibbles, so the same byte
// operation scrambles and unscrambles.
#pragma once

#include <cstdint>

constexpr uint32_t kScrambleMarkerSize = 4;  // bytes of the marker
extern const char kScrambleMarker[kScrambleMarkerSize + 1];  // "MPK1"

// True when data begins with the marker (never for content shorter than the marker).
bool HasScrambleMarker(const unsigned char* data, uint32_t size);

// Scrambles or unscrambles count bytes from source to destination (they may be the same).
void ScrambleBytes(const unsigned char* source, unsigned char* destination, uint32_t count);

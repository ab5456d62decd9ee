// VorbisSetupLayout: where the fields of a Vorbis setup header lie, found by walking the packet
// bit by bit (codebooks, time-domain slots, floors, residues, mappings, modes). The Ogg fuzz
// target's mutator rewrites those fields and the sound tests build hostile streams from them;
// decoding itself is libvorbis's alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct VorbisSetupLayout {
    // Bit offsets in the packet (least significant bit first, as the codec packs them).
    std::vector<size_t> codebooks;     // each codebook's 24-bit sync pattern
    std::vector<size_t> floorTypes;    // each floor's 16-bit type
    std::vector<size_t> residueTypes;  // each residue's 16-bit type
    std::vector<int> residueTypeValues;
    std::vector<bool> modeIsLong;      // each mode's block flag
    size_t end = 0;                    // the framing bit
};

// Walks a setup header packet ("\x05vorbis...") of a stream of channels channels. False when
// the packet is not a setup header or does not hold what its counts announce.
bool ReadVorbisSetupLayout(const std::vector<uint8_t>& packet, int channels, VorbisSetupLayout& layout);

// The value of bits bits (at most 32) at bit offset at (least significant first); 0 past the end.
uint32_t ReadVorbisBits(const std::vector<uint8_t>& packet, size_t at, int bits);
// Writes value into bits bits (at most 32) at bit offset at; bits past the end are dropped.
void WriteVorbisBits(std::vector<uint8_t>& packet, size_t at, int bits, uint32_t value);

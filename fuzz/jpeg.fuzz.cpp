// Fuzz target: the JPEG decoder. The mutator works on segments: it sets a frame's width and
// height to sizes around the cap, changes its components and sampling factors, changes a
// segment's bytes or length, drops or repeats segments, and mutates the entropy-coded data
// after a scan header, so that the mutations reach the decoder's tables and scans. A decoded
// picture must be within the cap and opaque.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <vector>

#include "FuzzRandom.h"
#include "image/DecodedPicture.h"
#include "image/PictureFormat.h"

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

// A marker with its payload: the length field's bytes are not kept, they are rewritten (or
// made to lie). A scan's payload runs on through its entropy-coded data to the next marker.
struct Segment {
    uint8_t marker = 0;
    bool hasLength = false;
    std::vector<uint8_t> payload;
    size_t headerLength = 0;  // for a scan: the bytes of the scan header within payload
    int lengthDelta = 0;
};

bool StandsAlone(uint8_t marker)
{
    return marker == 0xD8 || marker == 0xD9 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

bool Parse(const uint8_t* data, size_t size, std::vector<Segment>& segments)
{
    size_t at = 0;
    while (at + 2 <= size) {
        if (data[at] != 0xFF) return false;
        Segment segment;
        segment.marker = data[at + 1];
        at += 2;
        if (!StandsAlone(segment.marker)) {
            if (at + 2 > size) return false;
            const size_t length = (size_t(data[at]) << 8) | data[at + 1];
            if (length < 2 || at + length > size) return false;
            segment.hasLength = true;
            segment.payload.assign(data + at + 2, data + at + length);
            segment.headerLength = length - 2;
            at += length;
            if (segment.marker == 0xDA) {  // entropy-coded data up to a marker that is not RST or stuffing
                size_t end = at;
                while (end + 1 < size &&
                       !(data[end] == 0xFF && data[end + 1] != 0 && (data[end + 1] < 0xD0 || data[end + 1] > 0xD7)))
                    ++end;
                if (end + 1 >= size) end = size;
                segment.payload.insert(segment.payload.end(), data + at, data + end);
                at = end;
            }
        }
        segments.push_back(segment);
    }
    return segments.size() >= 2;
}

size_t Write(const std::vector<Segment>& segments, uint8_t* data, size_t maxSize)
{
    std::vector<uint8_t> out;
    for (const Segment& s : segments) {
        out.push_back(0xFF);
        out.push_back(s.marker);
        if (s.hasLength) {
            const size_t length = std::min(s.headerLength, s.payload.size()) + 2 + size_t(s.lengthDelta);
            out.push_back(uint8_t(length >> 8));
            out.push_back(uint8_t(length));
        }
        out.insert(out.end(), s.payload.begin(), s.payload.end());
    }
    if (out.size() > maxSize) return 0;
    std::memcpy(data, out.data(), out.size());
    return out.size();
}

bool IsFrame(uint8_t marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

}  // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned int seed)
{
    std::vector<Segment> segments;
    if (!Parse(data, size, segments)) return LLVMFuzzerMutate(data, size, maxSize);
    CFuzzRandom next(seed);
    Segment& segment = segments[next(uint32_t(segments.size()))];
    switch (next(8)) {
    case 0:  // the frame's size, around the cap and the 16-bit limit
    case 1:
        for (Segment& s : segments) {
            if (!IsFrame(s.marker) || s.payload.size() < 5) continue;
            static const uint32_t sides[] = {0, 1, 7, 8, 9, 16, 17, 255, 4096, 16383, 16384, 16385, 65535};
            const uint32_t v = sides[next(sizeof sides / sizeof sides[0])];
            const size_t field = next(2) ? 1 : 3;  // height, width
            s.payload[field] = uint8_t(v >> 8);
            s.payload[field + 1] = uint8_t(v);
            if (next(3) == 0) s.marker = uint8_t(0xC0 + next(3));  // baseline, extended, progressive
        }
        break;
    case 2:  // components and sampling factors of the frame
        for (Segment& s : segments) {
            if (!IsFrame(s.marker) || s.payload.size() < 6) continue;
            if (next(2)) s.payload[5] = uint8_t(next(5));
            else if (s.payload.size() >= 9) s.payload[7 + 3 * next(uint32_t((s.payload.size() - 6) / 3))] = uint8_t(next(256));
        }
        break;
    case 3:  // a segment's bytes
    case 4: {
        const size_t old = segment.payload.size();
        segment.payload.resize(old + 64);
        segment.payload.resize(LLVMFuzzerMutate(segment.payload.data(), old, old + 64));
        if (segment.marker != 0xDA) segment.headerLength = segment.payload.size();
        break;
    }
    case 5:  // a length that disagrees with the payload
        segment.lengthDelta = int(next(16)) - 8;
        break;
    case 6:  // a segment dropped
        if (segments.size() > 2) segments.erase(segments.begin() + next(uint32_t(segments.size())));
        break;
    default:  // a segment repeated elsewhere
        segments.insert(segments.begin() + next(uint32_t(segments.size()) + 1), Segment(segment));
        break;
    }
    const size_t written = Write(segments, data, maxSize);
    return written ? written : LLVMFuzzerMutate(data, size, maxSize);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DecodedPicture picture;
    if (DecodeJpegPicture(data, size, picture) != kPictureDecoded) {
        if (!picture.pixels.empty() || picture.width != 0) __builtin_trap();
        return 0;
    }
    if (!IsPictureSizeAllowed(picture.width, picture.height) ||
        picture.pixels.size() != size_t(picture.width) * picture.height || picture.alpha)
        __builtin_trap();
    return 0;
}

// LZSS encoding with hash chains and one step of lazy matching. The input is matched as if it
// followed the ring's zero fill, so runs of zeros at the start are coded as references too.
#include "tools/LzssEncoder.h"

#include <cstdint>
#include <cstring>

#include <pyro/file/LzssDecoder.h>

namespace {

constexpr size_t kRing = CLzssDecoder::kRingSize;
constexpr size_t kMaxMatch = CLzssDecoder::kMaxMatch;
constexpr size_t kMinMatch = CLzssDecoder::kMinMatch;
// The input sits after kRing zero bytes; only the last kMaxMatch of them can start a reference
// that differs from a plain run of zeros.
constexpr size_t kPrefix = kRing;
constexpr size_t kHashBits = 15;
constexpr size_t kChainWindow = 2 * kRing;  // power of two, larger than the reference distance
constexpr int kChainLimit = 256;

class CMatcher {
public:
    explicit CMatcher(const std::vector<unsigned char>& buffer)
        : buffer_(buffer), head_(size_t(1) << kHashBits, -1), previous_(kChainWindow, -1)
    {
    }

    void InsertUpTo(size_t end)
    {
        for (; inserted_ < end; ++inserted_) {
            if (inserted_ + kMinMatch > buffer_.size()) continue;
            const size_t hash = Hash(inserted_);
            previous_[inserted_ & (kChainWindow - 1)] = head_[hash];
            head_[hash] = static_cast<int64_t>(inserted_);
        }
    }

    // The longest earlier match for the bytes at position (length 0 when under kMinMatch).
    size_t Find(size_t position, size_t& source) const
    {
        const size_t limit = buffer_.size() - position < kMaxMatch ? buffer_.size() - position : kMaxMatch;
        if (limit < kMinMatch) return 0;
        size_t best = 0;
        int chain = kChainLimit;
        for (int64_t candidate = head_[Hash(position)]; candidate >= 0 && chain-- > 0;
             candidate = previous_[size_t(candidate) & (kChainWindow - 1)]) {
            const size_t c = static_cast<size_t>(candidate);
            if (c >= position) continue;
            if (position - c > kRing) break;
            size_t length = 0;
            while (length < limit && buffer_[c + length] == buffer_[position + length]) ++length;
            if (length > best) {
                best = length;
                source = c;
                if (best == limit) break;
            }
        }
        return best >= kMinMatch ? best : 0;
    }

private:
    size_t Hash(size_t p) const
    {
        const uint32_t v = (uint32_t(buffer_[p]) << 16) | (uint32_t(buffer_[p + 1]) << 8) | buffer_[p + 2];
        return (v * 2654435761u) >> (32 - kHashBits);
    }

    const std::vector<unsigned char>& buffer_;
    std::vector<int64_t> head_;
    std::vector<int64_t> previous_;
    size_t inserted_ = kPrefix - kMaxMatch;
};

class CStreamWriter {
public:
    explicit CStreamWriter(std::vector<unsigned char>& out) : out_(out) {}

    void Literal(unsigned char byte)
    {
        Item(true);
        out_.push_back(byte);
    }

    // source is a position in the zero-prefixed buffer; the ring slot holding it is what the
    // decoder is told.
    void Reference(size_t source, size_t length)
    {
        Item(false);
        const size_t slot = (source + CLzssDecoder::kStartPosition - kPrefix) & (kRing - 1);
        out_.push_back(static_cast<unsigned char>(slot & 0xFF));
        out_.push_back(static_cast<unsigned char>(((slot >> 4) & 0xF0) | (length - kMinMatch)));
    }

private:
    void Item(bool literal)
    {
        if (bit_ == 8) {
            flagIndex_ = out_.size();
            out_.push_back(0);
            bit_ = 0;
        }
        if (literal) out_[flagIndex_] |= static_cast<unsigned char>(1u << bit_);
        ++bit_;
    }

    std::vector<unsigned char>& out_;
    size_t flagIndex_ = 0;
    int bit_ = 8;
};

}  // namespace

std::vector<unsigned char> CLzssEncoder::Encode(const unsigned char* data, size_t size)
{
    std::vector<unsigned char> out;
    if (size == 0) return out;
    std::vector<unsigned char> buffer(kPrefix + size, 0);
    std::memcpy(buffer.data() + kPrefix, data, size);

    CMatcher matcher(buffer);
    CStreamWriter writer(out);
    size_t position = kPrefix;
    while (position < buffer.size()) {
        matcher.InsertUpTo(position);
        size_t source = 0;
        const size_t length = matcher.Find(position, source);
        if (length > 0 && length < kMaxMatch) {
            // A longer match one byte later is worth a literal now.
            matcher.InsertUpTo(position + 1);
            size_t laterSource = 0;
            if (matcher.Find(position + 1, laterSource) > length) {
                writer.Literal(buffer[position]);
                ++position;
                continue;
            }
        }
        if (length > 0) {
            writer.Reference(source, length);
            position += length;
        } else {
            writer.Literal(buffer[position]);
            ++position;
        }
    }
    return out;
}

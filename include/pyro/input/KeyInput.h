// CKeyInput: the key state shared by every input device that reports keys. Two buffers of 256
// key bytes, the newest poll and the one before, so that a key can be asked whether it is held
// and whether it was pressed since the previous poll. Portable: no platform calls.
#pragma once

#include <cstdint>

// The two buffers and the flip between them; CKeyInput and IJoyStick both keep their state in it.
class CKeyBuffers {
public:
    static constexpr int kKeyCount = 256;  // keys per buffer

    CKeyBuffers() { ClearBuffers(); }  // both buffers zero

    // Makes the older buffer the current one; the caller then fills it.
    void Flip() { index_ = 1 - index_; }
    // The newest buffer.
    uint8_t* Current() { return buffers_[index_]; }
    const uint8_t* Current() const { return buffers_[index_]; }  // the same, read-only
    // The buffer of the poll before.
    const uint8_t* Previous() const { return buffers_[1 - index_]; }
    // Which of the two buffers is current.
    int32_t GetIndex() const { return index_; }
    // Index back to 0 and both buffers zero, as after construction.
    void ClearBuffers();
    // Zeroes the current buffer.
    void ClearCurrent();

    // Keys outside 0 to 255 are never down: a caller's stray number must not read past the buffers.
    static bool IsKey(int32_t key) { return key >= 0 && key < kKeyCount; }
    // The state tests of the devices: any non-zero byte, or a mask (the keyboard tests bit 7).
    bool IsSet(int32_t key, uint8_t mask = 0xFF) const { return IsKey(key) && (Current()[key] & mask) != 0; }
    // Set in the current buffer and not in the previous one.
    bool IsNewlySet(int32_t key, uint8_t mask = 0xFF) const
    {
        return IsSet(key, mask) && (Previous()[key] & mask) == 0;
    }

private:
    int32_t index_ = 0;
    uint8_t buffers_[2][kKeyCount];
};

// CKeyInput: an input device that reports keys, polled once per frame.
class CKeyInput {
public:
    virtual ~CKeyInput() = default;  // the device
    // Flips the buffers, then fills the new current one from the device. 0 on success; a device
    // without a working connection returns non-zero, in which case it need not have flipped.
    virtual int GetKeyState() = 0;
    // Held in the newest poll.
    virtual bool IsDown(int32_t key) const { return keys_.IsSet(key); }
    // Held in the newest poll and not in the one before.
    virtual bool IsTriggered(int32_t key) const { return keys_.IsNewlySet(key); }
    // The 256 bytes of the newest poll.
    virtual const uint8_t* GetKeyBuffer() const { return keys_.Current(); }

protected:
    // The device's two key buffers.
    CKeyBuffers keys_;
};

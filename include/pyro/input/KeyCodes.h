// The keyboard's scan codes by name: the indices of the keyboard's key buffer and of the key
// mapper's keyTable (DirectInput's keyboard codes; an extended key, one the keyboard sends with
// the E0 prefix, has bit 7 set). keys.keyTable[kKeyP] = 10 binds P to logical key 10.
// GetKeyName gives the name the keyboard layout shows for a code, for a rebinding screen.
#pragma once

#include <cstdint>
#include <string>

enum : int32_t {
    kKeyEscape = 0x01,
    kKey1 = 0x02, kKey2 = 0x03, kKey3 = 0x04, kKey4 = 0x05, kKey5 = 0x06,
    kKey6 = 0x07, kKey7 = 0x08, kKey8 = 0x09, kKey9 = 0x0A, kKey0 = 0x0B,
    kKeyMinus = 0x0C,
    kKeyEquals = 0x0D,  // ^ on a Japanese keyboard
    kKeyBackspace = 0x0E,
    kKeyTab = 0x0F,
    kKeyQ = 0x10, kKeyW = 0x11, kKeyE = 0x12, kKeyR = 0x13, kKeyT = 0x14,
    kKeyY = 0x15, kKeyU = 0x16, kKeyI = 0x17, kKeyO = 0x18, kKeyP = 0x19,
    kKeyLeftBracket = 0x1A,
    kKeyRightBracket = 0x1B,
    kKeyEnter = 0x1C,
    kKeyLeftCtrl = 0x1D,
    kKeyA = 0x1E, kKeyS = 0x1F, kKeyD = 0x20, kKeyF = 0x21, kKeyG = 0x22,
    kKeyH = 0x23, kKeyJ = 0x24, kKeyK = 0x25, kKeyL = 0x26,
    kKeySemicolon = 0x27,
    kKeyApostrophe = 0x28,
    kKeyGrave = 0x29,
    kKeyLeftShift = 0x2A,
    kKeyBackslash = 0x2B,
    kKeyZ = 0x2C, kKeyX = 0x2D, kKeyC = 0x2E, kKeyV = 0x2F, kKeyB = 0x30,
    kKeyN = 0x31, kKeyM = 0x32,
    kKeyComma = 0x33,
    kKeyPeriod = 0x34,
    kKeySlash = 0x35,
    kKeyRightShift = 0x36,
    kKeyPadMultiply = 0x37,
    kKeyLeftAlt = 0x38,
    kKeySpace = 0x39,
    kKeyCapsLock = 0x3A,
    kKeyF1 = 0x3B, kKeyF2 = 0x3C, kKeyF3 = 0x3D, kKeyF4 = 0x3E, kKeyF5 = 0x3F,
    kKeyF6 = 0x40, kKeyF7 = 0x41, kKeyF8 = 0x42, kKeyF9 = 0x43, kKeyF10 = 0x44,
    kKeyNumLock = 0x45,
    kKeyScrollLock = 0x46,
    kKeyPad7 = 0x47, kKeyPad8 = 0x48, kKeyPad9 = 0x49,
    kKeyPadMinus = 0x4A,
    kKeyPad4 = 0x4B, kKeyPad5 = 0x4C, kKeyPad6 = 0x4D,
    kKeyPadPlus = 0x4E,
    kKeyPad1 = 0x4F, kKeyPad2 = 0x50, kKeyPad3 = 0x51, kKeyPad0 = 0x52,
    kKeyPadPeriod = 0x53,
    kKeyF11 = 0x57, kKeyF12 = 0x58,
    // The keys of a Japanese keyboard.
    kKeyKana = 0x70,          // カタカナ/ひらがな
    kKeyConvert = 0x79,       // 変換
    kKeyNoConvert = 0x7B,     // 無変換
    kKeyYen = 0x7D,           // ¥
    // Extended keys.
    kKeyPadEnter = 0x9C,
    kKeyRightCtrl = 0x9D,
    kKeyPadDivide = 0xB5,
    kKeyRightAlt = 0xB8,
    kKeyPause = 0xC5,
    kKeyHome = 0xC7,
    kKeyUp = 0xC8,
    kKeyPageUp = 0xC9,
    kKeyLeft = 0xCB,
    kKeyRight = 0xCD,
    kKeyEnd = 0xCF,
    kKeyDown = 0xD0,
    kKeyPageDown = 0xD1,
    kKeyInsert = 0xD2,
    kKeyDelete = 0xD3,
    kKeyLeftWindows = 0xDB,
    kKeyRightWindows = 0xDC,
    kKeyApps = 0xDD,  // the menu key
};

// The lParam of a key message that GetKeyNameTextW takes for a scan code: the code's low seven
// bits as the scan code (bits 16 to 23) and bit 7 as the extended flag (bit 24). 0 for a code
// outside 1 to 255.
constexpr uint32_t KeyNameParam(int32_t scanCode)
{
    return scanCode <= 0 || scanCode > 0xFF
               ? 0
               : (uint32_t(scanCode & 0x7F) << 16) | ((scanCode & 0x80) ? 1u << 24 : 0u);
}

// The name the keyboard layout gives the key (GetKeyNameTextW), in the program's encoding
// (Shift-JIS): "A", "Esc", "Space", "Num 8" and so on, as the system spells them. Empty for a code
// the layout does not name, and on a build without the system.
std::string GetKeyName(int32_t scanCode);

// keys.h - key codes and the key and button state of input messages.
//
// A printable key is its character (letters in upper case, digits, '+', '-',
// '*', ...); the other keys have codes from 0x1000 on, out of the character range.
#pragma once

namespace platform {

namespace key {
inline constexpr int Unknown = 0;
inline constexpr int Space = ' ';
inline constexpr int Tab = 0x1000;
inline constexpr int Return = 0x1001;
inline constexpr int Escape = 0x1002;
inline constexpr int BackSpace = 0x1003;
inline constexpr int Insert = 0x1004;
inline constexpr int Delete = 0x1005;
inline constexpr int Home = 0x1006;
inline constexpr int End = 0x1007;
inline constexpr int PageUp = 0x1008;
inline constexpr int PageDown = 0x1009;
inline constexpr int Left = 0x100a;
inline constexpr int Right = 0x100b;
inline constexpr int Up = 0x100c;
inline constexpr int Down = 0x100d;
inline constexpr int Shift = 0x1010;
inline constexpr int Control = 0x1011;
inline constexpr int Alt = 0x1012;
// F1 is F(1), up to F(24).
constexpr int F(int n) {
    return 0x1100 + n;
}
} // namespace key

// Flags of the key and button state carried by input messages.
enum InputState : unsigned {
    kShiftHeld = 1u << 0,
    kControlHeld = 1u << 1,
    kAltHeld = 1u << 2,
    kLeftButtonHeld = 1u << 3,
    kRightButtonHeld = 1u << 4,
    kMiddleButtonHeld = 1u << 5,
    kExtraButton1Held = 1u << 6,
    kExtraButton2Held = 1u << 7,
};

} // namespace platform

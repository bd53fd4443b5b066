// The keyboard and mouse as the game polls them once per frame, with Windows
// virtual-key codes: 1 left button, 2 right button, 27 Esc, 32 space, 37..40
// arrows, 44 PrintScreen, 48..57 digits, 65..90 letters, 112..123 F1..F12.
// The SDL window or the driver mode's scripted input fills it; the engine
// reads it without knowing which.
#pragma once

#include <cstdint>

// The virtual-key codes the engine reads itself; scripts may bind any code.
enum : int {
  kVkLeftButton = 1,
  kVkRightButton = 2,
  kVkMiddleButton = 4,
  kVkTab = 9,
  kVkEscape = 27,
  kVkSpace = 32,
  kVkLeft = 37,
  kVkUp = 38,
  kVkRight = 39,
  kVkDown = 40,
  kVkPrintScreen = 44,
  kVkF1 = 112,
  kVkF2 = 113,
  kVkF3 = 114,
  kVkF5 = 116,
};

struct TInputState {
  bool Down[256] = {};
  // Set when a key goes down, cleared when the key is read: a press that
  // came and went between two reads is still seen once.
  bool PressedSinceRead[256] = {};
  // Keys that were held when a video ended: they read as up until released.
  bool Swallowed[256] = {};
  int32_t CursorX = 0;  // game pixels, 0..799
  int32_t CursorY = 0;  // game pixels, 0..599

  void SetKey(int vk, bool down) {
    if (vk < 0 || vk > 255) return;
    if (down && !Down[vk]) PressedSinceRead[vk] = true;
    if (!down) Swallowed[vk] = false;
    Down[vk] = down;
  }
};

// Non-zero while the key is down or when it was pressed since the last read of
// it; the read clears the latch. Codes outside 0..255 read as up.
inline int16_t GetAsyncKeyState(TInputState& input, int vk) {
  if (vk < 0 || vk > 255) return 0;
  if (input.Swallowed[vk]) {
    input.PressedSinceRead[vk] = false;
    return 0;
  }
  int16_t r = 0;
  if (input.Down[vk]) r = static_cast<int16_t>(0x8000);
  if (input.PressedSinceRead[vk]) r |= 1;
  input.PressedSinceRead[vk] = false;
  return r;
}

// Forgets every press, and makes the keys held now read as up until they have
// been released and pressed again.
inline void SwallowKeys(TInputState& input) {
  for (int vk = 0; vk < 256; ++vk) {
    input.PressedSinceRead[vk] = false;
    input.Swallowed[vk] = input.Down[vk];
  }
}

inline void GetCursorPos(const TInputState& input, int32_t& x, int32_t& y) {
  x = input.CursorX;
  y = input.CursorY;
}

// Screen text drawn glyph by glyph from a 16x16-cell bitmap font.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/nodes.h"

class THUDString : public THUDSprite {
 public:
  THUDString() { SetSize(16, 32); }

  void SetText(const std::string& text) { Text = text; }
  const std::string& GetText() const { return Text; }

  std::string Text;       // cp1251; character 13 separates lines
  uint8_t Alignment = 0;  // 0 left, 1 centred, 2 right
};

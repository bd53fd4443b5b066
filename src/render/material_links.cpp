#include "render/material_links.h"

#include <vector>

#include "platform/game_error.h"
#include "render/materials.h"

bool HasTexture2Cycle(const TGLMaterialLibrary& library, int index) {
  if (index < 0 || index >= library.Count()) return false;
  std::vector<bool> seen(static_cast<size_t>(library.Count()), false);
  for (int i = index; i >= 0;) {
    if (seen[static_cast<size_t>(i)]) return true;
    seen[static_cast<size_t>(i)] = true;
    const std::string& next = library.At(i).Texture2Name;
    i = next.empty() ? -1 : library.IndexOf(next);
  }
  return false;
}

void SetTexture2Name(TGLMaterialLibrary& library, int index, const std::string& name) {
  if (index < 0 || index >= library.Count()) return;
  TGLLibMaterial& material = library.At(index);
  std::string old = std::move(material.Texture2Name);
  material.Texture2Name = name;
  if (HasTexture2Cycle(library, index)) {
    material.Texture2Name = std::move(old);
    throw EGameError("Error: Cyclic material reference detected!");
  }
}

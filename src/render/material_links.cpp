#include "render/material_links.h"

#include <algorithm>
#include <numeric>
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

std::vector<int> SetTexture2Names(TGLMaterialLibrary& library, const std::vector<std::string>& names) {
  const int count = std::min(library.Count(), static_cast<int>(names.size()));
  // The links set so far form trees whose roots have no link to follow; the
  // material being linked is such a root, so its link closes a circle exactly
  // when its target's root is the material itself. Path halving keeps the
  // root walks short even along one long chain.
  std::vector<int> next(static_cast<size_t>(count));
  std::iota(next.begin(), next.end(), 0);
  auto root = [&next](int i) {
    while (next[static_cast<size_t>(i)] != i) {
      next[static_cast<size_t>(i)] = next[static_cast<size_t>(next[static_cast<size_t>(i)])];
      i = next[static_cast<size_t>(i)];
    }
    return i;
  };
  std::vector<int> dropped;
  for (int i = 0; i < count; ++i) {
    const std::string& name = names[static_cast<size_t>(i)];
    const int target = name.empty() ? -1 : library.IndexOf(name);
    const bool linked = target >= 0 && target < count;
    if (linked && root(target) == i) {
      dropped.push_back(i);
      continue;
    }
    library.At(i).Texture2Name = name;
    if (linked) next[static_cast<size_t>(i)] = target;
  }
  return dropped;
}

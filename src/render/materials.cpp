#include "render/materials.h"

#include "render/nodes.h"

TGLMaterialLibrary::~TGLMaterialLibrary() {
  for (THUDSprite* s : users_) s->DetachMaterial();
}

int TGLMaterialLibrary::Add(TGLLibMaterial material) {
  const int index = Count();
  index_.emplace(material.Name, index);  // keeps the first of equal names
  materials_.push_back(std::move(material));
  ++generation_;
  return index;
}

int TGLMaterialLibrary::IndexOf(const std::string& name) const {
  auto it = index_.find(name);
  return it == index_.end() ? -1 : it->second;
}

TGLLibMaterial* TGLMaterialLibrary::Find(const std::string& name) {
  int i = IndexOf(name);
  return i < 0 ? nullptr : &materials_[static_cast<size_t>(i)];
}

void TGLMaterialLibrary::Clear() {
  for (auto& m : materials_)
    if (m.GLTexture) ReleasedTextures.push_back(m.GLTexture);
  materials_.clear();
  index_.clear();
  auto users = std::move(users_);
  users_.clear();
  for (THUDSprite* s : users) s->DetachMaterial();
  ++generation_;
}

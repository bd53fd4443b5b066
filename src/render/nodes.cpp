#include "render/nodes.h"

#include <algorithm>

#include "render/materials.h"

TGLNode::~TGLNode() = default;

void TGLNode::RemoveChild(TGLNode* child) {
  auto it = std::find_if(children_.begin(), children_.end(), [&](auto& c) { return c.get() == child; });
  if (it != children_.end()) children_.erase(it);
}

void TGLNode::RemoveChildren(std::span<TGLNode* const> doomed) {
  if (doomed.empty()) return;
  std::vector<TGLNode*> sorted(doomed.begin(), doomed.end());
  std::sort(sorted.begin(), sorted.end());
  std::erase_if(children_, [&](const auto& c) { return std::binary_search(sorted.begin(), sorted.end(), c.get()); });
}

void TGLNode::ExchangeWithPrevious(int index) {
  if (index <= 0 || index >= Count()) return;
  std::swap(children_[static_cast<size_t>(index)], children_[static_cast<size_t>(index) - 1]);
}

int TGLNode::IndexOf(const TGLNode* child) const {
  for (size_t i = 0; i < children_.size(); ++i)
    if (children_[i].get() == child) return static_cast<int>(i);
  return -1;
}

THUDSprite::~THUDSprite() {
  if (library_) library_->Unregister(this);
}

void THUDSprite::SetMaterialLibrary(TGLMaterialLibrary* library) {
  if (library_ != library) {
    if (library_) library_->Unregister(this);
    library_ = library;
    if (library_) library_->Register(this);
  }
  Lookup();
}

void THUDSprite::SetLibMaterialName(const std::string& name) {
  materialName_ = name;
  Lookup();
}

void THUDSprite::SetMaterial(TGLMaterialLibrary* library, const std::string& name) {
  materialName_ = name;
  SetMaterialLibrary(library);
}

void THUDSprite::DetachMaterial() {
  library_ = nullptr;
  materialName_.clear();
  materialIndex_ = -1;
}

void THUDSprite::Lookup() {
  materialIndex_ = library_ ? library_->IndexOf(materialName_) : -1;
  generation_ = library_ ? library_->Generation() : 0;
}

TGLLibMaterial* THUDSprite::ResolvedMaterial() {
  if (!library_ || materialIndex_ < 0) return nullptr;
  if (generation_ != library_->Generation()) {
    generation_ = library_->Generation();
    if (materialIndex_ >= library_->Count() || library_->At(materialIndex_).Name != materialName_) materialIndex_ = -1;
    if (materialIndex_ < 0) return nullptr;
  }
  return &library_->At(materialIndex_);
}

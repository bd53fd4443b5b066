// The scene tree the game builds once and then only changes: grouping nodes,
// screen-space sprites and text. Plain objects with no OpenGL in them; the GL
// renderer walks the tree each frame. Coordinates are game pixels of the
// 800x600 viewport, y downwards.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class TGLMaterialLibrary;
struct TGLLibMaterial;

// What a node draws; the renderer dispatches on it instead of casting.
enum class TNodeKind : uint8_t { Group, Sprite, Text };

class TGLNode {
 public:
  virtual ~TGLNode();
  virtual TNodeKind Kind() const { return TNodeKind::Group; }

  // Appends a new child of type T and returns it; the parent owns it.
  template <typename T>
  T* AddNewChild() {
    auto child = std::make_unique<T>();
    T* raw = child.get();
    raw->parent_ = this;
    children_.push_back(std::move(child));
    return raw;
  }
  // Frees a child (and its subtree); other children keep their order.
  void RemoveChild(TGLNode* child);
  // Frees every child found in `doomed` in one pass; pointers that are not
  // children are ignored.
  void RemoveChildren(std::span<TGLNode* const> doomed);
  // Orders the children by `less` (a strict weak order on child nodes),
  // keeping equal children in their order.
  template <class Less>
  void StableSortChildren(Less less) {
    std::stable_sort(children_.begin(), children_.end(),
                     [&](const std::unique_ptr<TGLNode>& a, const std::unique_ptr<TGLNode>& b) {
                       return less(a.get(), b.get());
                     });
  }
  // Exchanges the child at `index` with the one before it.
  void ExchangeWithPrevious(int index);
  int Count() const { return static_cast<int>(children_.size()); }
  TGLNode* Child(int index) const { return children_[static_cast<size_t>(index)].get(); }
  TGLNode* Parent() const { return parent_; }
  // The child's index in this node, -1 when it is not a child.
  int IndexOf(const TGLNode* child) const;

  bool Visible = true;
  int32_t Tag = 0;

 private:
  TGLNode* parent_ = nullptr;
  std::vector<std::unique_ptr<TGLNode>> children_;
};

// An invisible grouping node.
class TDummyCube : public TGLNode {};

// The viewer's camera: a child of the root that is never moved. Sprites are
// placed in viewport pixels and do not depend on it.
class TGLCamera : public TGLNode {};

// A textured rectangle centred on its position.
class THUDSprite : public TGLNode {
 public:
  ~THUDSprite() override;
  TNodeKind Kind() const override { return TNodeKind::Sprite; }
  float PositionX = 0;
  float PositionY = 0;
  float Width = 16;
  float Height = 16;
  float Rotation = 0;  // degrees, positive turns counter-clockwise on screen

  TGLMaterialLibrary* MaterialLibrary() const { return library_; }
  const std::string& LibMaterialName() const { return materialName_; }
  // Each setter looks the name up again; -1 when the library has no such
  // material (the sprite then draws untextured).
  void SetMaterialLibrary(TGLMaterialLibrary* library);
  void SetLibMaterialName(const std::string& name);
  void SetMaterial(TGLMaterialLibrary* library, const std::string& name);
  int MaterialIndex() const { return materialIndex_; }
  // The material to draw with, or null. The index found by the last lookup is
  // kept; when the library's generation moved on it is only re-checked (still
  // in range, same name), never searched for again, so a name that was
  // missing when set stays missing until the game sets it again.
  TGLLibMaterial* ResolvedMaterial();
  // Called by a library that removes its materials: the sprite forgets both.
  void DetachMaterial();
  void SetSize(float w, float h) {
    Width = w;
    Height = h;
  }

 private:
  void Lookup();

  TGLMaterialLibrary* library_ = nullptr;
  std::string materialName_;
  int materialIndex_ = -1;
  uint32_t generation_ = 0;
};

// The scene: owns the root of the tree.
class TGLScene {
 public:
  TDummyCube& Root() { return root_; }

 private:
  TDummyCube root_;
};

// Library materials: named pictures with the colour, blending and texture
// settings they are drawn with. GL-free; the GL renderer makes each
// material's texture from its picture on first use and keeps it.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "render/bitmap.h"

class THUDSprite;

enum TBlendingMode : uint8_t { bmOpaque, bmTransparency, bmAdditive, bmMultiply };
enum TTextureMode : uint8_t { tmDecal, tmModulate, tmBlend, tmReplace };
enum TImageAlpha : uint8_t {
  tiaDefault,
  tiaAlphaFromIntensity,
  tiaSuperBlackTransparent,
  tiaLuminance,
  tiaLuminanceSqrt,
  tiaOpaque,
  tiaTopLeftPointColorTransparent,
  tiaHEdgeTransparent,
};
enum TTextureFormat : uint8_t { tfRGB, tfRGBA };
enum TMinFilter : uint8_t { miLinearMipmapLinear, miNearest };
enum TMagFilter : uint8_t { maLinear, maNearest };

struct TGLLibMaterial {
  std::string Name;
  float Diffuse[4] = {1, 1, 1, 1};  // red, green, blue, alpha, 0..1
  TBlendingMode BlendingMode = bmOpaque;
  TTextureMode TextureMode = tmModulate;
  TImageAlpha ImageAlpha = tiaDefault;
  TTextureFormat TextureFormat = tfRGBA;
  TMinFilter MinFilter = miLinearMipmapLinear;
  TMagFilter MagFilter = maLinear;
  bool TextureDisabled = false;
  float TextureOffset[2] = {0, 0};
  float TextureScale[2] = {1, 1};
  std::string Texture2Name;
  TBitmap Image;  // the picture the texture is made from

  // Renderer bookkeeping: the GL texture name (0 until made) and whether the
  // picture changed since.
  uint32_t GLTexture = 0;
  bool TextureDirty = true;
};

class TGLMaterialLibrary {
 public:
  TGLMaterialLibrary() = default;
  ~TGLMaterialLibrary();
  TGLMaterialLibrary(const TGLMaterialLibrary&) = delete;
  TGLMaterialLibrary& operator=(const TGLMaterialLibrary&) = delete;

  // Appends a material and returns its index.
  int Add(TGLLibMaterial material);
  int Count() const { return static_cast<int>(materials_.size()); }
  TGLLibMaterial& At(int index) { return materials_[static_cast<size_t>(index)]; }
  const TGLLibMaterial& At(int index) const { return materials_[static_cast<size_t>(index)]; }
  // The first material with exactly this name; -1 when none.
  int IndexOf(const std::string& name) const;
  TGLLibMaterial* Find(const std::string& name);
  // Removes every material; sprites that used this library are detached.
  // GL textures of the removed materials are handed to `ReleasedTextures`
  // for the renderer to delete.
  void Clear();

  std::vector<uint32_t> ReleasedTextures;
  // Bumped whenever materials are added or removed, so a renderer can tell
  // that cached indices are stale.
  uint32_t Generation() const { return generation_; }

  // Sprites register while they use the library, so that Clear can detach them.
  void Register(THUDSprite* sprite) { users_.insert(sprite); }
  void Unregister(THUDSprite* sprite) { users_.erase(sprite); }

 private:
  std::vector<TGLLibMaterial> materials_;
  std::unordered_map<std::string, int> index_;
  std::unordered_set<THUDSprite*> users_;
  uint32_t generation_ = 0;
};

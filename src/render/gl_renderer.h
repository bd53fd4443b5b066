// Draws the scene tree through OpenGL 1.x fixed function: every sprite one
// textured quad, every glyph of a text one quad, in tree order with no depth
// test, so later nodes lie on top. All placement is in game pixels of the
// 800x600 picture; the viewport rectangle maps that picture into the window
// with its aspect kept, and the bars around it stay black.
//
// Facts a newcomer needs:
// - A material's texture is made from its picture the first time something
//   draws with it, then kept in TGLLibMaterial::GLTexture until the picture is
//   marked dirty or the library is cleared (whose texture names the renderer
//   deletes the next time it meets that library, or in ReleaseTextures).
// - GL state is cached for the frame: consecutive sprites with the same
//   material share one glBegin/glEnd and no texture, blend or environment call
//   is repeated. Anything else that touches GL between frames is fine, since
//   each frame starts by setting the whole state afresh.
// - Screenshots never read the window: Snapshot draws the scene once more into
//   an offscreen 800x600 target and reads that back, whatever the window size.
#pragma once

#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "platform/window.h"
#include "render/bitmap.h"
#include "render/hud_string.h"
#include "render/materials.h"
#include "render/nodes.h"

// A rectangle (Radius 0: centre X, Y and size W, H) or a circle (centre
// X, Y, Radius) outlined in a colour, in game pixels.
struct TOutline {
  float X = 0, Y = 0, W = 0, H = 0, Radius = 0;
  float R = 1, G = 1, B = 1, A = 1;
};

class TGLRenderer {
 public:
  // Needs the GL context current; reads the context's abilities once.
  TGLRenderer();
  ~TGLRenderer();
  TGLRenderer(const TGLRenderer&) = delete;
  TGLRenderer& operator=(const TGLRenderer&) = delete;

  // Clears the whole drawable to black and draws the scene into `viewport`
  // (top-left origin, as the window reports it).
  void Render(TGLScene& scene, const TViewportRect& viewport, int32_t drawableWidth, int32_t drawableHeight);
  // The scene as an exact 800x600 picture, top row first, alpha 255. Renders
  // offscreen; without framebuffer objects it falls back to the window's back
  // buffer, which then must be at least 800x600 (else the result is empty).
  TBitmap Snapshot(TGLScene& scene);
  // Lines over the picture just rendered by Render, in game pixels: the
  // window only, so screenshots never hold them.
  void DrawOutlines(std::span<const TOutline> outlines, const TViewportRect& viewport);
  bool HasOffscreenTarget() const { return fboSupported_; }
  // The context's largest texture side; larger pictures are shrunk to it.
  int32_t MaxTextureSize() const { return maxTextureSize_; }

  // Deletes the textures a cleared library handed over.
  void ReleaseTextures(TGLMaterialLibrary& library);
  // Deletes every texture of the library's materials (before the library
  // itself goes away) and forgets them.
  void DropLibraryTextures(TGLMaterialLibrary& library);

  // Counts of the last frame, to check that redundant state changes are skipped.
  struct TFrameStats {
    int32_t Quads = 0;
    int32_t TextureBinds = 0;
    int32_t BlendChanges = 0;
    int32_t EnvChanges = 0;
    int32_t Batches = 0;  // glBegin/glEnd pairs
    int32_t Uploads = 0;
  };
  const TFrameStats& LastFrame() const { return stats_; }

 private:
  struct TTexCoordMap {
    float ScaleS = 1, ScaleT = 1, OffsetS = 0, OffsetT = 0;
  };

  void DrawScene(TGLScene& scene, int32_t x, int32_t y, int32_t w, int32_t h);
  void ResetState();
  void DrawNode(TGLNode& node);
  void DrawSprite(THUDSprite& sprite);
  void DrawText(THUDString& text);
  // Makes the material current; null draws untextured in the default colour.
  void ApplyMaterial(TGLMaterialLibrary* library, TGLLibMaterial* material);
  uint32_t TextureOf(TGLLibMaterial& material);
  void Upload(TGLLibMaterial& material);
  void BindUnit(int unit, uint32_t texture);
  void SetBlend(int mode);
  void SetEnv(int mode);
  void Begin();
  void End();
  void Vertex(float x, float y, float s, float t);
  void EnsureOffscreen();

  // Abilities of the context.
  bool multitexture_ = false;
  bool npot_ = false;
  bool generateMipmap_ = false;
  bool fboSupported_ = false;
  bool fboCore_ = false;
  int32_t maxTextureSize_ = 1024;

  // State cache, valid within a frame.
  const TGLLibMaterial* current_ = nullptr;
  bool haveCurrent_ = false;
  uint32_t bound_[2] = {0, 0};
  bool enabled_[2] = {false, false};
  int blend_ = -1;
  int env_ = -1;
  bool inBatch_ = false;
  float color_[4] = {1, 1, 1, 1};
  TTexCoordMap map0_, map1_;
  bool useUnit1_ = false;

  std::unordered_map<uint32_t, uint8_t> filters_;  // texture -> filters it was made with
  std::vector<TGlyphQuad> glyphs_;
  TFrameStats stats_;

  uint32_t fbo_ = 0, colorBuffer_ = 0;
  bool fboFailed_ = false;
  int32_t drawableWidth_ = 0, drawableHeight_ = 0;
};

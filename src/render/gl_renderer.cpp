#include "render/gl_renderer.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/angles.h"
#include "render/texture_image.h"

namespace {

constexpr float kDefaultColor[4] = {1, 1, 1, 1};  // untextured sprites without a material

bool HasExtension(const char* extensions, const char* name) {
  if (!extensions) return false;
  const size_t len = std::strlen(name);
  for (const char* p = extensions; (p = std::strstr(p, name)) != nullptr; p += len) {
    const bool startOk = p == extensions || p[-1] == ' ';
    const bool endOk = p[len] == ' ' || p[len] == '\0';
    if (startOk && endOk) return true;
  }
  return false;
}

GLenum EnvOf(TTextureMode mode) {
  switch (mode) {
    case tmDecal: return GL_DECAL;
    case tmBlend: return GL_BLEND;
    case tmReplace: return GL_REPLACE;
    default: return GL_MODULATE;
  }
}

// A sprite blended by an alpha that is 0 leaves the picture as it was: its
// colour's alpha is 0 and every texture mode but replace multiplies the
// texture's alpha by it. Software rasterisers pay for each pixel such a
// sprite covers all the same, and a faded-out night sky is several screens
// of them.
bool DrawsNothing(const TGLLibMaterial* m) {
  if (!m || m->Diffuse[3] > 0) return false;
  if (m->BlendingMode != bmTransparency && m->BlendingMode != bmAdditive) return false;
  return m->TextureDisabled || m->TextureMode != tmReplace;
}

uint32_t NextPowerOfTwo(uint32_t v) {
  uint32_t p = 1;
  while (p < v) p <<= 1;
  return p;
}

// Nearest-neighbour resize of an RGBA picture, for contexts that cannot take
// its size as it is.
void Resize(TTextureImage& img, int32_t w, int32_t h) {
  std::vector<uint8_t> out(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
  for (int32_t y = 0; y < h; ++y) {
    const int32_t sy = static_cast<int32_t>(static_cast<int64_t>(y) * img.Height / h);
    for (int32_t x = 0; x < w; ++x) {
      const int32_t sx = static_cast<int32_t>(static_cast<int64_t>(x) * img.Width / w);
      std::memcpy(&out[(static_cast<size_t>(y) * w + x) * 4],
                  &img.Pixels[(static_cast<size_t>(sy) * img.Width + sx) * 4], 4);
    }
  }
  img.Width = w;
  img.Height = h;
  img.Pixels = std::move(out);
}

uint8_t FilterKey(const TGLLibMaterial& m) { return static_cast<uint8_t>(m.MinFilter * 2 + m.MagFilter); }

// The GL library exports core entry points only; the older extension form of
// framebuffer objects is looked up at run time.
struct TFboExt {
  PFNGLGENFRAMEBUFFERSEXTPROC GenFramebuffers = nullptr;
  PFNGLDELETEFRAMEBUFFERSEXTPROC DeleteFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFEREXTPROC BindFramebuffer = nullptr;
  PFNGLGENRENDERBUFFERSEXTPROC GenRenderbuffers = nullptr;
  PFNGLDELETERENDERBUFFERSEXTPROC DeleteRenderbuffers = nullptr;
  PFNGLBINDRENDERBUFFEREXTPROC BindRenderbuffer = nullptr;
  PFNGLRENDERBUFFERSTORAGEEXTPROC RenderbufferStorage = nullptr;
  PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC FramebufferRenderbuffer = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC CheckFramebufferStatus = nullptr;

  bool Load() {
    auto get = [](const char* name) { return GLProcAddress(name); };
    GenFramebuffers = reinterpret_cast<PFNGLGENFRAMEBUFFERSEXTPROC>(get("glGenFramebuffersEXT"));
    DeleteFramebuffers = reinterpret_cast<PFNGLDELETEFRAMEBUFFERSEXTPROC>(get("glDeleteFramebuffersEXT"));
    BindFramebuffer = reinterpret_cast<PFNGLBINDFRAMEBUFFEREXTPROC>(get("glBindFramebufferEXT"));
    GenRenderbuffers = reinterpret_cast<PFNGLGENRENDERBUFFERSEXTPROC>(get("glGenRenderbuffersEXT"));
    DeleteRenderbuffers = reinterpret_cast<PFNGLDELETERENDERBUFFERSEXTPROC>(get("glDeleteRenderbuffersEXT"));
    BindRenderbuffer = reinterpret_cast<PFNGLBINDRENDERBUFFEREXTPROC>(get("glBindRenderbufferEXT"));
    RenderbufferStorage = reinterpret_cast<PFNGLRENDERBUFFERSTORAGEEXTPROC>(get("glRenderbufferStorageEXT"));
    FramebufferRenderbuffer =
        reinterpret_cast<PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC>(get("glFramebufferRenderbufferEXT"));
    CheckFramebufferStatus = reinterpret_cast<PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC>(get("glCheckFramebufferStatusEXT"));
    return GenFramebuffers && DeleteFramebuffers && BindFramebuffer && GenRenderbuffers && DeleteRenderbuffers &&
           BindRenderbuffer && RenderbufferStorage && FramebufferRenderbuffer && CheckFramebufferStatus;
  }
};
TFboExt gFboExt;

}  // namespace

TGLRenderer::TGLRenderer() {
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  const char* ext = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  int major = 1, minor = 0;
  if (version) std::sscanf(version, "%d.%d", &major, &minor);
  const int ver = major * 10 + minor;
  multitexture_ = ver >= 13 || HasExtension(ext, "GL_ARB_multitexture");
  npot_ = ver >= 20 || HasExtension(ext, "GL_ARB_texture_non_power_of_two");
  generateMipmap_ = ver >= 14 || HasExtension(ext, "GL_SGIS_generate_mipmap");
  fboCore_ = ver >= 30 || HasExtension(ext, "GL_ARB_framebuffer_object");
  fboSupported_ = fboCore_ || (HasExtension(ext, "GL_EXT_framebuffer_object") && gFboExt.Load());
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  if (maxSize > 0) maxTextureSize_ = maxSize;
}

TGLRenderer::~TGLRenderer() {
  if (fbo_) {
    if (fboCore_) {
      glDeleteFramebuffers(1, &fbo_);
      glDeleteRenderbuffers(1, &colorBuffer_);
    } else {
      gFboExt.DeleteFramebuffers(1, &fbo_);
      gFboExt.DeleteRenderbuffers(1, &colorBuffer_);
    }
  }
}

void TGLRenderer::Render(TGLScene& scene, const TViewportRect& viewport, int32_t drawableWidth,
                         int32_t drawableHeight) {
  drawableWidth_ = drawableWidth;
  drawableHeight_ = drawableHeight;
  if (fbo_) {
    if (fboCore_) glBindFramebuffer(GL_FRAMEBUFFER, 0);
    else gFboExt.BindFramebuffer(GL_FRAMEBUFFER_EXT, 0);
  }
  // GL counts rows from the bottom; the window's rectangle from the top.
  DrawScene(scene, viewport.X, drawableHeight - viewport.Y - viewport.Height, viewport.Width, viewport.Height);
}

void TGLRenderer::DrawScene(TGLScene& scene, int32_t x, int32_t y, int32_t w, int32_t h) {
  stats_ = {};
  glDisable(GL_SCISSOR_TEST);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  if (w <= 0 || h <= 0) return;
  glViewport(x, y, w, h);
  // Clipping already keeps quads inside the viewport; the scissor makes sure
  // of it for the bars whatever the driver's guard band does.
  glScissor(x, y, w, h);
  glEnable(GL_SCISSOR_TEST);
  ResetState();
  DrawNode(scene.Root());
  End();
}

void TGLRenderer::ResetState() {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, kGameWidth, kGameHeight, 0, -1, 1);  // game pixels, y downwards
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glDepthMask(GL_FALSE);
  glDisable(GL_LIGHTING);
  glDisable(GL_ALPHA_TEST);
  glDisable(GL_CULL_FACE);
  glDisable(GL_FOG);
  glShadeModel(GL_FLAT);
  const float envColor[4] = {0, 0, 0, 0};
  for (int unit = multitexture_ ? 1 : 0; unit >= 0; --unit) {
    if (multitexture_) glActiveTexture(GL_TEXTURE0 + unit);
    // Texture placement is computed per vertex, so the texture matrices stay identity.
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, envColor);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  }
  glMatrixMode(GL_MODELVIEW);
  glDisable(GL_BLEND);
  bound_[0] = bound_[1] = 0;
  enabled_[0] = enabled_[1] = false;
  blend_ = bmOpaque;
  env_ = tmModulate;
  current_ = nullptr;
  haveCurrent_ = false;
  useUnit1_ = false;
  inBatch_ = false;
}

void TGLRenderer::DrawNode(TGLNode& node) {
  if (!node.Visible) return;
  switch (node.Kind()) {
    case TNodeKind::Sprite: DrawSprite(static_cast<THUDSprite&>(node)); break;
    case TNodeKind::Text: DrawText(static_cast<THUDString&>(node)); break;
    case TNodeKind::Group: break;
  }
  const int n = node.Count();
  for (int i = 0; i < n; ++i) DrawNode(*node.Child(i));
}

void TGLRenderer::DrawSprite(THUDSprite& sprite) {
  if (DrawsNothing(sprite.ResolvedMaterial())) return;
  ApplyMaterial(sprite.MaterialLibrary(), sprite.ResolvedMaterial());
  const float hw = sprite.Width * 0.5f, hh = sprite.Height * 0.5f;
  const float cx = sprite.PositionX, cy = sprite.PositionY;
  // Corners from the centre with y downwards; (0,0) texture at the bottom-left.
  float dx[4] = {-hw, hw, hw, -hw};
  float dy[4] = {hh, hh, -hh, -hh};
  static constexpr float kS[4] = {0, 1, 1, 0};
  static constexpr float kT[4] = {0, 0, 1, 1};
  if (sprite.Rotation != 0) {
    // Counter-clockwise on screen is clockwise in y-down coordinates.
    const double a = sprite.Rotation * kDegToRad;
    const float c = static_cast<float>(std::cos(a)), s = static_cast<float>(std::sin(a));
    for (int i = 0; i < 4; ++i) {
      const float x = dx[i] * c + dy[i] * s;
      const float y = -dx[i] * s + dy[i] * c;
      dx[i] = x;
      dy[i] = y;
    }
  }
  Begin();
  for (int i = 0; i < 4; ++i) Vertex(cx + dx[i], cy + dy[i], kS[i], kT[i]);
  ++stats_.Quads;
}

void TGLRenderer::DrawText(THUDString& text) {
  LayoutText(text, glyphs_);
  if (glyphs_.empty()) return;
  ApplyMaterial(text.MaterialLibrary(), text.ResolvedMaterial());
  float c = 1, s = 0;
  if (text.Rotation != 0) {
    const double a = text.Rotation * kDegToRad;
    c = static_cast<float>(std::cos(a));
    s = static_cast<float>(std::sin(a));
  }
  const float ox = text.PositionX, oy = text.PositionY;
  Begin();
  for (const TGlyphQuad& g : glyphs_) {
    const float px[4] = {g.Left, g.Right, g.Right, g.Left};
    const float py[4] = {g.Bottom, g.Bottom, g.Top, g.Top};
    const float ps[4] = {g.S0, g.S1, g.S1, g.S0};
    const float pt[4] = {g.T0, g.T0, g.T1, g.T1};
    for (int i = 0; i < 4; ++i)
      Vertex(ox + px[i] * c + py[i] * s, oy - px[i] * s + py[i] * c, ps[i], pt[i]);
    ++stats_.Quads;
  }
}

void TGLRenderer::Vertex(float x, float y, float s, float t) {
  if (enabled_[0]) glTexCoord2f(s * map0_.ScaleS + map0_.OffsetS, t * map0_.ScaleT + map0_.OffsetT);
  if (useUnit1_) glMultiTexCoord2f(GL_TEXTURE1, s * map1_.ScaleS + map1_.OffsetS, t * map1_.ScaleT + map1_.OffsetT);
  glVertex2f(x, y);
}

void TGLRenderer::Begin() {
  if (inBatch_) return;
  glBegin(GL_QUADS);
  glColor4fv(color_);
  inBatch_ = true;
  ++stats_.Batches;
}

void TGLRenderer::End() {
  if (!inBatch_) return;
  glEnd();
  inBatch_ = false;
}

void TGLRenderer::ApplyMaterial(TGLMaterialLibrary* library, TGLLibMaterial* material) {
  // Materials do not change within a frame, so the same one twice in a row
  // needs nothing at all.
  if (haveCurrent_ && material == current_) return;
  haveCurrent_ = true;
  current_ = material;
  if (library && !library->ReleasedTextures.empty()) {
    End();
    ReleaseTextures(*library);
  }

  const float* color = material ? material->Diffuse : kDefaultColor;
  const int blend = material ? material->BlendingMode : bmOpaque;
  uint32_t tex0 = 0;
  if (material && !material->TextureDisabled) tex0 = TextureOf(*material);

  uint32_t tex1 = 0;
  TGLLibMaterial* second = nullptr;
  if (multitexture_ && tex0 && !material->Texture2Name.empty()) {
    const int i = library->IndexOf(material->Texture2Name);
    if (i >= 0) {
      second = &library->At(i);
      tex1 = second->TextureDisabled ? 0 : TextureOf(*second);
    }
  }

  const bool stateChanges = blend != blend_ || (tex0 != 0) != enabled_[0] || (tex0 && tex0 != bound_[0]) ||
                            (tex0 && material->TextureMode != env_) || (tex1 != 0) != enabled_[1] ||
                            (tex1 && tex1 != bound_[1]);
  if (stateChanges) {
    End();
    SetBlend(blend);
    if (tex0) {
      BindUnit(0, tex0);
      SetEnv(material->TextureMode);
    } else if (enabled_[0]) {
      glDisable(GL_TEXTURE_2D);
      enabled_[0] = false;
    }
    if (multitexture_ && (tex1 != 0) != enabled_[1]) {
      glActiveTexture(GL_TEXTURE1);
      if (tex1) glEnable(GL_TEXTURE_2D);
      else glDisable(GL_TEXTURE_2D);
      glActiveTexture(GL_TEXTURE0);
      enabled_[1] = tex1 != 0;
    }
    if (tex1) BindUnit(1, tex1);
  }
  useUnit1_ = tex1 != 0;
  if (tex0) map0_ = {material->TextureScale[0], material->TextureScale[1], material->TextureOffset[0],
                     material->TextureOffset[1]};
  if (tex1) map1_ = {second->TextureScale[0], second->TextureScale[1], second->TextureOffset[0],
                     second->TextureOffset[1]};
  std::memcpy(color_, color, sizeof color_);
  if (inBatch_) glColor4fv(color_);
}

void TGLRenderer::SetBlend(int mode) {
  if (mode == blend_) return;
  ++stats_.BlendChanges;
  if (mode == bmOpaque) {
    glDisable(GL_BLEND);
  } else {
    if (blend_ == bmOpaque) glEnable(GL_BLEND);
    switch (mode) {
      case bmAdditive: glBlendFunc(GL_SRC_ALPHA, GL_ONE); break;
      case bmMultiply: glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_COLOR); break;
      default: glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); break;
    }
  }
  blend_ = mode;
}

void TGLRenderer::SetEnv(int mode) {
  if (mode == env_) return;
  ++stats_.EnvChanges;
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLint>(EnvOf(static_cast<TTextureMode>(mode))));
  env_ = mode;
}

void TGLRenderer::BindUnit(int unit, uint32_t texture) {
  if (unit == 0 && !enabled_[0]) {
    glEnable(GL_TEXTURE_2D);
    enabled_[0] = true;
  }
  if (bound_[unit] == texture) return;
  ++stats_.TextureBinds;
  if (unit == 1) glActiveTexture(GL_TEXTURE1);
  glBindTexture(GL_TEXTURE_2D, texture);
  if (unit == 1) {
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glActiveTexture(GL_TEXTURE0);
  }
  bound_[unit] = texture;
}

uint32_t TGLRenderer::TextureOf(TGLLibMaterial& material) {
  if (material.TextureDirty) {
    End();
    Upload(material);
  }
  if (material.GLTexture) {
    auto it = filters_.find(material.GLTexture);
    if (it != filters_.end() && it->second != FilterKey(material)) {
      // The filters changed after the texture was made: set them on it.
      End();
      Upload(material);
    }
  }
  return material.GLTexture;
}

void TGLRenderer::Upload(TGLLibMaterial& material) {
  material.TextureDirty = false;
  TTextureImage img = MakeTextureImage(material);
  if (img.Width <= 0 || img.Height <= 0 ||
      img.Pixels.size() != static_cast<size_t>(img.Width) * static_cast<size_t>(img.Height) * 4) {
    if (material.GLTexture) {
      glDeleteTextures(1, &material.GLTexture);
      filters_.erase(material.GLTexture);
      material.GLTexture = 0;
    }
    return;
  }
  int32_t w = img.Width, h = img.Height;
  if (!npot_) {
    w = static_cast<int32_t>(NextPowerOfTwo(static_cast<uint32_t>(w)));
    h = static_cast<int32_t>(NextPowerOfTwo(static_cast<uint32_t>(h)));
  }
  w = std::min(w, maxTextureSize_);
  h = std::min(h, maxTextureSize_);
  if (w != img.Width || h != img.Height) Resize(img, w, h);

  if (!material.GLTexture) glGenTextures(1, &material.GLTexture);
  ++stats_.Uploads;
  // Binds through unit 0 and tells the cache, so the next bind is not skipped wrongly.
  if (multitexture_) glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, material.GLTexture);
  bound_[0] = material.GLTexture;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  const bool mipmaps = material.MinFilter == miLinearMipmapLinear && generateMipmap_;
  GLint minFilter = GL_NEAREST;
  if (material.MinFilter == miLinearMipmapLinear) minFilter = mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, material.MagFilter == maNearest ? GL_NEAREST : GL_LINEAR);
  if (generateMipmap_) glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, mipmaps ? GL_TRUE : GL_FALSE);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  // tfRGB keeps no alpha: sampling gives alpha 1 whatever the picture held.
  const GLint internal = material.TextureFormat == tfRGB ? GL_RGB8 : GL_RGBA8;
  glTexImage2D(GL_TEXTURE_2D, 0, internal, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, img.Pixels.data());
  filters_[material.GLTexture] = FilterKey(material);
}

void TGLRenderer::ReleaseTextures(TGLMaterialLibrary& library) {
  for (uint32_t t : library.ReleasedTextures) {
    const GLuint name = t;
    glDeleteTextures(1, &name);
    filters_.erase(t);
    for (uint32_t& b : bound_)
      if (b == t) b = 0;
  }
  library.ReleasedTextures.clear();
}

void TGLRenderer::DropLibraryTextures(TGLMaterialLibrary& library) {
  ReleaseTextures(library);
  for (int i = 0; i < library.Count(); ++i) {
    TGLLibMaterial& m = library.At(i);
    if (m.GLTexture) library.ReleasedTextures.push_back(m.GLTexture);
    m.GLTexture = 0;
    m.TextureDirty = true;
  }
  ReleaseTextures(library);
}

void TGLRenderer::EnsureOffscreen() {
  if (fbo_ || fboFailed_ || !fboSupported_) return;
  GLenum status = 0;
  if (fboCore_) {
    glGenFramebuffers(1, &fbo_);
    glGenRenderbuffers(1, &colorBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, colorBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kGameWidth, kGameHeight);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorBuffer_);
    status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
  } else {
    gFboExt.GenFramebuffers(1, &fbo_);
    gFboExt.GenRenderbuffers(1, &colorBuffer_);
    gFboExt.BindRenderbuffer(GL_RENDERBUFFER_EXT, colorBuffer_);
    gFboExt.RenderbufferStorage(GL_RENDERBUFFER_EXT, GL_RGBA8, kGameWidth, kGameHeight);
    gFboExt.BindFramebuffer(GL_FRAMEBUFFER_EXT, fbo_);
    gFboExt.FramebufferRenderbuffer(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_RENDERBUFFER_EXT, colorBuffer_);
    status = gFboExt.CheckFramebufferStatus(GL_FRAMEBUFFER_EXT);
    gFboExt.BindFramebuffer(GL_FRAMEBUFFER_EXT, 0);
  }
  if (status != GL_FRAMEBUFFER_COMPLETE) {
    fboFailed_ = true;
    fboSupported_ = false;
  }
}

TBitmap TGLRenderer::Snapshot(TGLScene& scene) {
  TBitmap picture;
  EnsureOffscreen();
  if (fboSupported_) {
    if (fboCore_) glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    else gFboExt.BindFramebuffer(GL_FRAMEBUFFER_EXT, fbo_);
    DrawScene(scene, 0, 0, kGameWidth, kGameHeight);
  } else if (drawableWidth_ >= kGameWidth && drawableHeight_ >= kGameHeight) {
    // Without an offscreen target the back buffer's bottom-left corner serves;
    // the next Render paints over it before anything is shown.
    DrawScene(scene, 0, 0, kGameWidth, kGameHeight);
  } else {
    return picture;
  }
  picture.Width = kGameWidth;
  picture.Height = kGameHeight;
  picture.Bits = 32;
  picture.Pixels.resize(static_cast<size_t>(kGameWidth) * kGameHeight * 4);
  std::vector<uint8_t> rows(picture.Pixels.size());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  if (!fboSupported_) glReadBuffer(GL_BACK);
  glReadPixels(0, 0, kGameWidth, kGameHeight, GL_RGBA, GL_UNSIGNED_BYTE, rows.data());
  const size_t stride = static_cast<size_t>(kGameWidth) * 4;
  for (int32_t y = 0; y < kGameHeight; ++y)
    std::memcpy(&picture.Pixels[static_cast<size_t>(y) * stride],
                &rows[static_cast<size_t>(kGameHeight - 1 - y) * stride], stride);
  for (size_t i = 3; i < picture.Pixels.size(); i += 4) picture.Pixels[i] = 255;
  if (fboSupported_) {
    if (fboCore_) glBindFramebuffer(GL_FRAMEBUFFER, 0);
    else gFboExt.BindFramebuffer(GL_FRAMEBUFFER_EXT, 0);
  }
  return picture;
}

void TGLRenderer::DrawOutlines(std::span<const TOutline> outlines, const TViewportRect& viewport) {
  if (outlines.empty() || viewport.Width <= 0 || viewport.Height <= 0) return;
  const int32_t y = drawableHeight_ - viewport.Y - viewport.Height;
  glViewport(viewport.X, y, viewport.Width, viewport.Height);
  glScissor(viewport.X, y, viewport.Width, viewport.Height);
  glEnable(GL_SCISSOR_TEST);
  ResetState();
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glLineWidth(2);
  constexpr int kCircleSteps = 32;
  for (const TOutline& o : outlines) {
    glColor4f(o.R, o.G, o.B, o.A);
    glBegin(GL_LINE_LOOP);
    if (o.Radius > 0) {
      for (int i = 0; i < kCircleSteps; ++i) {
        const float a = 6.2831853f * static_cast<float>(i) / kCircleSteps;
        glVertex2f(o.X + o.Radius * std::cos(a), o.Y + o.Radius * std::sin(a));
      }
    } else {
      glVertex2f(o.X - o.W / 2, o.Y - o.H / 2);
      glVertex2f(o.X + o.W / 2, o.Y - o.H / 2);
      glVertex2f(o.X + o.W / 2, o.Y + o.H / 2);
      glVertex2f(o.X - o.W / 2, o.Y + o.H / 2);
    }
    glEnd();
  }
  glLineWidth(1);
  glColor4f(1, 1, 1, 1);
}

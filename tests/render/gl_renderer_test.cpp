// Pixel checks of the sprite renderer. Each test builds its scene and
// materials directly, draws it into the exact 800x600 picture (Snapshot) or
// into the hidden window's back buffer, and reads pixels back.
#include "render/gl_renderer.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdlib>
#include <functional>
#include <memory>

#include "platform/window.h"

// The session bus connection SDL opens is never freed by the library.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {

struct TRgba {
  int R, G, B, A;
};

class GLRendererTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!std::getenv("DISPLAY")) return;
    std::string error;
    bool glFailed = false;
    window_ = TPlatformWindow::Create({.Windowed = true, .Hidden = true, .VSync = false}, error, glFailed).release();
    if (!window_) std::fprintf(stderr, "no GL window: %s\n", error.c_str());
  }
  // The window stays open until the process ends: closing it unloads the GL
  // driver, whose few start-up allocations would then show as leaks that no
  // stack can name.
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    ASSERT_NE(window_, nullptr);
    renderer_ = std::make_unique<TGLRenderer>();
  }
  void TearDown() override {
    if (renderer_) renderer_->DropLibraryTextures(lib_);
  }

  // A material of one colour, or drawn by `paint` (x, y from the top-left).
  static TGLLibMaterial Solid(const std::string& name, TRgba c, int32_t w = 8, int32_t h = 8) {
    return Painted(name, w, h, [c](int, int) { return c; });
  }
  static TGLLibMaterial Painted(const std::string& name, int32_t w, int32_t h,
                                const std::function<TRgba(int, int)>& paint, int32_t bits = 32) {
    TGLLibMaterial m;
    m.Name = name;
    m.Image.Width = w;
    m.Image.Height = h;
    m.Image.Bits = bits;
    m.Image.Pixels.resize(static_cast<size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const TRgba c = paint(x, y);
        uint8_t* p = &m.Image.Pixels[(static_cast<size_t>(y) * w + x) * 4];
        p[0] = static_cast<uint8_t>(c.R), p[1] = static_cast<uint8_t>(c.G), p[2] = static_cast<uint8_t>(c.B);
        p[3] = static_cast<uint8_t>(c.A);
      }
    m.MinFilter = miNearest;
    m.MagFilter = maNearest;
    return m;
  }
  THUDSprite* Sprite(TGLNode& parent, float x, float y, float w, float h, const std::string& material) {
    THUDSprite* s = parent.AddNewChild<THUDSprite>();
    s->PositionX = x;
    s->PositionY = y;
    s->SetSize(w, h);
    if (!material.empty()) s->SetMaterial(&lib_, material);
    return s;
  }
  TBitmap Shot() { return renderer_->Snapshot(scene_); }
  static TRgba At(const TBitmap& b, int x, int y) {
    const uint8_t* p = &b.Pixels[(static_cast<size_t>(y) * b.Width + x) * 4];
    return {p[0], p[1], p[2], p[3]};
  }
  struct TPixel {
    int X, Y;
    TRgba Want;
  };
  static void ExpectPixels(const TBitmap& b, std::initializer_list<TPixel> pixels, int tolerance = 0) {
    for (const auto& [x, y, want] : pixels) {
      const TRgba got = At(b, x, y);
      EXPECT_TRUE(std::abs(got.R - want.R) <= tolerance && std::abs(got.G - want.G) <= tolerance &&
                  std::abs(got.B - want.B) <= tolerance)
          << "at (" << x << ", " << y << "): got " << got.R << "," << got.G << "," << got.B << " want " << want.R
          << "," << want.G << "," << want.B;
    }
  }

  static TPlatformWindow* window_;
  std::unique_ptr<TGLRenderer> renderer_;
  TGLMaterialLibrary lib_;
  TGLScene scene_;
};
TPlatformWindow* GLRendererTest::window_ = nullptr;

constexpr TRgba kBlack{0, 0, 0, 255}, kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255}, kBlue{0, 0, 255, 255},
    kWhite{255, 255, 255, 255};

TEST_F(GLRendererTest, LargeSpriteShowsItsTopLeftPart) {
  // Every texel names its own coordinates, so any offset or flip shows, and
  // the picture's corners are the sprite's.
  lib_.Add(Painted("big", 1024, 1024, [](int x, int y) {
    return TRgba{x & 255, y & 255, (x >> 8) * 16 + (y >> 8) * 64, 255};
  }));
  Sprite(scene_.Root(), 512, 512, 1024, 1024, "big");
  const TBitmap b = Shot();
  for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {0, 1}, {255, 256}, {300, 17}, {799, 0}, {0, 599}, {799, 599}})
    ExpectPixels(b, {{x, y, {x & 255, y & 255, (x >> 8) * 16 + (y >> 8) * 64, 255}}});
}

TEST_F(GLRendererTest, HiddenGroupHidesDescendantsWithoutTouchingTheirFlags) {
  lib_.Add(Solid("red", kRed));
  lib_.Add(Solid("green", kGreen));
  TDummyCube* group = scene_.Root().AddNewChild<TDummyCube>();
  THUDSprite* a = Sprite(*group, 100, 100, 50, 50, "red");
  THUDSprite* b = Sprite(*group, 300, 100, 50, 50, "green");
  THUDSprite* nested = Sprite(*a, 500, 100, 50, 50, "green");  // a child of a sprite
  b->Visible = false;

  group->Visible = false;
  ExpectPixels(Shot(), {{100, 100, kBlack}, {500, 100, kBlack}});
  EXPECT_TRUE(a->Visible && nested->Visible);
  group->Visible = true;
  ExpectPixels(Shot(), {{100, 100, kRed}, {300, 100, kBlack}, {500, 100, kGreen}});
  a->Visible = false;  // a hidden sprite hides its own children too
  ExpectPixels(Shot(), {{500, 100, kBlack}});
}

TEST_F(GLRendererTest, LaterChildIsOnTopWhateverTheBlending) {
  TGLLibMaterial blue = Solid("blue", kBlue);
  blue.BlendingMode = bmTransparency;
  lib_.Add(blue);
  lib_.Add(Solid("red", kRed));
  TGLLibMaterial green = Solid("green", kGreen);
  green.BlendingMode = bmTransparency;
  lib_.Add(green);
  Sprite(scene_.Root(), 100, 100, 40, 40, "blue");
  Sprite(scene_.Root(), 100, 100, 40, 40, "red");
  Sprite(scene_.Root(), 300, 100, 40, 40, "red");
  Sprite(scene_.Root(), 300, 100, 40, 40, "green");
  ExpectPixels(Shot(), {{100, 100, kRed}, {300, 100, kGreen}});
  scene_.Root().ExchangeWithPrevious(1);  // the depth sort's only operation
  ExpectPixels(Shot(), {{100, 100, kBlue}});
}

TEST_F(GLRendererTest, PositiveRotationTurnsCounterClockwise) {
  // Top half red, bottom half green; turned by 90 degrees the top goes left.
  lib_.Add(Painted("halves", 8, 8, [](int, int y) { return y < 4 ? kRed : kGreen; }));
  THUDSprite* s = Sprite(scene_.Root(), 400, 300, 200, 200, "halves");
  ExpectPixels(Shot(), {{400, 250, kRed}, {400, 350, kGreen}});
  s->Rotation = 90;
  ExpectPixels(Shot(), {{350, 300, kRed}, {450, 300, kGreen}});
  s->Rotation = -90;
  ExpectPixels(Shot(), {{450, 300, kRed}});
  s->Rotation = 45;  // the corners of a turned square stick out past its sides
  ExpectPixels(Shot(), {{400, 300 - 135, kRed}, {300, 200, kBlack}});
}

TEST_F(GLRendererTest, TextureScaleAndOffset) {
  // Left half red, right half green.
  TGLLibMaterial m = Painted("lr", 8, 8, [](int x, int) { return x < 4 ? kRed : kGreen; });
  m.TextureOffset[0] = 0.5f;
  lib_.Add(m);
  m.Name = "twice";
  m.TextureOffset[0] = 0;
  m.TextureScale[0] = 2;
  lib_.Add(m);
  lib_.Add(Painted("tb", 8, 8, [](int, int y) { return y < 4 ? kRed : kGreen; }));
  lib_.At(2).TextureOffset[1] = 0.5f;
  Sprite(scene_.Root(), 200, 100, 200, 100, "lr");
  Sprite(scene_.Root(), 600, 100, 200, 100, "twice");
  Sprite(scene_.Root(), 400, 400, 100, 200, "tb");
  // Offset 0.5: the halves swap, since the texture repeats; scale 2: the
  // picture twice across; a vertical offset moves the picture down the same way.
  ExpectPixels(Shot(), {{150, 100, kGreen}, {250, 100, kRed},
                        {525, 100, kRed}, {575, 100, kGreen}, {625, 100, kRed}, {675, 100, kGreen},
                        {400, 350, kGreen}, {400, 450, kRed}});
}

// Over a white, a grey and a black band, sprites whose materials blend,
// modulate, replace or skip the texture, a narrow 8-bit picture, a second
// texture and a mipmapped pattern.
TEST_F(GLRendererTest, MaterialsOnKnownColours) {
  lib_.Add(Solid("white", kWhite));
  lib_.Add(Solid("grey", {128, 128, 128, 255}));
  Sprite(scene_.Root(), 400, 100, 800, 200, "white");
  Sprite(scene_.Root(), 400, 300, 800, 200, "grey");
  struct TCase {
    int X, Y;  // y 100 over white, 300 over grey, 500 over black
    TRgba Texel;
    std::function<void(TGLLibMaterial&)> Setup;
    TRgba Want;
  };
  const TCase cases[] = {
      // Alpha 0.5: half white, half blue; with the texture's alpha 128 too, 0.5 x 128/255.
      {100, 100, {0, 0, 255, 128},
       [](auto& m) { m.BlendingMode = bmTransparency, m.TextureFormat = tfRGB, m.Diffuse[3] = 0.5f; },
       {128, 128, 255, 255}},
      {200, 100, {0, 0, 255, 128},
       [](auto& m) { m.BlendingMode = bmTransparency, m.TextureFormat = tfRGBA, m.Diffuse[3] = 0.5f; },
       {191, 191, 255, 255}},
      // Additive: source x alpha + destination, capped; multiply: source x
      // its alpha + destination x (1 - source colour).
      {100, 300, {64, 128, 0, 255}, [](auto& m) { m.BlendingMode = bmAdditive; }, {192, 255, 128, 255}},
      {200, 300, {200, 200, 200, 255}, [](auto& m) { m.BlendingMode = bmAdditive, m.Diffuse[3] = 0.5f; },
       {228, 228, 228, 255}},
      {300, 300, {255, 0, 128, 255}, [](auto& m) { m.BlendingMode = bmMultiply; }, {255, 128, 128 + 64 - 1, 255}},
      // Replace ignores the diffuse colour, modulate multiplies by it; an
      // untextured sprite shows the diffuse colour alone; a second texture
      // that does not exist changes nothing.
      {100, 500, kBlue, [](auto& m) { m.TextureMode = tmReplace, m.Diffuse[0] = 0; }, kBlue},
      {200, 500, kWhite, [](auto& m) { m.Diffuse[1] = 0; }, {255, 0, 255, 255}},
      {300, 500, kBlue, [](auto& m) { m.TextureDisabled = true, m.Diffuse[0] = m.Diffuse[2] = 0; }, kGreen},
      {400, 500, kWhite, [](auto& m) { m.Texture2Name = "nothing"; }, kWhite},
      // Alpha 0: blended by it, nothing shows (and nothing need be drawn);
      // opaque, replaced or multiplied, the sprite still shows.
      {400, 300, kBlue, [](auto& m) { m.BlendingMode = bmTransparency, m.Diffuse[3] = 0; }, {128, 128, 128, 255}},
      {500, 300, kBlue, [](auto& m) { m.BlendingMode = bmAdditive, m.Diffuse[3] = 0; }, {128, 128, 128, 255}},
      {600, 300, kBlue, [](auto& m) { m.Diffuse[3] = 0; }, kBlue},
      {700, 300, kBlue, [](auto& m) { m.BlendingMode = bmTransparency, m.TextureMode = tmReplace, m.Diffuse[3] = 0; },
       kBlue},
      {700, 250, {255, 0, 128, 255}, [](auto& m) { m.BlendingMode = bmMultiply, m.Diffuse[3] = 0; }, {0, 128, 64, 255}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    TGLLibMaterial m = Solid("m" + std::to_string(i), cases[i].Texel);
    cases[i].Setup(m);
    lib_.Add(m);
    Sprite(scene_.Root(), cases[i].X, cases[i].Y, 40, 40, m.Name);
  }
  // No such material, or none: the sprite's own default material.
  Sprite(scene_.Root(), 500, 500, 40, 40, "missing");
  Sprite(scene_.Root(), 600, 500, 40, 40, "");
  // 30 pixels wide, 8 bits a pixel, alpha 0 in the decoded bytes: the texture
  // is stretched to 32 and opaque, so blending shows nothing of the white.
  TGLLibMaterial narrow =
      Painted("narrow", 30, 4, [](int x, int) { return x < 15 ? TRgba{255, 0, 0, 0} : TRgba{0, 0, 255, 0}; }, 8);
  narrow.BlendingMode = bmTransparency;
  lib_.Add(narrow);
  Sprite(scene_.Root(), 550, 100, 300, 40, "narrow");
  lib_.Add(Painted("mask", 8, 8, [](int x, int) { return x < 4 ? kRed : TRgba{0, 255, 255, 255}; }));
  TGLLibMaterial base = Solid("base", kWhite);
  base.Texture2Name = "mask";
  lib_.Add(base);
  Sprite(scene_.Root(), 700, 500, 100, 50, "base");
  TGLLibMaterial check = Painted("check", 64, 64, [](int x, int y) { return (x + y) % 2 ? kWhite : kBlack; });
  check.MinFilter = miLinearMipmapLinear;
  check.MagFilter = maLinear;
  lib_.Add(check);
  Sprite(scene_.Root(), 750, 100, 16, 16, "check");

  const TBitmap b = Shot();
  EXPECT_EQ(renderer_->LastFrame().Quads, 2 + static_cast<int>(std::size(cases)) - 2 + 5)
      << "every sprite but the two blended by an alpha of 0";
  for (const TCase& c : cases) ExpectPixels(b, {{c.X, c.Y, c.Want}}, 2);
  ExpectPixels(b, {{500, 500, kWhite}, {600, 500, kWhite}, {410, 100, kRed}, {690, 100, kBlue}, {390, 100, kWhite},
                   {675, 500, kRed}, {725, 500, {0, 255, 255, 255}}});
  ExpectPixels(b, {{750, 100, {128, 128, 128, 255}}}, 16);  // mipmaps average the fine pattern
}

TEST_F(GLRendererTest, TextGlyphsFollowTheWidthTable) {
  // Every cell of the font picture is white, so each glyph paints a white
  // rectangle exactly as wide as its advance.
  TGLLibMaterial font = Solid("fnt1", kWhite, 512, 512);
  lib_.Add(font);
  std::vector<uint8_t> widths(256, 8);
  widths['a'] = 10;
  widths['b'] = 12;
  THUDString* t = scene_.Root().AddNewChild<THUDString>();
  t->Height = 32;  // k = 1
  LoadFontWidths(*t, widths, 512);
  t->SetMaterial(&lib_, "fnt1");
  t->PositionX = 400;
  t->PositionY = 100;
  t->Alignment = 1;
  SetText(*t, "ab\ra");
  // "ab" is 26 wide, centred: 387..412; "a" 12 wide: 394..405, one line lower.
  ExpectPixels(Shot(), {{386, 100, kBlack}, {387, 100, kWhite}, {412, 100, kWhite}, {413, 100, kBlack},
                        {400, 84, kWhite}, {400, 83, kBlack}, {393, 132, kBlack}, {394, 132, kWhite},
                        {405, 132, kWhite}, {406, 132, kBlack}, {400, 147, kWhite}, {400, 148, kBlack}});
  // Rotation turns the whole block about Position: the line now runs upwards.
  t->Alignment = 0;
  SetText(*t, "ab");
  t->Rotation = 90;
  ExpectPixels(Shot(), {{400, 80, kWhite}, {400, 105, kBlack}, {410, 90, kWhite}, {420, 90, kBlack}});
  t->Visible = false;
  ExpectPixels(Shot(), {{390, 100, kBlack}});
}

TEST_F(GLRendererTest, LetterboxedWindowAndExactSnapshot) {
  lib_.Add(Solid("red", kRed));
  lib_.Add(Solid("green", kGreen));
  Sprite(scene_.Root(), 400, 300, 1600, 1200, "red");  // reaches far past the picture
  Sprite(scene_.Root(), 10, 10, 20, 20, "green");      // the picture's top-left corner
  int32_t dw = 0, dh = 0;
  window_->DrawableSize(dw, dh);
  ASSERT_GE(dw, 800);
  ASSERT_GE(dh, 600);
  // The picture scaled to half size in the middle of the drawable.
  TViewportRect vp;
  vp.Width = 400;
  vp.Height = 300;
  vp.X = (dw - 400) / 2;
  vp.Y = (dh - 300) / 2;
  vp.Scale = 0.5;
  renderer_->Render(scene_, vp, dw, dh);
  TBitmap window{.Width = dw, .Height = dh, .Bits = 32, .Pixels = {}};
  window.Pixels.resize(static_cast<size_t>(dw) * dh * 4);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, dw, dh, GL_RGBA, GL_UNSIGNED_BYTE, window.Pixels.data());
  // The four black bars, the picture, its top-left and bottom-right corners;
  // the window's rows count from its bottom.
  const int top = dh - 1 - vp.Y;
  ExpectPixels(window, {{vp.X - 1, top - 150, kBlack}, {vp.X + 400, top - 150, kBlack}, {vp.X + 200, top + 1, kBlack},
                        {vp.X + 200, top - 300, kBlack}, {vp.X + 200, top - 150, kRed}, {vp.X + 2, top - 2, kGreen},
                        {vp.X + 399, top - 299, kRed}});

  // The screenshot is the game's picture at 800x600 whatever the window shows.
  const TBitmap b = Shot();
  ASSERT_EQ(b.Width, 800);
  ASSERT_EQ(b.Height, 600);
  ExpectPixels(b, {{19, 19, kGreen}, {20, 20, kRed}, {799, 599, kRed}});
  EXPECT_EQ(At(b, 5, 5).A, 255);
}

TEST_F(GLRendererTest, ClearedLibraryTexturesAreDeleted) {
  lib_.Add(Solid("a", kRed));
  THUDSprite* s = Sprite(scene_.Root(), 400, 300, 64, 64, "a");
  ExpectPixels(Shot(), {{400, 300, kRed}});
  const GLuint texture = lib_.At(0).GLTexture;
  ASSERT_NE(texture, 0u);
  EXPECT_TRUE(glIsTexture(texture));
  lib_.Clear();
  EXPECT_EQ(s->MaterialLibrary(), nullptr);
  lib_.Add(Solid("a", kGreen));
  s->SetMaterial(&lib_, "a");
  ExpectPixels(Shot(), {{400, 300, kGreen}});  // meeting the library again frees the old texture
  EXPECT_TRUE(lib_.ReleasedTextures.empty());
  EXPECT_NE(lib_.At(0).GLTexture, 0u);
  EXPECT_TRUE(lib_.At(0).GLTexture == texture || !glIsTexture(texture));
  // A changed picture is uploaded again.
  lib_.At(0).Image = Solid("x", kBlue).Image;
  lib_.At(0).TextureDirty = true;
  ExpectPixels(Shot(), {{400, 300, kBlue}});
}

}  // namespace

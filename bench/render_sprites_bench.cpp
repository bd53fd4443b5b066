// N textured 64x64 sprites (four materials: opaque, transparent, additive and
// multiply, in a shuffled order so the state changes often) drawn by the
// renderer, next to a hand-written immediate-mode loop that draws the same
// quads with the same textures and skips redundant binds itself. Each frame
// ends with glFinish and a one-pixel readback so the GPU work is counted.
//
// Run: xvfb-run -a -s "-screen 0 1024x768x24" env LIBGL_ALWAYS_SOFTWARE=1 build/bench/render_bench
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <random>

#include "platform/window.h"
#include "render/gl_renderer.h"

namespace {

TPlatformWindow* gWindow = nullptr;

std::string MaterialName(int m) { return std::string{'m', static_cast<char>('0' + m)}; }

struct TBenchScene {
  TGLMaterialLibrary Library;
  TGLScene Scene;
  std::vector<THUDSprite*> Sprites;

  explicit TBenchScene(int n) {
    const TBlendingMode modes[4] = {bmOpaque, bmTransparency, bmAdditive, bmMultiply};
    for (int m = 0; m < 4; ++m) {
      TGLLibMaterial mat;
      mat.Name = MaterialName(m);
      mat.BlendingMode = modes[m];
      mat.Image.Width = mat.Image.Height = 64;
      mat.Image.Pixels.resize(64 * 64 * 4);
      for (size_t i = 0; i < mat.Image.Pixels.size(); i += 4) {
        mat.Image.Pixels[i] = static_cast<uint8_t>(40 * m + i % 97);
        mat.Image.Pixels[i + 1] = static_cast<uint8_t>(i / 256);
        mat.Image.Pixels[i + 2] = static_cast<uint8_t>(255 - 50 * m);
        mat.Image.Pixels[i + 3] = static_cast<uint8_t>(128 + m * 30);
      }
      Library.Add(mat);
    }
    std::mt19937 rng(12345);
    TDummyCube* root = Scene.Root().AddNewChild<TDummyCube>();
    for (int i = 0; i < n; ++i) {
      THUDSprite* s = root->AddNewChild<THUDSprite>();
      s->PositionX = static_cast<float>(rng() % 800);
      s->PositionY = static_cast<float>(rng() % 600);
      s->SetSize(64, 64);
      s->SetMaterial(&Library, MaterialName(static_cast<int>(rng() % 4)));
      Sprites.push_back(s);
    }
  }
};

void EndFrame() {
  glFinish();
  uint8_t px[4];
  glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
  benchmark::DoNotOptimize(px);
}

void BM_Renderer(benchmark::State& state) {
  TBenchScene b(static_cast<int>(state.range(0)));
  TGLRenderer renderer;
  const TViewportRect vp;
  renderer.Render(b.Scene, vp, 800, 600);  // makes the textures
  for (auto _ : state) {
    renderer.Render(b.Scene, vp, 800, 600);
    EndFrame();
  }
  // Per frame: binds and blend changes should not exceed the changes of
  // material in drawing order, and nothing is uploaded once the textures exist.
  int changes = 0;
  for (size_t i = 0; i < b.Sprites.size(); ++i)
    changes += i == 0 || b.Sprites[i]->MaterialIndex() != b.Sprites[i - 1]->MaterialIndex();
  state.counters["material_changes"] = changes;
  state.counters["binds"] = renderer.LastFrame().TextureBinds;
  state.counters["blend_changes"] = renderer.LastFrame().BlendChanges;
  state.counters["uploads"] = renderer.LastFrame().Uploads;
  state.counters["batches"] = renderer.LastFrame().Batches;
  renderer.DropLibraryTextures(b.Library);
}

// The same quads drawn directly, using the textures the renderer made.
void DrawBare(TBenchScene& b) {
  glViewport(0, 0, 800, 600);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, 800, 600, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  GLuint bound = 0;
  int blend = -1;
  for (THUDSprite* s : b.Sprites) {
    const TGLLibMaterial& m = b.Library.At(s->MaterialIndex());
    if (m.GLTexture != bound) {
      bound = m.GLTexture;
      glBindTexture(GL_TEXTURE_2D, bound);
    }
    if (m.BlendingMode != blend) {
      blend = m.BlendingMode;
      if (blend == bmOpaque) {
        glDisable(GL_BLEND);
      } else {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, blend == bmTransparency ? GL_ONE_MINUS_SRC_ALPHA
                                  : blend == bmAdditive    ? GL_ONE
                                                           : GL_ONE_MINUS_SRC_COLOR);
      }
    }
    const float x0 = s->PositionX - 32, x1 = s->PositionX + 32, y0 = s->PositionY - 32, y1 = s->PositionY + 32;
    glBegin(GL_QUADS);
    glColor4fv(m.Diffuse);
    glTexCoord2f(0, 0);
    glVertex2f(x0, y1);
    glTexCoord2f(1, 0);
    glVertex2f(x1, y1);
    glTexCoord2f(1, 1);
    glVertex2f(x1, y0);
    glTexCoord2f(0, 1);
    glVertex2f(x0, y0);
    glEnd();
  }
}

void BM_BareLoop(benchmark::State& state) {
  TBenchScene b(static_cast<int>(state.range(0)));
  TGLRenderer renderer;
  renderer.Render(b.Scene, TViewportRect{}, 800, 600);
  for (auto _ : state) {
    DrawBare(b);
    EndFrame();
  }
  renderer.DropLibraryTextures(b.Library);
}

// Both in turn within each iteration, so that load from other processes falls
// on both alike; reports each one's mean frame time and their ratio.
void BM_Alternating(benchmark::State& state) {
  TBenchScene b(static_cast<int>(state.range(0)));
  TGLRenderer renderer;
  const TViewportRect vp;
  renderer.Render(b.Scene, vp, 800, 600);
  EndFrame();
  double bare = 0, ours = 0;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    DrawBare(b);
    EndFrame();
    auto t1 = std::chrono::steady_clock::now();
    renderer.Render(b.Scene, vp, 800, 600);
    EndFrame();
    auto t2 = std::chrono::steady_clock::now();
    bare += std::chrono::duration<double, std::milli>(t1 - t0).count();
    ours += std::chrono::duration<double, std::milli>(t2 - t1).count();
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["bare_ms"] = bare / n;
  state.counters["renderer_ms"] = ours / n;
  state.counters["ratio"] = ours / bare;
  renderer.DropLibraryTextures(b.Library);
}

BENCHMARK(BM_BareLoop)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Renderer)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Alternating)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  bool glFailed = false;
  auto window = TPlatformWindow::Create({.Windowed = true, .Hidden = true, .VSync = false}, error, glFailed);
  if (!window) {
    std::fprintf(stderr, "render_bench: no GL window (%s); run under xvfb-run\n", error.c_str());
    return 1;
  }
  gWindow = window.get();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

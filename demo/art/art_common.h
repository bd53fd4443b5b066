// Shared tools of the demo art generator: a deterministic random source,
// painting helpers over Cairo image surfaces, and the archive collector that
// writes each picture as a PNG next to a pack manifest.
//
// Every picture is a CAIRO_FORMAT_ARGB32 surface (premultiplied, native
// endian); Cairo writes it as a 32-bit RGBA PNG. Nothing here may depend on
// time, addresses or the environment: the build must produce the same bytes
// on every run.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// xorshift64*: small, fast and identical on every platform.
class TArtRandom {
 public:
  explicit TArtRandom(uint64_t seed) : State(seed * 0x9E3779B97F4A7C15ull + 1) {}
  uint64_t Next() {
    State ^= State >> 12;
    State ^= State << 25;
    State ^= State >> 27;
    return State * 2685821657736338717ull;
  }
  // Uniform in [0, 1).
  double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
  double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }

 private:
  uint64_t State;
};

struct TRgb {
  double R = 0, G = 0, B = 0;
};
TRgb Mix(TRgb a, TRgb b, double t);
TRgb Hex(uint32_t rgb);

struct TSurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct TContextDeleter {
  void operator()(cairo_t* c) const { cairo_destroy(c); }
};
using TSurface = std::unique_ptr<cairo_surface_t, TSurfaceDeleter>;
using TContext = std::unique_ptr<cairo_t, TContextDeleter>;

// A picture being painted: a transparent ARGB32 surface and its context.
struct TCanvas {
  TCanvas(int width, int height);
  int Width, Height;
  TSurface Surface;
  TContext Cr;
  cairo_t* operator*() const { return Cr.get(); }
};

void SetColor(cairo_t* cr, TRgb c, double alpha = 1.0);
// Vertical gradient over [y0, y1] through evenly spaced stops.
void FillVerticalGradient(cairo_t* cr, double x, double y0, double w, double y1, const std::vector<TRgb>& stops);
// A radial glow: colour at the centre fading to nothing at `radius`.
void Glow(cairo_t* cr, double x, double y, double radius, TRgb c, double alpha);
// A soft-edged ellipse: several shrinking translucent layers.
void SoftEllipse(cairo_t* cr, double x, double y, double rx, double ry, TRgb c, double alpha, double soft);
// Closed silhouette under a wandering ridge line from x0 to x1, filled down
// to `bottom`. `roughness` is the largest step of the ridge in pixels.
void RidgePath(cairo_t* cr, TArtRandom& rnd, double x0, double x1, double baseY, double amplitude, double step,
               double bottom);

// Box blur of the whole surface, run three times (close to a Gaussian).
void BlurSurface(cairo_surface_t* s, int radius);
// Fine luminance grain on every pixel that has colour, for a painted feel.
void AddGrain(cairo_surface_t* s, uint64_t seed, double strength);
// Copies `src` into `dst` at (x, y) with alpha.
void Paste(cairo_t* dst, cairo_surface_t* src, double x, double y, double alpha = 1.0);

// How one picture is stored and drawn. Defaults: a picture with alpha drawn
// with the transparency blend (keeps the texture's alpha), texture modulated
// by a white, opaque material colour.
struct TArtImage {
  std::string Name;  // material name, at most 30 bytes
  std::string File;  // PNG file name inside the archive folder
  std::string Next;  // next frame of an animation, empty: none
  int FrameTime = 0;  // milliseconds
  bool Alpha = true;  // keep the alpha channel (stored with 32 bits)
  int ModeCode = 2;   // modulate
  int AlphaCode = 1;  // image alpha unchanged
  int BlendCode = 2;  // transparency
  int ColorA = 1000;
  int Width = 0, Height = 0;
};

// One archive being produced: its folder of PNGs and its manifest.
class TArtArchive {
 public:
  TArtArchive(std::string title, std::string dir);
  // Writes the canvas as <name>.png and records it; returns the record so the
  // caller can set chain and drawing fields. Throws on a name over 30 bytes or
  // one already used, and on a failed write.
  TArtImage& Add(const std::string& name, const TCanvas& canvas, bool alpha = true);
  // Adds picture `frame` of a loop of `frames` pictures named by the printf
  // format `nameFormat` (one int), each shown `frameTimeMs` before the next.
  TArtImage& AddLoopFrame(const char* nameFormat, int frame, int frames, int frameTimeMs, const TCanvas& canvas,
                          bool alpha = true);
  const std::vector<TArtImage>& Images() const { return Items; }
  const std::string& Dir() const { return Folder; }
  // Writes "manifest.json" into the folder.
  void WriteManifest() const;

 private:
  std::string Title, Folder;
  std::vector<TArtImage> Items;
};

std::string JoinPath(const std::string& a, const std::string& b);
void MakeDirs(const std::string& path);

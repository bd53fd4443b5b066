#include "art_common.h"

#include <cstdio>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <stdexcept>

TRgb Mix(TRgb a, TRgb b, double t) {
  return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t};
}

TRgb Hex(uint32_t rgb) {
  return {((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0};
}

TCanvas::TCanvas(int width, int height)
    : Width(width),
      Height(height),
      Surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      Cr(cairo_create(Surface.get())) {
  if (cairo_surface_status(Surface.get()) != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("cannot create a picture surface");
  cairo_set_antialias(Cr.get(), CAIRO_ANTIALIAS_GOOD);
}

void SetColor(cairo_t* cr, TRgb c, double alpha) { cairo_set_source_rgba(cr, c.R, c.G, c.B, alpha); }

void FillVerticalGradient(cairo_t* cr, double x, double y0, double w, double y1, const std::vector<TRgb>& stops) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
  for (size_t i = 0; i < stops.size(); ++i) {
    const double at = stops.size() == 1 ? 0 : static_cast<double>(i) / static_cast<double>(stops.size() - 1);
    cairo_pattern_add_color_stop_rgb(p, at, stops[i].R, stops[i].G, stops[i].B);
  }
  cairo_rectangle(cr, x, y0, w, y1 - y0);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void Glow(cairo_t* cr, double x, double y, double radius, TRgb c, double alpha) {
  cairo_pattern_t* p = cairo_pattern_create_radial(x, y, 0, x, y, radius);
  cairo_pattern_add_color_stop_rgba(p, 0, c.R, c.G, c.B, alpha);
  cairo_pattern_add_color_stop_rgba(p, 0.35, c.R, c.G, c.B, alpha * 0.45);
  cairo_pattern_add_color_stop_rgba(p, 1, c.R, c.G, c.B, 0);
  cairo_arc(cr, x, y, radius, 0, 2 * M_PI);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void SoftEllipse(cairo_t* cr, double x, double y, double rx, double ry, TRgb c, double alpha, double soft) {
  const int layers = 6;
  for (int i = 0; i < layers; ++i) {
    const double grow = soft * (1.0 - static_cast<double>(i) / layers);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, std::max(rx + grow, 0.5), std::max(ry + grow * ry / std::max(rx, 1.0), 0.5));
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    SetColor(cr, c, alpha / layers * 1.6);
    cairo_fill(cr);
  }
}

void RidgePath(cairo_t* cr, TArtRandom& rnd, double x0, double x1, double baseY, double amplitude, double step,
               double bottom) {
  // Sum of two wandering walks gives broad hills with small bumps on them.
  double slow = rnd.Range(-1, 1), fast = 0;
  cairo_move_to(cr, x0, bottom);
  for (double x = x0; x <= x1 + step; x += step) {
    slow = std::clamp(slow + rnd.Range(-0.18, 0.18), -1.0, 1.0);
    fast = std::clamp(fast * 0.6 + rnd.Range(-0.5, 0.5), -1.0, 1.0);
    cairo_line_to(cr, x, baseY + amplitude * (0.8 * slow + 0.2 * fast));
  }
  cairo_line_to(cr, x1 + step, bottom);
  cairo_close_path(cr);
}

namespace {

// One horizontal and one vertical running-sum pass over premultiplied pixels.
void BoxPass(std::vector<uint32_t>& px, int w, int h, int stride, int radius, bool horizontal) {
  const int lines = horizontal ? h : w;
  const int len = horizontal ? w : h;
  std::vector<uint32_t> line(static_cast<size_t>(len));
  for (int l = 0; l < lines; ++l) {
    auto at = [&](int i) -> uint32_t& {
      return horizontal ? px[static_cast<size_t>(l) * stride + i] : px[static_cast<size_t>(i) * stride + l];
    };
    for (int i = 0; i < len; ++i) line[static_cast<size_t>(i)] = at(i);
    int sum[4] = {0, 0, 0, 0};
    auto add = [&](int i, int sign) {
      const uint32_t v = line[static_cast<size_t>(std::clamp(i, 0, len - 1))];
      for (int c = 0; c < 4; ++c) sum[c] += sign * static_cast<int>((v >> (8 * c)) & 255);
    };
    for (int i = -radius; i <= radius; ++i) add(i, 1);
    const int n = 2 * radius + 1;
    for (int i = 0; i < len; ++i) {
      uint32_t v = 0;
      for (int c = 0; c < 4; ++c) v |= static_cast<uint32_t>((sum[c] + n / 2) / n) << (8 * c);
      at(i) = v;
      add(i + radius + 1, 1);
      add(i - radius, -1);
    }
  }
}

}  // namespace

void BlurSurface(cairo_surface_t* s, int radius) {
  if (radius <= 0) return;
  cairo_surface_flush(s);
  const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
  const int stride = cairo_image_surface_get_stride(s) / 4;
  auto* data = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s));
  std::vector<uint32_t> px(data, data + static_cast<size_t>(stride) * h);
  for (int pass = 0; pass < 3; ++pass) {
    BoxPass(px, w, h, stride, radius, true);
    BoxPass(px, w, h, stride, radius, false);
  }
  std::copy(px.begin(), px.end(), data);
  cairo_surface_mark_dirty(s);
}

void AddGrain(cairo_surface_t* s, uint64_t seed, double strength) {
  cairo_surface_flush(s);
  const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
  const int stride = cairo_image_surface_get_stride(s);
  uint8_t* data = cairo_image_surface_get_data(s);
  TArtRandom rnd(seed);
  for (int y = 0; y < h; ++y) {
    uint8_t* row = data + static_cast<size_t>(y) * stride;
    for (int x = 0; x < w; ++x) {
      uint8_t* p = row + 4 * x;
      const int a = p[3];
      if (a == 0) continue;
      // Premultiplied: the grain is scaled by alpha so edges stay clean.
      const int d = static_cast<int>((rnd.Unit() - 0.5) * 2 * strength * a);
      for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(std::clamp(p[c] + d, 0, a));
    }
  }
  cairo_surface_mark_dirty(s);
}

void Paste(cairo_t* dst, cairo_surface_t* src, double x, double y, double alpha) {
  cairo_save(dst);
  cairo_set_source_surface(dst, src, x, y);
  cairo_paint_with_alpha(dst, alpha);
  cairo_restore(dst);
}

std::string JoinPath(const std::string& a, const std::string& b) {
  return (std::filesystem::path(a) / b).string();
}

void MakeDirs(const std::string& path) { std::filesystem::create_directories(path); }

TArtArchive::TArtArchive(std::string title, std::string dir) : Title(std::move(title)), Folder(std::move(dir)) {
  MakeDirs(Folder);
}

TArtImage& TArtArchive::AddLoopFrame(const char* nameFormat, int frame, int frames, int frameTimeMs,
                                     const TCanvas& canvas, bool alpha) {
  char name[64], next[64];
  std::snprintf(name, sizeof name, nameFormat, frame);
  std::snprintf(next, sizeof next, nameFormat, (frame + 1) % frames);
  TArtImage& img = Add(name, canvas, alpha);
  img.Next = next;
  img.FrameTime = frameTimeMs;
  return img;
}

TArtImage& TArtArchive::Add(const std::string& name, const TCanvas& canvas, bool alpha) {
  if (name.empty() || name.size() > 30) throw std::runtime_error("picture name must be 1 to 30 bytes: " + name);
  for (const TArtImage& i : Items)
    if (i.Name == name) throw std::runtime_error("picture name used twice: " + name);
  TArtImage img;
  img.Name = name;
  img.File = name + ".png";
  img.Alpha = alpha;
  if (!alpha) img.BlendCode = 1;
  img.Width = canvas.Width;
  img.Height = canvas.Height;
  cairo_surface_flush(canvas.Surface.get());
  if (cairo_surface_write_to_png(canvas.Surface.get(), JoinPath(Folder, img.File).c_str()) != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("cannot write " + JoinPath(Folder, img.File));
  Items.push_back(img);
  return Items.back();
}

void TArtArchive::WriteManifest() const {
  nlohmann::ordered_json images = nlohmann::ordered_json::array();
  for (const TArtImage& i : Items) {
    nlohmann::ordered_json e;
    e["name"] = i.Name;
    e["file"] = i.File;
    // Everything goes in the bitmap section: a 32-bit BMP keeps its alpha,
    // and only bitmap entries keep script-set speeds across save games.
    e["section"] = "bmp";
    e["bits"] = i.Alpha ? 32 : 24;
    e["next"] = i.Next;
    e["frame_time"] = i.FrameTime;
    e["mode"] = i.ModeCode;
    e["alpha"] = i.AlphaCode;
    e["blend"] = i.BlendCode;
    e["color"] = {1000, 1000, 1000, i.ColorA};
    e["scale"] = {1000, 1000};
    e["offset"] = {0, 0};
    images.push_back(e);
  }
  nlohmann::ordered_json doc;
  doc["title"] = Title;
  doc["images"] = images;
  std::ofstream out(JoinPath(Folder, "manifest.json"), std::ios::binary);
  out << doc.dump(1) << "\n";
  if (!out) throw std::runtime_error("cannot write the manifest in " + Folder);
}

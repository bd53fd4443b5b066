// Archive reading and the archive-backed material library: filling,
// animation, script properties and the save-game speeds.
//
// The archive's own fields follow the game's file convention (a short file
// leaves a field at its fresh zero); only the pictures are checked, and an
// unreadable picture ends the whole read with an EGameError.
#include "resources/matlib.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/cp1251.h"
#include "platform/game_error.h"
#include "platform/paths.h"
#include "platform/stream.h"
#include "render/material_links.h"
#include "render/materials.h"
#include "resources/image_readers.h"

namespace {

constexpr uint8_t kSignature[10] = {9, 'w', 'e', 'e', 'n', 'w', 'g', 'w', '0', '0'};
constexpr int32_t kVersion = 2;

void ReadRecord(TBinaryReader& in, TImageEntry& e) {
  in.ReadStr(30, e.Name);
  in.ReadInt32(e.FrameTime);
  in.ReadStr(30, e.NextName);
  in.ReadStr(30, e.Texture2Name);
  in.ReadInt32(e.ScaleX);
  in.ReadInt32(e.ScaleY);
  in.ReadInt32(e.OffsetX);
  in.ReadInt32(e.OffsetY);
  in.ReadInt32(e.ColorR);
  in.ReadInt32(e.ColorG);
  in.ReadInt32(e.ColorB);
  in.ReadInt32(e.ColorA);
  in.ReadUInt16(e.ModeCode);
  in.ReadUInt16(e.AlphaCode);
  in.ReadUInt16(e.BlendCode);
}

using TImageReader = void (*)(TBinaryReader&, TBitmap&);

// What one archive's pictures may hold in all: 256 MB of RGBA, far more than
// the textures any archive of the game was made to fill. A picture whose
// stated bytes fall short is made whole with zeros, so without a bound a
// small damaged file could ask for any amount of memory, entry by entry.
constexpr int64_t kMaxArchivePixels = int64_t{1} << 26;

void ReadSection(TBinaryReader& in, int32_t count, std::vector<TImageEntry>& entries,
                 std::vector<TBitmap>& images, int32_t& counter, TImageReader readImage, int32_t firstIndex,
                 int64_t& pixels) {
  for (int32_t i = 0; i < count; ++i) {
    entries.emplace_back();
    images.emplace_back();
    counter = static_cast<int32_t>(entries.size());
    int32_t ignored = 0;
    in.ReadInt32(ignored);
    in.ReadInt32(ignored);
    try {
      readImage(in, images.back());
      pixels += int64_t{images.back().Width} * images.back().Height;
      if (pixels > kMaxArchivePixels) {
        images.back() = TBitmap();
        throw EGameError("Pictures too large in all (more than " + std::to_string(kMaxArchivePixels) + " pixels)");
      }
    } catch (const EGameError& e) {
      throw EGameError(std::string(e.what()) + " (\"" + in.Name() + "\", image " + std::to_string(firstIndex + i) +
                       ")");
    }
    ReadRecord(in, entries.back());
  }
}

TGLLibMaterial* MaterialOf(TGLMaterialLibrary& library, int32_t index) {
  return index >= 0 && index < library.Count() ? &library.At(index) : nullptr;
}

std::string UniqueName(const TGLMaterialLibrary& library, const std::string& name) {
  if (library.IndexOf(name) < 0) return name;
  for (int n = 1;; ++n) {
    std::string candidate = name + std::to_string(n);
    if (library.IndexOf(candidate) < 0) return candidate;
  }
}

void ApplyRecord(const TImageEntry& e, TGLLibMaterial& m) {
  m.MinFilter = e.NearestMin ? miNearest : miLinearMipmapLinear;
  m.MagFilter = e.NearestMag ? maNearest : maLinear;
  m.TextureDisabled = false;
  m.TextureFormat = tfRGB;
  m.TextureScale[0] = static_cast<float>(e.ScaleX) / 1000.0f;
  m.TextureScale[1] = static_cast<float>(e.ScaleY) / 1000.0f;
  m.TextureOffset[0] = static_cast<float>(e.OffsetX) / 1000.0f;
  m.TextureOffset[1] = static_cast<float>(e.OffsetY) / 1000.0f;
  const int32_t colour[4] = {e.ColorR, e.ColorG, e.ColorB, e.ColorA};
  for (int c = 0; c < 4; ++c) m.Diffuse[c] = static_cast<float>(colour[c]) / 1000.0f;

  static constexpr TTextureMode kModes[] = {tmBlend, tmDecal, tmModulate, tmReplace};
  m.TextureMode = e.ModeCode < 4 ? kModes[e.ModeCode] : tmModulate;
  static constexpr TImageAlpha kAlphas[] = {tiaAlphaFromIntensity, tiaDefault, tiaLuminance,
                                            tiaLuminanceSqrt, tiaOpaque, tiaSuperBlackTransparent,
                                            tiaTopLeftPointColorTransparent, tiaHEdgeTransparent};
  m.ImageAlpha = e.AlphaCode < 8 ? kAlphas[e.AlphaCode] : tiaDefault;
  static constexpr TBlendingMode kBlends[] = {bmAdditive, bmOpaque, bmTransparency, bmMultiply};
  m.BlendingMode = e.BlendCode < 4 ? kBlends[e.BlendCode] : bmOpaque;
  if (e.BlendCode == 2) m.TextureFormat = tfRGBA;
}

float ClampUnit(float v) {
  if (!(v >= 0.0f)) return 0.0f;  // also catches NaN
  return v > 1.0f ? 1.0f : v;
}

}  // namespace

TImageEntry* MatLibEntry(TqvxMatLib& lib, int32_t index) {
  if (index < 0) return nullptr;
  if (index < lib.BitmapCount) return &lib.BitmapEntries[static_cast<size_t>(index)];
  index -= lib.BitmapCount;
  return index < lib.TargaCount ? &lib.TargaEntries[static_cast<size_t>(index)] : nullptr;
}

const TImageEntry* MatLibEntry(const TqvxMatLib& lib, int32_t index) {
  return MatLibEntry(const_cast<TqvxMatLib&>(lib), index);
}

void MatLibClear(TqvxMatLib& lib) {
  lib.BitmapEntries.clear();
  lib.BitmapImages.clear();
  lib.BitmapCount = 0;
  lib.TargaEntries.clear();
  lib.TargaImages.clear();
  lib.TargaCount = 0;
}

void MatLibOpen(TqvxMatLib& lib, const std::string& fileName) {
  MatLibClear(lib);
  lib.FileName = fileName.substr(0, 50);
  TBinaryReader in(ResolveGamePath(fileName), fileName);
  MatLibRead(lib, in);
}

void MatLibRead(TqvxMatLib& lib, TBinaryReader& in) {
  uint8_t signature[10] = {};
  in.ReadBytes(signature, sizeof signature);
  // The first byte is the length of the text after it; only 9 then
  // "weenwgw00" passes.
  if (std::memcmp(signature, kSignature, sizeof kSignature) != 0) return;
  int32_t version = 0;
  in.ReadInt32(version);
  if (version != kVersion) return;
  in.ReadStr(20, lib.Title);

  int32_t bitmaps = 0;
  in.ReadInt32(bitmaps);
  int64_t pixels = 0;
  ReadSection(in, bitmaps, lib.BitmapEntries, lib.BitmapImages, lib.BitmapCount, ReadBmpImage, 0, pixels);
  int32_t targas = 0;
  if (!in.AtEnd()) in.ReadInt32(targas);
  ReadSection(in, targas, lib.TargaEntries, lib.TargaImages, lib.TargaCount, ReadTgaImage, lib.BitmapCount,
              pixels);
  if (!in.AtEnd())
    for (TImageEntry& e : lib.BitmapEntries) in.ReadByte(e.NearestMin), in.ReadByte(e.NearestMag);
  if (!in.AtEnd())
    for (TImageEntry& e : lib.TargaEntries) in.ReadByte(e.NearestMin), in.ReadByte(e.NearestMag);
}

void MatLibFill(TqvxMatLib& lib, TGLMaterialLibrary& library) {
  // Image i must be material i; a library with materials left in it would
  // shift every index.
  if (library.Count() > 0) library.Clear();
  const int32_t count = MatLibImageCount(lib);
  for (int32_t i = 0; i < count; ++i) {
    const TImageEntry& e = *MatLibEntry(lib, i);
    TBitmap& picture = i < lib.BitmapCount ? lib.BitmapImages[static_cast<size_t>(i)]
                                           : lib.TargaImages[static_cast<size_t>(i - lib.BitmapCount)];
    TGLLibMaterial m;
    m.Name = UniqueName(library, e.Name);
    // The material takes the pixels; the archive keeps the dimensions.
    m.Image.Width = picture.Width;
    m.Image.Height = picture.Height;
    m.Image.Bits = picture.Bits;
    m.Image.Pixels = std::move(picture.Pixels);
    picture.Pixels = {};
    ApplyRecord(e, m);
    library.Add(std::move(m));
  }
  // Links from the records pass the same circle check as links set at run
  // time. A circle is reported but costs only the link that closes it, so a
  // damaged archive still gives every picture.
  std::vector<std::string> links(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) links[static_cast<size_t>(i)] = MatLibEntry(lib, i)->Texture2Name;
  for (const int i : SetTexture2Names(library, links)) {
    std::fprintf(stderr,
                 "Error: Cyclic material reference detected! (image \"%s\" of \"%s\" is drawn without its "
                 "second texture)\n",
                 Cp1251ToUtf8(library.At(i).Name).c_str(), Cp1251ToUtf8(lib.FileName).c_str());
  }
}

int32_t MatLibFindImage(const TqvxMatLib& lib, const std::string& name) {
  for (int32_t i = 0; i < lib.BitmapCount; ++i)
    if (lib.BitmapEntries[static_cast<size_t>(i)].Name == name) return i;
  for (int32_t j = 0; j < lib.TargaCount; ++j)
    if (lib.TargaEntries[static_cast<size_t>(j)].Name == name) return lib.BitmapCount + j;
  return -1;
}

void MatLibAnimate(TqvxMatLib& lib, TGLMaterialLibrary& library, float seconds) {
  const int32_t count = MatLibImageCount(lib);
  for (int32_t i = 0; i < count; ++i) {
    const TImageEntry& e = *MatLibEntry(lib, i);
    if (!e.OffsetSpeedX && !e.OffsetSpeedY && !e.ColorSpeed[0] && !e.ColorSpeed[1] && !e.ColorSpeed[2] &&
        !e.ColorSpeed[3])
      continue;
    TGLLibMaterial* m = MaterialOf(library, i);
    if (!m) continue;
    if (e.OffsetSpeedX) m->TextureOffset[0] += static_cast<float>(e.OffsetSpeedX) * seconds / 1000000.0f;
    if (e.OffsetSpeedY) m->TextureOffset[1] += static_cast<float>(e.OffsetSpeedY) * seconds / 1000000.0f;
    for (int c = 0; c < 4; ++c)
      if (e.ColorSpeed[c])
        m->Diffuse[c] = ClampUnit(m->Diffuse[c] + static_cast<float>(e.ColorSpeed[c]) * seconds / 1000.0f);
  }
}

void MatLibSetProperty(TqvxMatLib& lib, TGLMaterialLibrary& library, int32_t property, bool allImages,
                       const std::string& imageName, int32_t value) {
  int32_t first = 0, last = MatLibImageCount(lib) - 1;
  if (!allImages) {
    first = last = MatLibFindImage(lib, imageName);
    if (first < 0) return;
  }
  const float scaled = static_cast<float>(value) / 1000.0f;
  for (int32_t i = first; i <= last; ++i) {
    TImageEntry& e = *MatLibEntry(lib, i);
    TGLLibMaterial* m = MaterialOf(library, i);
    switch (property) {
      case 1: e.OffsetSpeedX = value; break;
      case 2: e.OffsetSpeedY = value; break;
      case 3: case 4: case 5: case 6:
        if (m) m->Diffuse[property - 3] = scaled;
        break;
      case 7: case 8:
        if (m) m->TextureScale[property - 7] = scaled;
        break;
      case 9: case 10: case 11: case 12: e.ColorSpeed[property - 9] = value; break;
      default: return;
    }
  }
}

void MatLibSaveState(const TqvxMatLib& lib, TBinaryWriter& out) {
  for (const TImageEntry& e : lib.BitmapEntries) {
    out.WriteInt32(e.OffsetSpeedX);
    out.WriteInt32(e.OffsetSpeedY);
    for (int32_t s : e.ColorSpeed) out.WriteInt32(s);
  }
}

void MatLibLoadState(TqvxMatLib& lib, TBinaryReader& in) {
  for (TImageEntry& e : lib.BitmapEntries) {
    in.ReadInt32(e.OffsetSpeedX);
    in.ReadInt32(e.OffsetSpeedY);
    for (int32_t& s : e.ColorSpeed) in.ReadInt32(s);
  }
}

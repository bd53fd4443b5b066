// An image archive held in memory (TqvxMatLib) and the procedures that turn
// it into named, animated materials of a TGLMaterialLibrary.
//
// Image index i counts the bitmap section first, then the targa section
// (image BitmapCount is targa entry 0). After MatLibFill, material i of the
// library is image i; every procedure here relies on that. MatLibFill moves
// each picture into its material, so the archive keeps only the records and
// the pictures' dimensions and pixels are held once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/bitmap.h"

class TBinaryReader;
class TBinaryWriter;
class TGLMaterialLibrary;

// One 135-byte image record of an archive, then the filter bytes and the
// run-time speeds that only scripts and save games set.
struct TImageEntry {
  std::string Name;          // str30, cp1251; the material's name
  int32_t FrameTime = 0;     // milliseconds shown before NextName replaces it
  std::string NextName;      // str30; next image of an animation, empty: none
  std::string Texture2Name;  // str30; second-texture material, empty: none
  int32_t ScaleX = 0, ScaleY = 0;    // texture scale, thousandths
  int32_t OffsetX = 0, OffsetY = 0;  // texture offset, thousandths of the texture
  int32_t ColorR = 0, ColorG = 0, ColorB = 0, ColorA = 0;  // diffuse, thousandths
  uint16_t ModeCode = 0;   // texture mode code (0 blend, 1 decal, 2 modulate, 3 replace)
  uint16_t AlphaCode = 0;  // image alpha code (0..7)
  uint16_t BlendCode = 0;  // blending code (0 additive, 1 opaque, 2 transparency, 3 multiply)
  uint8_t NearestMin = 0, NearestMag = 0;  // non-zero: nearest-texel sampling
  int32_t OffsetSpeedX = 0, OffsetSpeedY = 0;  // millionths of the texture per second
  int32_t ColorSpeed[4] = {0, 0, 0, 0};        // r, g, b, a; thousandths per second
};

struct TqvxMatLib {
  std::vector<TImageEntry> BitmapEntries;
  std::vector<TBitmap> BitmapImages;  // pixels empty once MatLibFill has run
  int32_t BitmapCount = 0;
  std::vector<TImageEntry> TargaEntries;
  std::vector<TBitmap> TargaImages;  // pixels empty once MatLibFill has run
  int32_t TargaCount = 0;
  std::string Title;     // str20, not used by the game
  std::string FileName;  // str50: the game path given to MatLibOpen
};

// An archive and the library its images fill.
struct TMatLibPair {
  TqvxMatLib* Archive = nullptr;
  TGLMaterialLibrary* Library = nullptr;
};

// Clears the record, keeps `fileName` (cut to 50 bytes), reads the game file.
// Throws EGameError for a file that cannot be opened, an image that cannot
// be read, or pictures above 2^26 pixels in all; entries read before the
// error stay in the record.
void MatLibOpen(TqvxMatLib& lib, const std::string& fileName);
// Reads one archive from the stream's position. A wrong signature or version
// reads nothing and is not an error.
void MatLibRead(TqvxMatLib& lib, TBinaryReader& in);
void MatLibClear(TqvxMatLib& lib);
// One material per image, in image order; the pictures move into the
// materials. A library that still holds materials is cleared first.
void MatLibFill(TqvxMatLib& lib, TGLMaterialLibrary& library);
int32_t MatLibFindImage(const TqvxMatLib& lib, const std::string& name);
void MatLibAnimate(TqvxMatLib& lib, TGLMaterialLibrary& library, float seconds);
// Property codes 1..12 on one image (by name) or all images of a pair.
void MatLibSetProperty(TqvxMatLib& lib, TGLMaterialLibrary& library, int32_t property, bool allImages,
                       const std::string& imageName, int32_t value);
// 24 bytes of speeds per bitmap entry; targa entries are not saved.
void MatLibSaveState(const TqvxMatLib& lib, TBinaryWriter& out);
void MatLibLoadState(TqvxMatLib& lib, TBinaryReader& in);

// Entry count of both sections.
inline int32_t MatLibImageCount(const TqvxMatLib& lib) { return lib.BitmapCount + lib.TargaCount; }
// The record of image `index` (bitmap section first); nullptr when out of range.
TImageEntry* MatLibEntry(TqvxMatLib& lib, int32_t index);
const TImageEntry* MatLibEntry(const TqvxMatLib& lib, int32_t index);

// Builds image archives from pictures and records: the writer behind
// "qvxtool wgw pack" and the archives that tests and the demo generator make.
// The output reads back through MatLibRead with the same records and pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/bitmap.h"
#include "resources/matlib.h"

class TBinaryWriter;

struct TArchiveImage {
  TImageEntry Record;  // text in cp1251; run-time speeds are not stored
  // RGBA, top row first. Bits picks the stored form: a BMP of 1, 4, 8, 16, 24
  // or 32 bits (palette forms fall back to 24 bits when the colours do not
  // fit), a TGA of 32 bits when Bits is 32, else 24.
  TBitmap Picture;
  bool TopDown = false;  // rows stored top row first
  // TGA only: -1 picks run-length coding where it is smaller, 0 never, 1 always.
  int Rle = -1;
};

struct TArchiveSource {
  std::string Title;  // str20
  std::vector<TArchiveImage> Bitmaps;
  std::vector<TArchiveImage> Targas;
  bool WriteTargaSection = true;   // false: the file ends after the bitmaps
  bool WriteFilterSection = true;  // false: no filter bytes
};

std::vector<uint8_t> WriteArchive(const TArchiveSource& source);
// Stand-alone picture files, as they are stored inside an archive.
void WriteBmpImage(TBinaryWriter& out, const TBitmap& picture, int bits, bool topDown = false);
void WriteTgaImage(TBinaryWriter& out, const TBitmap& picture, int bits, bool topDown = false, int rle = -1);

// Readers for the two picture formats stored in image archives: Windows
// bitmaps (core, 40-byte and longer info headers; 1 to 32 bits a pixel) and
// Truevision TGA (types 0, 2 and 10; 24 and 32 bits a pixel).
//
// Each reader starts at the first byte of the image and stops right after its
// last one; nothing before or after the image is looked at. Failures throw
// EGameError with the text a player would see ("Bitmap image is not valid",
// "Stream read error", the TGA texts). Sizes are checked against the bytes
// left before anything is allocated, and no write leaves the picture.
#pragma once

#include <cstdint>

#include "render/bitmap.h"

class TBinaryReader;

// The largest picture accepted, in pixels (a quarter gigabyte of RGBA).
constexpr int64_t kMaxImagePixels = int64_t{1} << 26;

void ReadBmpImage(TBinaryReader& in, TBitmap& out);
void ReadTgaImage(TBinaryReader& in, TBitmap& out);

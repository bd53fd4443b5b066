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

// The largest picture accepted, in pixels (64 MB of RGBA, some twenty
// screens of the game), and the longest side any renderer is asked to take.
constexpr int64_t kMaxImagePixels = int64_t{1} << 24;
constexpr int32_t kMaxImageSide = 8192;

// A side longer than the renderer's largest texture cannot be shown, and a
// run-length picture that claims one would only fill memory: the readers
// refuse it before decoding. The game sets its renderer's limit once the
// context is up (never above kMaxImageSide, which is the limit until then);
// the tools keep the default.
void SetImageSideLimit(int32_t side);
int32_t ImageSideLimit();

void ReadBmpImage(TBinaryReader& in, TBitmap& out);
void ReadTgaImage(TBinaryReader& in, TBitmap& out);

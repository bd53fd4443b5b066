// An image archive held in memory: its images and their records, in the
// archive's order (bitmap section first, then the targa section).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/bitmap.h"

struct TImageEntry {
  std::string Name;          // str30
  int32_t FrameTime = 0;     // milliseconds
  std::string NextName;      // str30
  std::string Texture2Name;  // str30
  int32_t ScaleX = 0, ScaleY = 0, OffsetX = 0, OffsetY = 0;
  int32_t ColorR = 0, ColorG = 0, ColorB = 0, ColorA = 0;
  uint8_t ModeCode = 0, AlphaCode = 0, BlendCode = 0;
  uint8_t NearestMin = 0, NearestMag = 0;
  int32_t OffsetSpeedX = 0, OffsetSpeedY = 0;
  int32_t ColorSpeed[4] = {0, 0, 0, 0};
};

struct TqvxMatLib {
  std::vector<TImageEntry> BitmapEntries;
  std::vector<TBitmap> BitmapImages;
  int32_t BitmapCount = 0;
  std::vector<TImageEntry> TargaEntries;
  std::vector<TBitmap> TargaImages;
  int32_t TargaCount = 0;
  std::string Title;     // str20
  std::string FileName;  // str50
};

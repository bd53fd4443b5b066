// PNG files for the archive tools: RGBA pictures, top row first.
#pragma once

#include <filesystem>

#include "render/bitmap.h"

// Throws std::runtime_error naming the file. Bits is 32 when the file has an
// alpha channel, else 24.
TBitmap ReadPngFile(const std::filesystem::path& file);
// Writes RGB when every alpha is 255, else RGBA.
void WritePngFile(const std::filesystem::path& file, const TBitmap& picture);

// Screenshot files: the first free name "screen_NNNN.bmp" in a folder, and the
// picture written as a 32-bit Windows bitmap (file header, 40-byte info header,
// rows bottom-up, bytes blue, green, red, alpha).
#pragma once

#include <filesystem>
#include <optional>

#include "render/bitmap.h"

// "screen_0000.bmp" to "screen_9999.bmp" under `dir`: the first name under
// which nothing exists (a dangling link counts as existing). Empty when all
// 10000 are taken.
std::optional<std::filesystem::path> NextScreenshotName(const std::filesystem::path& dir);

// Writes `picture` (RGBA, top row first). Throws EGameError when the bitmap's
// pixel buffer does not match its size or the file cannot be written.
void SaveBitmap32(const std::filesystem::path& file, const TBitmap& picture);

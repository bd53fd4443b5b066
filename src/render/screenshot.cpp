#include "render/screenshot.h"

#include <cstdio>
#include <system_error>

#include "platform/game_error.h"
#include "platform/stream.h"

std::optional<std::filesystem::path> NextScreenshotName(const std::filesystem::path& dir) {
  for (int n = 0; n <= 9999; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "screen_%04d.bmp", n);
    std::filesystem::path candidate = dir / name;
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(candidate, ec);
    if (status.type() == std::filesystem::file_type::not_found) return candidate;
  }
  return std::nullopt;
}

void SaveBitmap32(const std::filesystem::path& file, const TBitmap& picture) {
  constexpr uint32_t kHeaders = 14 + 40;
  // Keeps the size fields in range: 16384 x 16384 x 4 fits in 32 bits.
  if (picture.Width <= 0 || picture.Height <= 0 || picture.Width > 16384 || picture.Height > 16384 ||
      picture.Pixels.size() != static_cast<size_t>(picture.Width) * static_cast<size_t>(picture.Height) * 4)
    throw EGameError("Cannot save " + file.string() + ": the picture's pixels do not match its size");
  const uint32_t imageSize = static_cast<uint32_t>(picture.Pixels.size());

  TBinaryWriter out;
  out.WriteBytes("BM", 2);
  out.WriteUInt32(kHeaders + imageSize);
  out.WriteUInt32(0);  // two reserved words
  out.WriteUInt32(kHeaders);
  out.WriteUInt32(40);
  out.WriteInt32(picture.Width);
  out.WriteInt32(picture.Height);  // positive: bottom row first
  out.WriteUInt16(1);              // planes
  out.WriteUInt16(32);
  out.WriteUInt32(0);  // uncompressed
  out.WriteUInt32(imageSize);
  out.WriteInt32(2835);  // 72 dots per inch, in dots per metre
  out.WriteInt32(2835);
  out.WriteUInt32(0);  // colours used
  out.WriteUInt32(0);  // important colours

  std::vector<uint8_t>& bytes = out.Bytes();
  bytes.resize(kHeaders + imageSize);
  const size_t stride = static_cast<size_t>(picture.Width) * 4;
  uint8_t* dst = bytes.data() + kHeaders;
  for (int32_t y = picture.Height - 1; y >= 0; --y) {
    const uint8_t* row = picture.Pixels.data() + static_cast<size_t>(y) * stride;
    for (size_t x = 0; x < stride; x += 4, dst += 4) {
      dst[0] = row[x + 2];
      dst[1] = row[x + 1];
      dst[2] = row[x];
      dst[3] = row[x + 3];
    }
  }
  WriteFileBytes(file, bytes);
}

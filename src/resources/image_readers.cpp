// BMP and TGA decoding into TBitmap (RGBA, top row first). Rows are decoded
// one at a time straight into the picture, so reading an image needs no
// memory beyond the picture itself and one row.
#include "resources/image_readers.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>
#include <vector>

#include "platform/game_error.h"
#include "platform/stream.h"

namespace {

[[noreturn]] void StreamReadError() { throw EGameError("Stream read error"); }
[[noreturn]] void BitmapNotValid() { throw EGameError("Bitmap image is not valid"); }

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

int32_t gImageSideLimit = kMaxImageSide;

void CheckPixelCount(int64_t width, int64_t height) {
  // A picture without rows or columns is empty, whatever its other side says.
  const bool empty = width == 0 || height == 0;
  if (width < 0 || height < 0 ||
      (!empty && (width > gImageSideLimit || height > gImageSideLimit || width > kMaxImagePixels / height)))
    throw EGameError("Image too large (" + std::to_string(width) + " x " + std::to_string(height) +
                     " pixels; at most " + std::to_string(gImageSideLimit) + " a side and " +
                     std::to_string(kMaxImagePixels) + " in all)");
}

void Allocate(TBitmap& out, int32_t width, int32_t height, int32_t bits) {
  CheckPixelCount(width, height);
  // A picture without pixels has no size either, so nothing loops over its rows.
  if (width == 0 || height == 0) width = height = 0;
  out.Width = width;
  out.Height = height;
  out.Bits = bits;
  out.Pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
}

// One channel of a bit-field pixel, scaled to 0..255.
struct TChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  uint32_t Max = 0;

  explicit TChannel(uint32_t mask) : Mask(mask) {
    if (!mask) return;
    Shift = std::countr_zero(mask);
    Max = mask >> Shift;
  }
  uint8_t Get(uint32_t v) const {
    if (!Max) return 0;
    const uint64_t c = (v & Mask) >> Shift;
    return static_cast<uint8_t>((c * 255 + Max / 2) / Max);
  }
};

struct TBmpLayout {
  int32_t Width = 0;
  int32_t Height = 0;
  uint16_t Planes = 0;
  uint16_t Bits = 0;
  uint32_t Compression = 0;
  uint32_t ImageSize = 0;
  uint32_t ColorsUsed = 0;
  uint32_t Masks[3] = {0, 0, 0};
  bool HasMasks = false;
  bool Core = false;
};

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitFields = 3;

TBmpLayout ReadBmpHeaders(TBinaryReader& in) {
  uint8_t fileHeader[14];
  if (!in.ReadBytes(fileHeader, sizeof fileHeader)) StreamReadError();
  if (fileHeader[0] != 'B' || fileHeader[1] != 'M') BitmapNotValid();

  TBmpLayout h;
  uint32_t headerSize = 0;
  if (!in.ReadUInt32(headerSize)) StreamReadError();
  if (headerSize == 12) {
    uint8_t core[8];
    if (!in.ReadBytes(core, sizeof core)) StreamReadError();
    h.Core = true;
    h.Width = Le16(core);
    h.Height = Le16(core + 2);
    h.Planes = Le16(core + 4);
    h.Bits = Le16(core + 6);
  } else {
    // Any other size is laid out as the 40-byte header; longer headers carry
    // their masks right after it, and the rest is skipped.
    uint8_t info[48] = {};
    const uint64_t rest = headerSize >= 4 ? headerSize - 4u : 0;
    if (rest > in.Remaining()) StreamReadError();
    const size_t keep = static_cast<size_t>(std::min<uint64_t>(rest, sizeof info));
    if (!in.ReadBytes(info, keep) || !in.Skip(rest - keep)) StreamReadError();
    h.Width = static_cast<int32_t>(Le32(info));
    h.Height = static_cast<int32_t>(Le32(info + 4));
    h.Planes = Le16(info + 8);
    h.Bits = Le16(info + 10);
    h.Compression = Le32(info + 12);
    h.ImageSize = Le32(info + 16);
    h.ColorsUsed = Le32(info + 28);
    const bool fields = h.Compression == kBiBitFields && (h.Bits == 16 || h.Bits == 32);
    if (fields && headerSize == 40) {
      uint8_t masks[12];
      if (!in.ReadBytes(masks, sizeof masks)) StreamReadError();
      for (int i = 0; i < 3; ++i) h.Masks[i] = Le32(masks + 4 * i);
      h.HasMasks = true;
    } else if (fields && headerSize >= 52) {
      for (int i = 0; i < 3; ++i) h.Masks[i] = Le32(info + 36 + 4 * i);
      h.HasMasks = true;
    }
  }
  if (h.Planes != 1) BitmapNotValid();
  switch (h.Bits) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: BitmapNotValid();
  }
  if (h.Width < 0 || h.Height == INT32_MIN) BitmapNotValid();
  if (!h.HasMasks) {
    if (h.Bits == 16) {
      h.Masks[0] = 0x7C00, h.Masks[1] = 0x03E0, h.Masks[2] = 0x001F;
    } else {
      h.Masks[0] = 0xFF0000, h.Masks[1] = 0xFF00, h.Masks[2] = 0xFF;
    }
  }
  return h;
}

}  // namespace

void SetImageSideLimit(int32_t side) { gImageSideLimit = side > 0 && side < kMaxImageSide ? side : kMaxImageSide; }

int32_t ImageSideLimit() { return gImageSideLimit; }

void ReadBmpImage(TBinaryReader& in, TBitmap& out) {
  const TBmpLayout h = ReadBmpHeaders(in);
  const int32_t height = h.Height < 0 ? -h.Height : h.Height;
  const bool bottomUp = h.Height > 0;

  if (h.Compression != kBiRgb && h.Compression != kBiBitFields) {
    // Compressed pictures are not stored in archives; such an image is taken
    // to run to the end of the data and yields an empty picture.
    out.Width = out.Height = 0;
    out.Bits = h.Bits;
    out.Pixels.clear();
    in.Skip(in.Remaining());
    return;
  }

  // Colour table.
  uint64_t colours = h.ColorsUsed;
  if (colours == 0 && h.Bits <= 8) colours = uint64_t{1} << h.Bits;
  const uint64_t entrySize = h.Core ? 3 : 4;
  if (colours > in.Remaining() / entrySize) StreamReadError();
  uint8_t palette[256][4] = {};
  const uint64_t kept = std::min<uint64_t>(colours, 256);
  for (uint64_t i = 0; i < kept; ++i)
    if (!in.ReadBytes(palette[i], entrySize)) StreamReadError();
  if (!in.Skip((colours - kept) * entrySize)) StreamReadError();
  const uint64_t paletteSize = h.Bits <= 8 ? kept : 0;

  const uint64_t rowBytes = (static_cast<uint64_t>(h.Width) * h.Bits + 31) / 32 * 4;
  const uint64_t rowsBytes = rowBytes * static_cast<uint64_t>(height);
  const uint64_t dataBytes = h.ImageSize ? h.ImageSize : rowsBytes;
  // Exactly the stated bytes belong to the image, however short of the rows
  // they fall: the next entry starts after them, and whatever rows they do not
  // reach stay 0.
  if (dataBytes > in.Remaining()) StreamReadError();
  Allocate(out, h.Width, height, h.Bits);

  const bool plain32 = h.Bits == 32 && h.Masks[0] == 0xFF0000 && h.Masks[1] == 0xFF00 && h.Masks[2] == 0xFF;
  const TChannel red(h.Masks[0]), green(h.Masks[1]), blue(h.Masks[2]);
  // Only a picture with rows needs a row buffer.
  std::vector<uint8_t> row(out.Height ? static_cast<size_t>(rowBytes) : 0);
  uint64_t left = dataBytes;
  const size_t width = static_cast<size_t>(out.Width);
  for (int32_t r = 0; r < out.Height; ++r) {
    const size_t stated = static_cast<size_t>(std::min<uint64_t>(left, row.size()));
    if (!in.ReadBytes(row.data(), stated)) StreamReadError();
    std::fill(row.begin() + static_cast<std::ptrdiff_t>(stated), row.end(), uint8_t{0});
    left -= stated;
    uint8_t* dst = out.Pixels.data() + static_cast<size_t>(bottomUp ? out.Height - 1 - r : r) * width * 4;
    const uint8_t* src = row.data();
    switch (h.Bits) {
      case 1: case 4: case 8: {
        const int bits = h.Bits;
        const unsigned mask = (1u << bits) - 1;
        for (size_t x = 0; x < width; ++x, dst += 4) {
          const size_t bit = x * bits;
          const unsigned index = (src[bit / 8] >> (8 - bits - bit % 8)) & mask;
          if (index < paletteSize) {
            dst[0] = palette[index][2], dst[1] = palette[index][1], dst[2] = palette[index][0];
          }
          dst[3] = 255;
        }
        break;
      }
      case 16:
        for (size_t x = 0; x < width; ++x, dst += 4, src += 2) {
          const uint32_t v = Le16(src);
          dst[0] = red.Get(v), dst[1] = green.Get(v), dst[2] = blue.Get(v), dst[3] = 255;
        }
        break;
      case 24:
        for (size_t x = 0; x < width; ++x, dst += 4, src += 3) {
          dst[0] = src[2], dst[1] = src[1], dst[2] = src[0], dst[3] = 255;
        }
        break;
      case 32:
        if (plain32) {
          for (size_t x = 0; x < width; ++x, dst += 4, src += 4) {
            dst[0] = src[2], dst[1] = src[1], dst[2] = src[0], dst[3] = src[3];
          }
        } else {
          for (size_t x = 0; x < width; ++x, dst += 4, src += 4) {
            const uint32_t v = Le32(src);
            dst[0] = red.Get(v), dst[1] = green.Get(v), dst[2] = blue.Get(v), dst[3] = 255;
          }
        }
        break;
    }
  }
  if (!in.Skip(left)) StreamReadError();
}

void ReadTgaImage(TBinaryReader& in, TBitmap& out) {
  uint8_t h[18];
  if (!in.ReadBytes(h, sizeof h)) StreamReadError();
  const uint8_t idLength = h[0], colourMapType = h[1], imageType = h[2];
  const int32_t width = Le16(h + 12), height = Le16(h + 14);
  const uint8_t depth = h[16];
  const bool topDown = (h[17] & 0x20) != 0;
  if (colourMapType != 0) throw EGameError("ColorMapped TGA unsupported");
  if (depth != 24 && depth != 32) throw EGameError("Unsupported TGA ImageType");
  if (!in.Skip(idLength)) StreamReadError();

  const size_t pixelBytes = depth / 8;
  const uint64_t pixels = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
  switch (imageType) {
    case 0:
      out.Width = out.Height = 0;
      out.Bits = depth;
      out.Pixels.clear();
      return;
    case 2: {
      if (pixels * pixelBytes > in.Remaining()) StreamReadError();
      Allocate(out, width, height, depth);
      std::vector<uint8_t> row(static_cast<size_t>(out.Width) * pixelBytes);
      for (int32_t r = 0; r < out.Height; ++r) {
        if (!in.ReadBytes(row.data(), row.size())) StreamReadError();
        uint8_t* dst = out.Pixels.data() + static_cast<size_t>(topDown ? r : height - 1 - r) * width * 4;
        for (const uint8_t* src = row.data(); src < row.data() + row.size(); src += pixelBytes, dst += 4) {
          dst[0] = src[2], dst[1] = src[1], dst[2] = src[0];
          dst[3] = depth == 32 ? src[3] : 255;
        }
      }
      return;
    }
    case 10: {
      // Every packet yields at most 128 pixels and takes at least one pixel
      // and its packet byte, which bounds the picture by the bytes left.
      if ((pixels + 127) / 128 > in.Remaining() / (pixelBytes + 1)) StreamReadError();
      Allocate(out, width, height, depth);
      uint8_t packet[128 * 4];
      uint64_t done = 0;
      while (done < pixels) {
        uint8_t c = 0;
        if (!in.ReadByte(c)) StreamReadError();
        const bool repeat = c >= 128;
        const uint64_t count = (c & 0x7F) + 1u;
        if (count > pixels - done) throw EGameError("TGA run-length data runs past the end of the image");
        if (!in.ReadBytes(packet, repeat ? pixelBytes : count * pixelBytes)) StreamReadError();
        for (uint64_t i = 0; i < count; ++i, ++done) {
          const uint8_t* src = repeat ? packet : packet + i * pixelBytes;
          const uint64_t fileRow = done / static_cast<uint64_t>(width);
          const uint64_t x = done % static_cast<uint64_t>(width);
          const uint64_t row = topDown ? fileRow : static_cast<uint64_t>(height) - 1 - fileRow;
          uint8_t* dst = out.Pixels.data() + (row * static_cast<uint64_t>(width) + x) * 4;
          dst[0] = src[2], dst[1] = src[1], dst[2] = src[0];
          dst[3] = depth == 32 ? src[3] : 255;
        }
      }
      return;
    }
    default:
      throw EGameError("Unsupported TGA ImageType " + std::to_string(imageType));
  }
}

// Archive, BMP and TGA writing. Every picture is stored so that the readers
// give back exactly the same RGBA pixels: palette forms only when every colour
// fits, 16-bit 5-5-5 only for colours that 5 bits a channel reproduce.
#include "resources/archive_writer.h"

#include <algorithm>
#include <map>

#include "platform/stream.h"

namespace {

const uint8_t* PixelAt(const TBitmap& p, int32_t x, int32_t y) {
  return p.Pixels.data() + (static_cast<size_t>(y) * static_cast<size_t>(p.Width) + static_cast<size_t>(x)) * 4;
}

uint32_t Rgb(const uint8_t* px) { return static_cast<uint32_t>(px[0]) << 16 | px[1] << 8 | px[2]; }

// Palette of at most `limit` colours in first-use order; empty when it does not fit.
std::vector<uint32_t> Palette(const TBitmap& p, size_t limit, std::map<uint32_t, uint8_t>& index) {
  std::vector<uint32_t> colours;
  for (size_t i = 0; i + 3 < p.Pixels.size(); i += 4) {
    const uint32_t c = Rgb(&p.Pixels[i]);
    if (index.count(c)) continue;
    if (colours.size() == limit) return {};
    index.emplace(c, static_cast<uint8_t>(colours.size()));
    colours.push_back(c);
  }
  return colours;
}

// 5-bit channels survive a 5-5-5 round trip exactly when they are what the
// reader makes of some 5-bit value.
uint8_t Expand5(unsigned v) { return static_cast<uint8_t>((v * 255 + 15) / 31); }
unsigned Reduce5(uint8_t c) { return (c * 31u + 127) / 255; }
bool Fits555(const TBitmap& p) {
  for (size_t i = 0; i + 3 < p.Pixels.size(); i += 4)
    for (int c = 0; c < 3; ++c)
      if (Expand5(Reduce5(p.Pixels[i + c])) != p.Pixels[i + c]) return false;
  return true;
}

void WriteTgaPixel(std::vector<uint8_t>& out, const uint8_t* px, int depth) {
  out.push_back(px[2]), out.push_back(px[1]), out.push_back(px[0]);
  if (depth == 32) out.push_back(px[3]);
}

bool SamePixel(const uint8_t* a, const uint8_t* b, int depth) {
  return a[0] == b[0] && a[1] == b[1] && a[2] == b[2] && (depth != 32 || a[3] == b[3]);
}

void WriteRecord(TBinaryWriter& out, const TImageEntry& e) {
  out.WriteStr(30, e.Name);
  out.WriteInt32(e.FrameTime);
  out.WriteStr(30, e.NextName);
  out.WriteStr(30, e.Texture2Name);
  out.WriteInt32(e.ScaleX);
  out.WriteInt32(e.ScaleY);
  out.WriteInt32(e.OffsetX);
  out.WriteInt32(e.OffsetY);
  out.WriteInt32(e.ColorR);
  out.WriteInt32(e.ColorG);
  out.WriteInt32(e.ColorB);
  out.WriteInt32(e.ColorA);
  out.WriteUInt16(e.ModeCode);
  out.WriteUInt16(e.AlphaCode);
  out.WriteUInt16(e.BlendCode);
}

}  // namespace

void WriteBmpImage(TBinaryWriter& out, const TBitmap& p, int bits, bool topDown) {
  std::map<uint32_t, uint8_t> index;
  std::vector<uint32_t> palette;
  if (bits == 1 || bits == 4 || bits == 8) {
    palette = Palette(p, size_t{1} << bits, index);
    if (palette.empty() && !p.Pixels.empty()) bits = 24;
  } else if (bits == 16) {
    if (!Fits555(p)) bits = 24;
  } else if (bits != 32) {
    bits = 24;
  }
  const uint32_t rowBytes = (static_cast<uint32_t>(p.Width) * static_cast<uint32_t>(bits) + 31) / 32 * 4;
  const uint32_t tableBytes = bits <= 8 ? static_cast<uint32_t>(palette.size()) * 4 : 0;
  const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(p.Height);
  const uint32_t offset = 14 + 40 + tableBytes;
  out.WriteBytes("BM", 2);
  out.WriteUInt32(offset + imageBytes);
  out.WriteUInt32(0);
  out.WriteUInt32(offset);
  out.WriteUInt32(40);
  out.WriteInt32(p.Width);
  out.WriteInt32(topDown ? -p.Height : p.Height);
  out.WriteUInt16(1);
  out.WriteUInt16(static_cast<uint16_t>(bits));
  out.WriteUInt32(0);  // uncompressed
  out.WriteUInt32(imageBytes);
  out.WriteInt32(2835);
  out.WriteInt32(2835);
  out.WriteUInt32(bits <= 8 ? static_cast<uint32_t>(palette.size()) : 0);
  out.WriteUInt32(0);
  for (uint32_t c : palette) out.WriteUInt32(c);  // B, G, R, 0 in file order

  std::vector<uint8_t> row(rowBytes);
  for (int32_t r = 0; r < p.Height; ++r) {
    const int32_t y = topDown ? r : p.Height - 1 - r;
    std::fill(row.begin(), row.end(), 0);
    for (int32_t x = 0; x < p.Width; ++x) {
      const uint8_t* px = PixelAt(p, x, y);
      uint8_t* d = row.data();
      switch (bits) {
        case 1: case 4: case 8: {
          const size_t bit = static_cast<size_t>(x) * static_cast<size_t>(bits);
          d[bit / 8] |= static_cast<uint8_t>(index[Rgb(px)] << (8 - bits - bit % 8));
          break;
        }
        case 16: {
          const unsigned v = Reduce5(px[0]) << 10 | Reduce5(px[1]) << 5 | Reduce5(px[2]);
          d[x * 2] = static_cast<uint8_t>(v), d[x * 2 + 1] = static_cast<uint8_t>(v >> 8);
          break;
        }
        case 24:
          d[x * 3] = px[2], d[x * 3 + 1] = px[1], d[x * 3 + 2] = px[0];
          break;
        case 32:
          d[x * 4] = px[2], d[x * 4 + 1] = px[1], d[x * 4 + 2] = px[0], d[x * 4 + 3] = px[3];
          break;
      }
    }
    out.WriteBytes(row.data(), row.size());
  }
}

void WriteTgaImage(TBinaryWriter& out, const TBitmap& p, int bits, bool topDown, int rle) {
  const int depth = bits == 32 ? 32 : 24;
  const size_t count = static_cast<size_t>(p.Width) * static_cast<size_t>(p.Height);
  // Pixels in file order.
  std::vector<const uint8_t*> order;
  order.reserve(count);
  for (int32_t r = 0; r < p.Height; ++r)
    for (int32_t x = 0; x < p.Width; ++x) order.push_back(PixelAt(p, x, topDown ? r : p.Height - 1 - r));

  std::vector<uint8_t> packed;
  if (rle != 0) {
    for (size_t i = 0; i < count;) {
      size_t run = 1;
      while (i + run < count && run < 128 && SamePixel(order[i], order[i + run], depth)) ++run;
      if (run >= 2) {
        packed.push_back(static_cast<uint8_t>(127 + run));
        WriteTgaPixel(packed, order[i], depth);
        i += run;
        continue;
      }
      size_t raw = 1;
      while (i + raw < count && raw < 128 &&
             !(i + raw + 1 < count && SamePixel(order[i + raw], order[i + raw + 1], depth)))
        ++raw;
      packed.push_back(static_cast<uint8_t>(raw - 1));
      for (size_t k = 0; k < raw; ++k) WriteTgaPixel(packed, order[i + k], depth);
      i += raw;
    }
    if (rle < 0 && packed.size() >= count * static_cast<size_t>(depth / 8)) rle = 0;
  }
  if (rle == 0) {
    packed.clear();
    packed.reserve(count * static_cast<size_t>(depth / 8));
    for (const uint8_t* px : order) WriteTgaPixel(packed, px, depth);
  }
  uint8_t header[18] = {};
  header[2] = rle == 0 ? 2 : 10;
  header[12] = static_cast<uint8_t>(p.Width), header[13] = static_cast<uint8_t>(p.Width >> 8);
  header[14] = static_cast<uint8_t>(p.Height), header[15] = static_cast<uint8_t>(p.Height >> 8);
  header[16] = static_cast<uint8_t>(depth);
  header[17] = static_cast<uint8_t>((topDown ? 0x20 : 0) | (depth == 32 ? 8 : 0));
  out.WriteBytes(header, sizeof header);
  out.WriteBytes(packed.data(), packed.size());
}

std::vector<uint8_t> WriteArchive(const TArchiveSource& source) {
  TBinaryWriter out;
  static constexpr uint8_t kSignature[10] = {9, 'w', 'e', 'e', 'n', 'w', 'g', 'w', '0', '0'};
  out.WriteBytes(kSignature, sizeof kSignature);
  out.WriteInt32(2);
  out.WriteStr(20, source.Title);
  auto writeSection = [&out](const std::vector<TArchiveImage>& images, bool targa) {
    out.WriteInt32(static_cast<int32_t>(images.size()));
    for (const TArchiveImage& img : images) {
      TBinaryWriter picture;
      if (targa)
        WriteTgaImage(picture, img.Picture, img.Picture.Bits, img.TopDown, img.Rle);
      else
        WriteBmpImage(picture, img.Picture, img.Picture.Bits, img.TopDown);
      out.WriteInt32(static_cast<int32_t>(picture.Size()));
      out.WriteInt32(0);
      out.WriteBytes(picture.Bytes().data(), picture.Size());
      WriteRecord(out, img.Record);
    }
  };
  writeSection(source.Bitmaps, false);
  if (source.WriteTargaSection || !source.Targas.empty() || source.WriteFilterSection)
    writeSection(source.Targas, true);
  if (source.WriteFilterSection) {
    for (const auto* list : {&source.Bitmaps, &source.Targas})
      for (const TArchiveImage& img : *list) out.WriteByte(img.Record.NearestMin), out.WriteByte(img.Record.NearestMag);
  }
  return std::move(out.Bytes());
}

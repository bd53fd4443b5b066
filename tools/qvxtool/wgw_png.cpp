// PNG reading and writing through libpng's simplified interface.
#include "wgw_png.h"

#include <png.h>

#include <stdexcept>
#include <string>

TBitmap ReadPngFile(const std::filesystem::path& file) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, file.c_str()))
    throw std::runtime_error(file.string() + ": cannot read PNG: " + image.message);
  const bool alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  image.format = PNG_FORMAT_RGBA;
  TBitmap out;
  if (image.width > 65535 || image.height > 65535) {
    png_image_free(&image);
    throw std::runtime_error(file.string() + ": picture larger than 65535 pixels a side");
  }
  out.Width = static_cast<int32_t>(image.width);
  out.Height = static_cast<int32_t>(image.height);
  out.Bits = alpha ? 32 : 24;
  out.Pixels.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, out.Pixels.data(), 0, nullptr))
    throw std::runtime_error(file.string() + ": cannot read PNG: " + image.message);
  return out;
}

void WritePngFile(const std::filesystem::path& file, const TBitmap& picture) {
  bool opaque = true;
  for (size_t i = 3; i < picture.Pixels.size() && opaque; i += 4) opaque = picture.Pixels[i] == 255;
  std::vector<uint8_t> rgb;
  const uint8_t* data = picture.Pixels.data();
  if (opaque) {
    rgb.reserve(picture.Pixels.size() / 4 * 3);
    for (size_t i = 0; i + 3 < picture.Pixels.size(); i += 4)
      rgb.insert(rgb.end(), picture.Pixels.begin() + static_cast<ptrdiff_t>(i),
                 picture.Pixels.begin() + static_cast<ptrdiff_t>(i) + 3);
    data = rgb.data();
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.Width);
  image.height = static_cast<png_uint_32>(picture.Height);
  image.format = opaque ? PNG_FORMAT_RGB : PNG_FORMAT_RGBA;
  if (!png_image_write_to_file(&image, file.c_str(), 0, data, 0, nullptr))
    throw std::runtime_error(file.string() + ": cannot write PNG: " + image.message);
}

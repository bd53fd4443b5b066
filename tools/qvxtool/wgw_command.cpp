// qvxtool wgw: list, inspect, unpack and pack image archives. Everything goes
// through the engine's own reader, material fill and texture conversion, so
// what the tool shows is what the game loads. Text is UTF-8 here and cp1251
// inside archives.
#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <string>

#include "commands.h"
#include "platform/cp1251.h"
#include "platform/game_error.h"
#include "platform/stream.h"
#include "render/materials.h"
#include "resources/archive_writer.h"
#include "resources/image_readers.h"
#include "resources/matlib.h"
#include "render/texture_image.h"
#include "wgw_png.h"

namespace {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;

constexpr const char* kUsage =
    "usage: qvxtool wgw list ARCHIVE [--json]\n"
    "       qvxtool wgw texture ARCHIVE NAME OUT.png\n"
    "       qvxtool wgw unpack ARCHIVE DIR\n"
    "       qvxtool wgw pack MANIFEST OUT.wgw\n";

// A one-line failure; the command prints it and exits with status 1.
struct EToolError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

bool HasArchiveHeader(const std::vector<uint8_t>& bytes) {
  static constexpr uint8_t kSignature[10] = {9, 'w', 'e', 'e', 'n', 'w', 'g', 'w', '0', '0'};
  return bytes.size() >= 14 && std::memcmp(bytes.data(), kSignature, 10) == 0 && bytes[10] == 2 && bytes[11] == 0 &&
         bytes[12] == 0 && bytes[13] == 0;
}

// Reads an archive file; prints and returns false for a wrong signature or version.
bool LoadArchive(const std::string& file, TqvxMatLib& lib) {
  std::vector<uint8_t> bytes = ReadFileBytes(file, file);
  if (!HasArchiveHeader(bytes)) {
    std::fprintf(stderr, "qvxtool wgw: %s: not an image archive (wrong signature or version)\n", file.c_str());
    return false;
  }
  TBinaryReader in(bytes, file);
  MatLibRead(lib, in);
  lib.FileName = file;
  return true;
}

std::string Utf8(const std::string& cp1251) { return Cp1251ToUtf8(cp1251); }

json EntryJson(const TqvxMatLib& lib, const TGLMaterialLibrary& library, int32_t i) {
  const TImageEntry& e = *MatLibEntry(lib, i);
  const bool targa = i >= lib.BitmapCount;
  const TBitmap& p = targa ? lib.TargaImages[static_cast<size_t>(i - lib.BitmapCount)]
                           : lib.BitmapImages[static_cast<size_t>(i)];
  return json{{"index", i},
              {"section", targa ? "tga" : "bmp"},
              {"name", Utf8(e.Name)},
              {"material", Utf8(library.At(i).Name)},
              {"width", p.Width},
              {"height", p.Height},
              {"bits", p.Bits},
              {"frame_time", e.FrameTime},
              {"next", Utf8(e.NextName)},
              {"texture2", Utf8(e.Texture2Name)},
              {"scale", {e.ScaleX, e.ScaleY}},
              {"offset", {e.OffsetX, e.OffsetY}},
              {"color", {e.ColorR, e.ColorG, e.ColorB, e.ColorA}},
              {"mode", e.ModeCode},
              {"alpha", e.AlphaCode},
              {"blend", e.BlendCode},
              {"nearest", {e.NearestMin, e.NearestMag}}};
}

int List(const TArgs& args) {
  const bool asJson = args.size() == 3 && args[2] == "--json";
  if (args.size() != 2 && !asJson) throw EToolError(std::string("bad arguments\n") + kUsage);
  TqvxMatLib lib;
  if (!LoadArchive(args[1], lib)) return 1;
  TGLMaterialLibrary library;
  MatLibFill(lib, library);
  json all = json::array();
  for (int32_t i = 0; i < MatLibImageCount(lib); ++i) all.push_back(EntryJson(lib, library, i));
  if (asJson) {
    std::puts(all.dump(2).c_str());
    return 0;
  }
  std::printf("%s: \"%s\", %d bitmap and %d targa images\n", args[1].c_str(), Utf8(lib.Title).c_str(),
              lib.BitmapCount, lib.TargaCount);
  std::printf("%5s %-4s %-24s %-24s %11s %4s %6s %-20s %-16s %s\n", "index", "sect", "name", "material", "size",
              "bits", "frame", "next", "texture2", "scale offset color mode/alpha/blend nearest");
  for (const json& e : all) {
    const std::string size = std::to_string(e["width"].get<int>()) + "x" + std::to_string(e["height"].get<int>());
    std::printf("%5d %-4s %-24s %-24s %11s %4d %6d %-20s %-16s %s %s %s %d/%d/%d %s\n", e["index"].get<int>(),
                e["section"].get<std::string>().c_str(), e["name"].get<std::string>().c_str(),
                e["material"].get<std::string>().c_str(), size.c_str(), e["bits"].get<int>(),
                e["frame_time"].get<int>(), e["next"].get<std::string>().c_str(),
                e["texture2"].get<std::string>().c_str(), e["scale"].dump().c_str(), e["offset"].dump().c_str(),
                e["color"].dump().c_str(), e["mode"].get<int>(), e["alpha"].get<int>(), e["blend"].get<int>(),
                e["nearest"].dump().c_str());
  }
  return 0;
}

TBitmap FlipRows(const TTextureImage& t) {
  TBitmap out;
  out.Width = t.Width, out.Height = t.Height, out.Bits = 32;
  out.Pixels.resize(t.Pixels.size());
  const size_t row = static_cast<size_t>(t.Width) * 4;
  for (int32_t y = 0; y < t.Height; ++y)
    std::memcpy(out.Pixels.data() + static_cast<size_t>(y) * row,
                t.Pixels.data() + static_cast<size_t>(t.Height - 1 - y) * row, row);
  return out;
}

std::string ToCp1251(const std::string& utf8, const std::string& where) {
  size_t bad = 0;
  std::optional<std::string> text = Utf8ToCp1251(utf8, &bad);
  if (!text) throw EToolError(where + ": \"" + utf8 + "\" has a character cp1251 cannot hold (byte " +
                              std::to_string(bad) + ")");
  return *text;
}

int Texture(const TArgs& args) {
  if (args.size() != 4) throw EToolError(std::string("bad arguments\n") + kUsage);
  TqvxMatLib lib;
  if (!LoadArchive(args[1], lib)) return 1;
  TGLMaterialLibrary library;
  MatLibFill(lib, library);
  const TGLLibMaterial* m = library.Find(ToCp1251(args[2], args[1]));
  if (!m) throw EToolError(args[1] + ": no material named \"" + args[2] + "\"");
  TTextureImage t = MakeTextureImage(*m);
  if (t.Pixels.empty()) throw EToolError(args[1] + ": material \"" + args[2] + "\" has an empty picture");
  WritePngFile(args[3], FlipRows(t));
  return 0;
}

int Unpack(const TArgs& args) {
  if (args.size() != 3) throw EToolError(std::string("bad arguments\n") + kUsage);
  TqvxMatLib lib;
  if (!LoadArchive(args[1], lib)) return 1;
  const fs::path dir = args[2];
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) throw EToolError(dir.string() + ": cannot create directory: " + ec.message());
  TGLMaterialLibrary library;
  // Keep the pictures: the fill below moves them into the materials.
  MatLibFill(lib, library);
  json images = json::array();
  for (int32_t i = 0; i < MatLibImageCount(lib); ++i) {
    json e = EntryJson(lib, library, i);
    const TBitmap& p = library.At(i).Image;
    if (p.Width > 0 && p.Height > 0) {
      char file[32];
      std::snprintf(file, sizeof file, "%04d.png", i);
      WritePngFile(dir / file, p);
      e["file"] = file;
    } else {
      e["file"] = nullptr;
    }
    images.push_back(std::move(e));
  }
  json manifest{{"title", Utf8(lib.Title)}, {"images", images}};
  std::ofstream out(dir / "manifest.json");
  out << manifest.dump(2) << '\n';
  if (!out) throw EToolError((dir / "manifest.json").string() + ": cannot write");
  return 0;
}

// Manifest field readers: each failure names the manifest and the field.
struct TManifestField {
  const std::string& File;
  std::string Where;

  [[noreturn]] void Fail(const std::string& what) const { throw EToolError(File + ": " + Where + ": " + what); }

  int64_t Int(const json& v, int64_t lo, int64_t hi) const {
    if (!v.is_number_integer()) Fail("expected an integer");
    const int64_t x = v.get<int64_t>();
    if (x < lo || x > hi) Fail(std::to_string(x) + " is out of range " + std::to_string(lo) + ".." + std::to_string(hi));
    return x;
  }
  std::vector<int64_t> Ints(const json& v, size_t n, int64_t lo, int64_t hi) const {
    if (!v.is_array() || v.size() != n) Fail("expected an array of " + std::to_string(n) + " integers");
    std::vector<int64_t> out;
    for (const json& x : v) out.push_back(Int(x, lo, hi));
    return out;
  }
  std::string Text(const json& v, size_t limit) const {
    if (!v.is_string()) Fail("expected a string");
    std::string text = ToCp1251(v.get<std::string>(), File + ": " + Where);
    if (text.size() > limit) Fail("longer than " + std::to_string(limit) + " characters");
    return text;
  }
};

TBitmap LoadPicture(const fs::path& file) {
  std::string ext = file.extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ext == ".png") return ReadPngFile(file);
  if (ext != ".bmp" && ext != ".tga") throw EToolError(file.string() + ": not a PNG, BMP or TGA file");
  std::vector<uint8_t> bytes = ReadFileBytes(file, file.string());
  TBinaryReader in(bytes, file.string());
  TBitmap out;
  try {
    (ext == ".bmp" ? ReadBmpImage : ReadTgaImage)(in, out);
  } catch (const EGameError& e) {
    throw EToolError(file.string() + ": " + e.what());
  }
  return out;
}

int Pack(const TArgs& args) {
  if (args.size() != 3) throw EToolError(std::string("bad arguments\n") + kUsage);
  const std::string& manifestFile = args[1];
  json manifest;
  {
    std::ifstream in(manifestFile);
    if (!in) throw EToolError(manifestFile + ": cannot open");
    manifest = json::parse(in, nullptr, false);
    if (manifest.is_discarded()) throw EToolError(manifestFile + ": not valid JSON");
  }
  if (!manifest.is_object() || !manifest.contains("images") || !manifest["images"].is_array())
    throw EToolError(manifestFile + ": expected an object with an \"images\" array");
  const fs::path base = fs::path(manifestFile).parent_path();
  constexpr int64_t kMin = std::numeric_limits<int32_t>::min(), kMax = std::numeric_limits<int32_t>::max();

  TArchiveSource src;
  if (manifest.contains("title")) src.Title = TManifestField{manifestFile, "title"}.Text(manifest["title"], 20);
  size_t n = 0;
  for (const json& e : manifest["images"]) {
    const TManifestField f{manifestFile, "images[" + std::to_string(n++) + "]"};
    if (!e.is_object()) f.Fail("expected an object");
    auto field = [&](const char* key) -> TManifestField { return {manifestFile, f.Where + "." + key}; };
    auto get = [&](const char* key) -> const json& {
      if (!e.contains(key)) f.Fail(std::string("missing \"") + key + "\"");
      return e[key];
    };
    TArchiveImage img;
    TImageEntry& r = img.Record;
    r.Name = field("name").Text(get("name"), 30);
    if (e.contains("frame_time")) r.FrameTime = static_cast<int32_t>(field("frame_time").Int(e["frame_time"], kMin, kMax));
    if (e.contains("next")) r.NextName = field("next").Text(e["next"], 30);
    if (e.contains("texture2")) r.Texture2Name = field("texture2").Text(e["texture2"], 30);
    auto pairOr = [&](const char* key, int32_t a, int32_t b, size_t count = 2) {
      std::vector<int64_t> v = e.contains(key) ? field(key).Ints(e[key], count, kMin, kMax)
                                               : std::vector<int64_t>(count, a);
      if (!e.contains(key) && count == 2) v[1] = b;
      return v;
    };
    const std::vector<int64_t> scale = pairOr("scale", 1000, 1000), offset = pairOr("offset", 0, 0);
    const std::vector<int64_t> color = pairOr("color", 1000, 1000, 4);
    r.ScaleX = static_cast<int32_t>(scale[0]), r.ScaleY = static_cast<int32_t>(scale[1]);
    r.OffsetX = static_cast<int32_t>(offset[0]), r.OffsetY = static_cast<int32_t>(offset[1]);
    r.ColorR = static_cast<int32_t>(color[0]), r.ColorG = static_cast<int32_t>(color[1]);
    r.ColorB = static_cast<int32_t>(color[2]), r.ColorA = static_cast<int32_t>(color[3]);
    r.ModeCode = static_cast<uint16_t>(e.contains("mode") ? field("mode").Int(e["mode"], 0, 65535) : 2);
    r.AlphaCode = static_cast<uint16_t>(e.contains("alpha") ? field("alpha").Int(e["alpha"], 0, 65535) : 1);
    r.BlendCode = static_cast<uint16_t>(e.contains("blend") ? field("blend").Int(e["blend"], 0, 65535) : 1);
    if (e.contains("nearest")) {
      const std::vector<int64_t> nearest = field("nearest").Ints(e["nearest"], 2, 0, 255);
      r.NearestMin = static_cast<uint8_t>(nearest[0]), r.NearestMag = static_cast<uint8_t>(nearest[1]);
    }

    const json& file = get("file");
    if (file.is_string()) {
      img.Picture = LoadPicture(base / fs::path(file.get<std::string>()));
    } else if (!file.is_null()) {
      field("file").Fail("expected a file name or null");
    }
    if (e.contains("bits")) {
      const int64_t bits = field("bits").Int(e["bits"], 1, 32);
      if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        field("bits").Fail("must be 1, 4, 8, 16, 24 or 32");
      img.Picture.Bits = static_cast<int32_t>(bits);
    }
    bool targa = false;
    if (e.contains("section")) {
      const json& s = e["section"];
      if (s != "bmp" && s != "tga") field("section").Fail("must be \"bmp\" or \"tga\"");
      targa = s == "tga";
    } else {
      bool opaque = true;
      for (size_t i = 3; i < img.Picture.Pixels.size() && opaque; i += 4) opaque = img.Picture.Pixels[i] == 255;
      const std::string ext = file.is_string() ? fs::path(file.get<std::string>()).extension().string() : "";
      targa = ext == ".tga" || ext == ".TGA" || !opaque;
    }
    if (targa && (img.Picture.Width > 65535 || img.Picture.Height > 65535))
      f.Fail("a TGA entry holds at most 65535 pixels a side");
    (targa ? src.Targas : src.Bitmaps).push_back(std::move(img));
  }
  WriteFileBytes(args[2], WriteArchive(src));
  return 0;
}

}  // namespace

int WgwCommand(const TArgs& args) {
  if (args.empty()) {
    std::fputs(kUsage, stderr);
    return 1;
  }
  try {
    if (args[0] == "list") return List(args);
    if (args[0] == "texture") return Texture(args);
    if (args[0] == "unpack") return Unpack(args);
    if (args[0] == "pack") return Pack(args);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qvxtool wgw: %s\n", e.what());
    return 1;
  }
  std::fprintf(stderr, "qvxtool wgw: unknown sub-command '%s'\n%s", args[0].c_str(), kUsage);
  return 1;
}

// Every reader of a game file fed 10 MB that it must read or refuse within
// the budget: under 1 s, and under 64 MB of memory beyond the pictures the
// file holds. Two kinds of file per reader: random bytes (three seeds), and a
// small valid file of the format padded to 10 MB in which each of the first
// bytes in turn starts a hostile 32-bit count or size (2^31 - 1, -1, 2^20).
//
// Each reader runs in a child process of its own, so that a crash is one
// line of the report. Before each read the child gives its free memory back
// and resets its peak (/proc/self/clear_refs); the read's extra memory is the
// peak after it less the resident size before it. Prints one line a reader
// and exits 1 when any breaks the budget.
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "effects/sketch_file.h"
#include "hero/inventory.h"
#include "platform/game_error.h"
#include "platform/stream.h"
#include "platform/video_decoder.h"
#include "render/hud_string.h"
#include "render/materials.h"
#include "resources/archive_writer.h"
#include "resources/matlib.h"
#include "scene/location_file.h"
#include "scene/save_file.h"
#include "shell/options.h"
#include "sound/sound_set_file.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kFileBytes = 10 * 1024 * 1024;
constexpr double kBudgetSeconds = 1.0;
constexpr int64_t kBudgetBytes = 64 * 1024 * 1024;
constexpr size_t kSweptBytes = 512;  // header bytes each made a hostile count in turn
constexpr uint32_t kHostileValues[] = {0x7FFFFFFF, 0xFFFFFFFF, 0x00100000};

using TBytes = std::vector<uint8_t>;

// Reads one file; returns the bytes of the pictures it holds (archives).
// Throws EGameError when the reader refuses the file.
using TRead = std::function<int64_t(std::span<const uint8_t>)>;

struct TReader {
  const char* Name;
  TBytes Valid;  // empty: random files only
  TRead Read;
  // False for formats without counts or sizes (fixed tables, text): only the
  // padded valid file. Such readers take a file by its name, and their time
  // includes writing it.
  bool Sweep = true;
};

// ---- memory of this process -----------------------------------------------

int64_t StatusKb(const char* field) {
  std::ifstream f("/proc/self/status");
  std::string line;
  const size_t n = std::strlen(field);
  while (std::getline(f, line))
    if (line.compare(0, n, field) == 0) return std::atoll(line.c_str() + n + 1);
  return 0;
}

void ResetPeak() {
  ::malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
}

// ---- the readers ------------------------------------------------------------

fs::path ScratchFile(const std::string& name) {
  const fs::path dir = fs::temp_directory_path() / ("qvx_hostile_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  return dir / name;
}

void WriteScratch(const fs::path& file, std::span<const uint8_t> bytes) {
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TBitmap Picture(int width, int height) {
  TBitmap b;
  b.Width = width;
  b.Height = height;
  b.Bits = 32;
  b.Pixels.assign(static_cast<size_t>(width) * height * 4, 0x80);
  return b;
}

TBytes ValidArchive() {
  TArchiveSource src;
  src.Title = "bench";
  TArchiveImage bmp;
  bmp.Record.Name = "bmp";
  bmp.Picture = Picture(8, 4);
  bmp.Picture.Bits = 24;
  src.Bitmaps.push_back(bmp);
  TArchiveImage tga;
  tga.Record.Name = "tga";
  tga.Picture = Picture(4, 8);
  src.Targas.push_back(tga);
  return WriteArchive(src);
}

TBytes ValidLocation() {
  TLocationData d;
  d.Objects.resize(2);
  d.Grid.resize(4);
  d.Regions.resize(2);
  d.Roads.resize(1);
  d.Roads[0].Points.resize(3);
  d.Functions.resize(1);
  d.Functions[0].Instructions.resize(2);
  return WriteLocationData(d);
}

TBytes ValidSoundSet() {
  TSoundSetData d;
  d.Samples.resize(2);
  d.Sequences.resize(1);
  d.Sequences[0].Items = {0, 1};
  return WriteSoundSetData(d);
}

TBytes ValidSketches() {
  TSketchFile f;
  f.Count = 2;
  f.Records.resize(2);
  return WriteSketchFile(f);
}

// A save over a location with no objects and no regions, the archives
// empty: the shortest run of zero bytes the walk takes whole.
TBytes ValidSave() {
  for (size_t n = 0; n < 64 * 1024; ++n) {
    const TBytes bytes(n, 0);
    try {
      TBinaryReader in(bytes, "bench.save");
      TSaveHeader header;
      ReadSaveHeader(in, header);
      WalkSaveBody(in, TSaveCounts{});
      return bytes;
    } catch (const EGameError&) {
    }
  }
  return {};
}

// One second of a small picture, made by the ffmpeg command when there is
// one.
TBytes ValidVideo() {
  const fs::path file = ScratchFile("video.mkv");
  const std::string cmd = "ffmpeg -loglevel quiet -y -f lavfi -i testsrc=size=64x48:rate=10 -t 1 " + file.string();
  if (std::system(cmd.c_str()) != 0) return {};
  return ReadFileBytes(file);
}

std::vector<TReader> Readers() {
  std::vector<TReader> r;
  r.push_back({"archive", ValidArchive(), [](std::span<const uint8_t> bytes) {
                 TBinaryReader in(bytes, "bench.wgw");
                 TqvxMatLib lib;
                 MatLibRead(lib, in);
                 int64_t pictures = 0;
                 for (const auto* images : {&lib.BitmapImages, &lib.TargaImages})
                   for (const TBitmap& b : *images) pictures += static_cast<int64_t>(b.Pixels.size());
                 TGLMaterialLibrary library;
                 MatLibFill(lib, library);
                 return pictures;
               }});
  r.push_back({"location", ValidLocation(), [](std::span<const uint8_t> bytes) {
                 TBinaryReader in(bytes, "bench.qvx");
                 TLocationData d;
                 ReadLocationData(in, d);
                 return int64_t{0};
               }});
  r.push_back({"sound set", ValidSoundSet(), [](std::span<const uint8_t> bytes) {
                 TBinaryReader in(bytes, "bench.snd");
                 TSoundSetData d;
                 ReadSoundSetData(in, d);
                 return int64_t{0};
               }});
  r.push_back({"sketch", ValidSketches(), [](std::span<const uint8_t> bytes) {
                 TBinaryReader in(bytes, "bench.sketch");
                 ReadSketchFile(in);
                 return int64_t{0};
               }});
  r.push_back({"save", ValidSave(), [](std::span<const uint8_t> bytes) {
                 TBinaryReader in(bytes, "bench.save");
                 TSaveHeader header;
                 ReadSaveHeader(in, header);
                 TSaveCounts counts;
                 counts.Bitmaps[kSaveArchiveCount - 1] = -1;
                 WalkSaveBody(in, counts);
                 return int64_t{0};
               }});
  r.push_back({"comments.dat", WriteComments({"one", "two"}), [](std::span<const uint8_t> bytes) {
                 ReadComments(bytes, "comments.dat");
                 return int64_t{0};
               }});
  r.push_back({"caption.inv", TBytes(64 * 51, 3),
               [](std::span<const uint8_t> bytes) {
                 const fs::path file = ScratchFile("caption.inv");
                 WriteScratch(file, bytes);
                 TInventory inv;
                 LoadCaptions(inv, file.parent_path());
                 return int64_t{0};
               },
               false});
  r.push_back({"fnt1.dat", TBytes(256, 8),
               [](std::span<const uint8_t> bytes) {
                 const fs::path file = ScratchFile("fnt1.dat");
                 WriteScratch(file, bytes);
                 THUDString text;
                 LoadFont(text, "fnt1.dat", 256, file.parent_path());
                 return int64_t{0};
               },
               false});
  const std::string options = "[options]\nsub_titles=1\nsound_volume=100\n";
  r.push_back({"options.ini", TBytes(options.begin(), options.end()),
               [](std::span<const uint8_t> bytes) {
                 const fs::path file = ScratchFile("options.ini");
                 WriteScratch(file, bytes);
                 ReadOptionsFile(file.string());
                 return int64_t{0};
               },
               false});
  r.push_back({"video", ValidVideo(), [](std::span<const uint8_t> bytes) {
                 TVideoDecoder video;
                 std::string error;
                 if (!video.OpenMemory(bytes, error)) throw EGameError(error);
                 return int64_t{0};
               }});
  return r;
}

// ---- one reader in a child
// ----------------------------------------------------

struct TFigures {
  int Files = 0, Refused = 0;
  double Seconds = 0;   // the slowest read
  int64_t Extra = 0;    // the largest memory beyond the pictures, bytes
  char Worst[64] = {};  // the file that took longest
};

void Measure(const TReader& reader, std::span<const uint8_t> bytes, const char* what, TFigures& f) {
  ResetPeak();
  const int64_t before = StatusKb("VmRSS:");
  const auto start = std::chrono::steady_clock::now();
  int64_t pictures = 0;
  try {
    pictures = reader.Read(bytes);
  } catch (const EGameError&) {
    ++f.Refused;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const int64_t extra = (StatusKb("VmHWM:") - before) * 1024 - pictures;
  ++f.Files;
  if (seconds > f.Seconds) {
    f.Seconds = seconds;
    std::snprintf(f.Worst, sizeof f.Worst, "%s", what);
  }
  f.Extra = std::max(f.Extra, extra);
}

TFigures RunReader(const TReader& reader) {
  TFigures f;
  TBytes bytes(kFileBytes);
  for (uint32_t seed : {1u, 2u, 3u}) {
    std::mt19937 random(seed);
    for (auto& b : bytes) b = static_cast<uint8_t>(random());
    char what[64];
    std::snprintf(what, sizeof what, "random %u", seed);
    Measure(reader, bytes, what, f);
  }
  if (reader.Valid.empty()) return f;
  // Past the valid file, bytes of 0x7F: every further count reads as huge.
  std::fill(bytes.begin(), bytes.end(), 0x7F);
  std::copy(reader.Valid.begin(), reader.Valid.end(), bytes.begin());
  Measure(reader, bytes, "valid, padded", f);
  const size_t swept = reader.Sweep ? std::min(kSweptBytes, reader.Valid.size()) : 0;
  for (size_t at = 0; at < swept; ++at) {
    for (uint32_t value : kHostileValues) {
      uint8_t saved[4];
      std::memcpy(saved, &bytes[at], 4);
      for (int k = 0; k < 4; ++k) bytes[at + k] = static_cast<uint8_t>(value >> (8 * k));
      char what[64];
      std::snprintf(what, sizeof what, "0x%08X at byte %zu", value, at);
      Measure(reader, bytes, what, f);
      std::memcpy(&bytes[at], saved, 4);
    }
  }
  return f;
}

}  // namespace

int main() {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  const std::vector<TReader> readers = Readers();
  std::printf("%-13s %6s %8s %10s %11s  %s\n", "reader", "files", "refused", "slowest ms", "extra MB", "slowest file");
  bool within = true;
  for (const TReader& reader : readers) {
    int pipe[2];
    if (::pipe(pipe) != 0) return 2;
    const pid_t child = ::fork();
    if (child == 0) {
      ::close(pipe[0]);
      // Readers that warn on stderr would bury the report.
      if (std::freopen("/dev/null", "w", stderr) == nullptr) std::_Exit(3);
      const TFigures f = RunReader(reader);
      if (::write(pipe[1], &f, sizeof f) != static_cast<ssize_t>(sizeof f)) std::_Exit(3);
      std::_Exit(0);
    }
    ::close(pipe[1]);
    TFigures f;
    const bool got = ::read(pipe[0], &f, sizeof f) == static_cast<ssize_t>(sizeof f);
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!got || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      std::printf("%-13s crashed (status %d)\n", reader.Name, status);
      within = false;
      continue;
    }
    const bool ok = f.Seconds < kBudgetSeconds && f.Extra < kBudgetBytes;
    within = within && ok;
    std::printf("%-13s %6d %8d %10.1f %11.1f  %s%s%s\n", reader.Name, f.Files, f.Refused, f.Seconds * 1000,
                static_cast<double>(f.Extra) / (1024 * 1024), f.Worst, reader.Valid.empty() ? " (random only)" : "",
                ok ? "" : "  OVER BUDGET");
  }
  std::error_code ec;
  fs::remove_all(ScratchFile("x").parent_path(), ec);
  return within ? 0 : 1;
}

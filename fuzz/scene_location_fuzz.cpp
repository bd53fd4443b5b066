// Feeds arbitrary bytes to the game as two location files: the part before
// the first kSecondMarker is "SCENE\a.qvx", the part after it "SCENE\b.qvx"
// (no marker: no second location). The first is entered as the game enters
// it (function 0 runs), then played for a number of frames with the pointer
// moving, both buttons clicking and keys going down and up, taken from the
// input's own bytes. Scripts reach every scene, object and hero command this
// way, with whatever operands the bytes give, and can change between the two
// locations, at once or after a fade, back and forth. Counts are not
// trimmed: the reader must refuse hostile ones cheaply.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string_view>

#include <fcntl.h>
#include <unistd.h>

#include "platform/game_error.h"
#include "render/nodes.h"
#include "scene/command_bindings.h"
#include "scene/location.h"
#include "scene/scene_create.h"
#include "scene/scene_update.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFrames = 30;
constexpr std::string_view kSecondMarker = "@@qvx@@";

// The game reads its files from the current folder. The fuzzer's own folder
// is the current one between inputs, so that relative corpus paths keep
// working; each input runs inside the scratch folder.
class TScratchFolder {
 public:
  TScratchFolder() : dir_(fs::temp_directory_path() / ("qvx_fuzz_scene_" + std::to_string(::getpid()))) {
    fs::create_directories(dir_ / "SCENE");
    std::ofstream(dir_ / "fnt1.dat", std::ios::binary) << std::string(256, '\x08');
  }
  const fs::path& Dir() const { return dir_; }
  void Remove() const {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

 private:
  fs::path dir_;
};

struct TInScratch {
  explicit TInScratch(const fs::path& dir) : home(::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    fs::current_path(dir);
  }
  ~TInScratch() {
    if (home >= 0) {
      if (::fchdir(home) != 0) std::abort();
      ::close(home);
    }
  }
  int home;
};

struct TGame {
  TScratchFolder Scratch;
  TGLScene Gl;
  TqvxScene Scene;

  TGame() {
    const TInScratch inside(Scratch.Dir());
    RegisterAllCommands();
    SceneCreate(Scene, *Gl.Root().AddNewChild<TDummyCube>());
  }
};

TGame* gGame = nullptr;

void RemoveScratch() {
  if (gGame) gGame->Scratch.Remove();
}

void WriteLocation(const char* name, std::string_view bytes) {
  std::ofstream(fs::path("SCENE") / name, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The input a frame gets: a pointer position and a button or key event,
// from three bytes of the data.
void ApplyInput(TInputState& in, const uint8_t* data, size_t size, int frame) {
  if (size < 3) return;
  const size_t at = (static_cast<size_t>(frame) * 3) % (size - 2);
  in.CursorX = data[at] * 800 / 256;
  in.CursorY = data[at + 1] * 600 / 256;
  static constexpr int kKeys[] = {1, 2, 27, 32, 37, 38, 39, 40, 116, 1, 1, 2};
  const uint8_t e = data[at + 2];
  in.SetKey(kKeys[e % std::size(kKeys)], (e & 0x80) != 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!gGame) {
    gGame = new TGame;
    std::atexit(RemoveScratch);
  }
  TqvxScene& s = gGame->Scene;
  const TInScratch inside(gGame->Scratch.Dir());

  const std::string_view all(reinterpret_cast<const char*>(data), size);
  const size_t marker = all.find(kSecondMarker);
  WriteLocation("a.qvx", all.substr(0, marker));
  std::error_code ec;
  fs::remove(fs::path("SCENE") / "b.qvx", ec);
  if (marker != std::string_view::npos) WriteLocation("b.qvx", all.substr(marker + kSecondMarker.size()));

  // As in the game, a file error ends the operation under way and play goes
  // on with what the scene holds.
  try {
    LoadLocation(s, "a.qvx");
  } catch (const EGameError&) {
  }
  for (int frame = 0; frame < kFrames; ++frame) {
    ApplyInput(s.Input, data, size, frame);
    try {
      SceneUpdate(s, 0.05f);
    } catch (const EGameError&) {
    }
  }
  UnloadLocation(s);
  ClearGameState(s);
  ResetScene(s);
  s.Input = TInputState();
  return 0;
}

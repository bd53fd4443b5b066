// Feeds arbitrary bytes to the game as a location file: the file is entered
// as the game enters it (function 0 runs), then played for a number of
// frames with the pointer moving, both buttons clicking and keys going down
// and up, taken from the input's own bytes. Scripts reach every scene,
// object and hero command this way, with whatever operands the bytes give.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>

#include <unistd.h>

#include "platform/game_error.h"
#include "render/nodes.h"
#include "scene/command_bindings.h"
#include "scene/location.h"
#include "scene/location_file.h"
#include "scene/scene_create.h"
#include "scene/scene_update.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFrames = 30;

struct TGame {
  TGLScene Gl;
  TqvxScene Scene;

  TGame() {
    // Locations and the font's widths are read from the current directory.
    const fs::path dir = fs::temp_directory_path() / ("qvx_fuzz_scene_" + std::to_string(::getpid()));
    fs::create_directories(dir / "SCENE");
    std::ofstream(dir / "fnt1.dat", std::ios::binary) << std::string(256, '\x08');
    fs::current_path(dir);
    RegisterAllCommands();
    SceneCreate(Scene, *Gl.Root().AddNewChild<TDummyCube>());
  }
};

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
  static TGame* game = new TGame;
  TqvxScene& s = game->Scene;
  // A short file repeats its last object up to the stated count (files are
  // read without length checks), so a few bytes can make half a million
  // objects. The game copes, slowly; the fuzzer spends its time better on
  // locations of a playable size.
  try {
    TBinaryReader peek(std::span<const uint8_t>(data, size), "fuzz.qvx");
    TLocationData d;
    ReadLocationData(peek, d);
    if (d.Objects.size() > 2000 || d.Grid.size() > 2000) return 0;
  } catch (const EGameError&) {
  }
  std::ofstream(fs::path("SCENE") / "fuzz.qvx", std::ios::binary)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  // As in the game, a file error ends the operation under way and play goes
  // on with what the scene holds.
  try {
    LoadLocation(s, "fuzz.qvx");
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

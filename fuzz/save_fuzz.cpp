// Feeds arbitrary bytes to the game as a save file while it stands in a
// small location that has a hero, items, key bindings, pending calls and a
// sound set, so that a save made there fits exactly. The save is walked as
// qvxtool shows it, then loaded as F3 loads it (checked against the files it
// names first, then laid over the game) and the game is played for a few
// frames with whatever state the save gave. A hostile save must be refused
// or played, never crash the game.
//
// With QVX_FUZZ_SAVE_SEED=FILE set, the target writes a save of its location
// to FILE at start: that is how the seed corpus is made.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "fuzz_scratch.h"
#include "platform/game_error.h"
#include "platform/stream.h"
#include "render/nodes.h"
#include "scene/command_bindings.h"
#include "scene/location.h"
#include "scene/location_file.h"
#include "scene/location_text.h"
#include "scene/save_file.h"
#include "scene/save_game.h"
#include "scene/scene_create.h"
#include "scene/scene_update.h"
#include "sound/sound_set_file.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFrames = 20;

constexpr const char* kLocation = R"(header name="Fuzz" text="A place to load saves in."
object layer=0 name="back" x=400 y=300 width=800 height=600 picture="back"
object layer=1 name="hero" x=0 y=0 width=64 height=128 picture=""
object layer=1 name="rock" x=100 y=300 width=20 height=20 picture="rock"
  hotspot x=100 y=300 radius=12
object layer=2 name="bird" x=500 y=100 width=20 height=20 picture="bird"
region x=400 y=300 width=100 height=100 function=1
region x=100 y=300 width=40 height=40 function=2 cursor=2
road 1,25 5,25 9,20
function "start"
  load_sound_set str1="fuzz.snd"
  set_hero str1="hero"
  place_hero op1=200 op2=450
  give_item op1=3
  give_item op1=7
  bind_key_press op1=5 str1="later"
  set_flight str1="bird" op1=5 op2=60
  set_frame_function str1="later"
  delayed_call op1=40 op2=1 str1="later"
end
function "later"
  give_item op1=2
end
)";

// The game reads its files from the current folder; the fuzzer's own folder
// is the current one between inputs, so that relative corpus paths work.
struct TInFolder {
  explicit TInFolder(const fs::path& dir) : home(::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    fs::current_path(dir);
  }
  ~TInFolder() {
    if (home >= 0) {
      if (::fchdir(home) != 0) std::abort();
      ::close(home);
    }
  }
  int home;
};

struct TGame {
  TFuzzScratch Scratch{"save"};
  TGLScene Gl;
  TqvxScene Scene;
  TLocationData Location;

  TGame() {
    const TInFolder inside(Scratch.Dir());
    Location = ParseLocationText(kLocation, "fuzz.loc", ".");
    const std::vector<uint8_t> location = WriteLocationData(Location);
    Scratch.Write("SCENE/fuzz.qvx", location.data(), location.size());
    TSoundSetData set;
    set.Samples.resize(2);
    set.Samples[0].Name = "wind";
    set.Samples[1].Name = "step";
    set.Sequences.resize(2);
    set.Sequences[0].Items = {0, 1};
    set.Sequences[1].Items = {1};
    const std::vector<uint8_t> sounds = WriteSoundSetData(set);
    Scratch.Write("SFX/fuzz.snd", sounds.data(), sounds.size());
    const std::string widths(256, '\x08');
    Scratch.Write("fnt1.dat", reinterpret_cast<const uint8_t*>(widths.data()), widths.size());
    fs::create_directories("save");
    RegisterAllCommands();
    SceneCreate(Scene, *Gl.Root().AddNewChild<TDummyCube>());
  }

  void Enter() {
    try {
      LoadLocation(Scene, "fuzz.qvx");
    } catch (const EGameError& e) {
      std::fprintf(stderr, "the target's own location does not load: %s\n", e.what());
      std::abort();
    }
  }

  void Leave() {
    UnloadLocation(Scene);
    ClearGameState(Scene);
    ResetScene(Scene);
    Scene.Input = TInputState();
  }
};

class TNoVisitor : public TSaveVisitor {
 public:
  void Int(const std::string&, int64_t) override {}
  void Real(const std::string&, float) override {}
  void Text(const std::string&, const std::string&) override {}
};

// As qvxtool reads a save: the counts from the location, the menu's taken
// from whatever remains.
void Walk(const TGame& game, const uint8_t* data, size_t size) {
  TBinaryReader in(std::span<const uint8_t>(data, size), "fuzz.save");
  TNoVisitor visitor;
  try {
    TSaveHeader header;
    ReadSaveHeader(in, header, &visitor);
    TSaveCounts counts;
    counts.Objects = static_cast<int32_t>(game.Location.Objects.size());
    counts.Regions = static_cast<int32_t>(game.Location.Regions.size());
    counts.Sequences = 2;
    counts.Bitmaps[3] = -1;
    WalkSaveBody(in, counts, &visitor);
  } catch (const EGameError&) {
  }
}

TGame* gGame = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The game lives until the process ends; only its folder is removed then.
  gGame = new TGame;
  std::atexit([] { gGame->Scratch.Remove(); });
  if (const char* seed = std::getenv("QVX_FUZZ_SAVE_SEED")) {
    const TInFolder inside(gGame->Scratch.Dir());
    gGame->Enter();
    for (int frame = 0; frame < kFrames; ++frame) SceneUpdate(gGame->Scene, 0.05f);
    SaveGame(gGame->Scene, "seed.save");
    gGame->Leave();
    fs::copy_file(gGame->Scratch.Dir() / "save" / "seed.save", fs::absolute(seed),
                  fs::copy_options::overwrite_existing);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TGame& game = *gGame;
  Walk(game, data, size);
  const TInFolder inside(game.Scratch.Dir());
  game.Scratch.Write("save/fuzz.save", data, size);
  game.Enter();
  // As in the game, a refused save leaves the game where it was.
  try {
    LoadGame(game.Scene, "fuzz.save");
  } catch (const EGameError&) {
  }
  for (int frame = 0; frame < kFrames; ++frame) {
    game.Scene.Input.CursorX = (frame * 97) % 800;
    game.Scene.Input.CursorY = (frame * 61) % 600;
    game.Scene.Input.SetKey(frame % 2 ? 1 : 5, frame % 3 == 0);
    try {
      SceneUpdate(game.Scene, 0.05f);
    } catch (const EGameError&) {
    }
  }
  game.Leave();
  return 0;
}

// The game under faults of the system around it, run for real: a game
// directory it may not write to, a save folder that is missing or cannot be
// made, a disk that fills during a save, and start-up files that are not
// there. Each must give one clear message, keep the saves there before and
// let the game go on. The tests run as root, so permission bits stop nothing:
// the conditions are made with a private mount namespace and a file size
// limit, and a test whose condition cannot be made says so and skips.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/stream.h"
#include "support/game_dir.h"
#include "support/scratch_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPlay = 30;  // the start location's fade-in is over
constexpr int kF2 = 113, kF3 = 114;
constexpr int kPrintScreen = 44;

std::string Tap(int frame, int vk) {
  return std::to_string(frame) + " down " + std::to_string(vk) + "\n" + std::to_string(frame + 1) + " up " +
         std::to_string(vk) + "\n";
}
std::string Click(int frame) {
  return std::to_string(frame) + " move 400 300\n" + std::to_string(frame) + " down left\n" +
         std::to_string(frame + 1) + " up left\n";
}
// A click, a save, a screenshot and a click: the second click shows that the
// game went on after whatever the save and the screenshot met.
const std::string kPlaySaveAndPlay =
    Click(kPlay) + Tap(kPlay + 4, kF2) + Tap(kPlay + 8, kPrintScreen) + Click(kPlay + 12);
constexpr int kFrames = kPlay + 20;

// Each click adds 1 to variable 0, each frame of play 1 to variable 1. The
// start copies a long function into
// the global table, which makes a save of some 64 KB, several times the
// state dump.
class TFaultGame {
 public:
  explicit TFaultGame(const std::string& name) : game_(name), scratch_("faults_" + name) {
    std::string big;
    for (int i = 0; i < 300; ++i) big += "  add_to_variables op1=9 op2=1 op3=0\n";
    game_.WriteLocation("init.qvx", LocationSource(40,
                                                   "region x=400 y=300 width=200 height=200 function=1 cursor=2\n"
                                                   "function \"start\"\n  call op1=2 str1=\"big\"\n"
                                                   "  set_frame_function str1=\"tick\"\nend\n"
                                                   "function \"hit\"\n  add_to_variables op1=0 op2=1 op3=1\nend\n"
                                                   "function \"big\"\n" +
                                                       big +
                                                       "end\n"
                                                       "function \"tick\"\n  add_to_variables op1=1 op2=1 "
                                                       "op3=1\nend\n"));
  }
  const fs::path& Dir() const { return game_.Dir(); }
  const TScratchDir& Scratch() const { return scratch_; }
  // A save made by the game itself in a run without faults, kept as the one
  // a failed save must not harm; the run's frames of play are what a run
  // with faults must count too.
  std::vector<uint8_t> MakeOldSave(const fs::path& folder) {
    const TRunResult r = Run(kFrames, kPlaySaveAndPlay, {"--save-dir", folder.string()});
    EXPECT_EQ(r.ExitCode, 0) << r.Stderr;
    if (r.State.is_object()) Ticks = Var(r.State, 1);
    fs::remove(Dir() / "screen_0000.bmp");
    return ReadFileBytes(folder / "quick.save");
  }
  int Ticks = -1;
  // The state is dumped into the scratch folder, which no condition touches.
  TRunResult Run(int frames, const std::string& input, std::vector<std::string> extra = {},
                 const std::string& wrapper = {}) {
    scratch_.Write("input.txt", input);
    extra.insert(extra.begin(), {"--input", (scratch_ / "input.txt").string()});
    return RunGame(game_.Dir(), scratch_.Path, frames, extra, wrapper);
  }
  void Remove(const std::string& relative) { fs::remove(game_.Dir() / relative); }

 private:
  TTestGameDir game_;
  TScratchDir scratch_;
};

int Lines(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// The game went on: both clicks and every frame counted, and no crash or
// sanitizer report.
void ExpectPlayedOn(const TRunResult& r, const std::string& what, int ticks) {
  ASSERT_TRUE(r.State.is_object()) << what << ": no state dump; " << r.Stderr;
  EXPECT_EQ(Var(r.State, 0), 2) << what << ": the clicks after the fault count";
  EXPECT_EQ(Var(r.State, 1), ticks) << what << ": no frame is lost to the fault";
  EXPECT_EQ(r.Stderr.find("Sanitizer"), std::string::npos) << what << ": " << r.Stderr;
  EXPECT_EQ(r.Stderr.find("runtime error"), std::string::npos) << what << ": " << r.Stderr;
}

// Mounts the game directory read-only in a mount namespace of its own.
const char* const kReadOnlyWrapper =
    "unshare -m sh -c 'mount --bind \"$0\" \"$0\" && mount -o remount,ro,bind "
    "\"$0\" \"$0\" && exec \"$@\"'";

bool CanMountReadOnly(const fs::path& dir) {
  std::string out;
  return RunCommand(std::string(kReadOnlyWrapper) + " " + Quote(dir.string()) + " sh -c '! touch \"$0\"/.probe'",
                    &out) == 0;
}

}  // namespace

// On a read-only game directory the game starts and plays; saves go to the
// player's data folder with one notice, or, when told to save into the game
// directory, fail with one message and leave the old save as it was. A
// screenshot that cannot be written is one message too.
TEST(FaultsEndToEnd, AReadOnlyGameDirectoryStillPlays) {
  TFaultGame g("read_only");
  if (!CanMountReadOnly(g.Dir())) GTEST_SKIP() << "cannot bind-mount read-only in a mount namespace here";
  const std::vector<uint8_t> old = g.MakeOldSave(g.Dir() / "save");
  ASSERT_FALSE(old.empty());
  const fs::path data = g.Scratch() / "data";
  const std::string wrapper =
      "XDG_DATA_HOME=" + Quote(data.string()) + " " + kReadOnlyWrapper + " " + Quote(g.Dir().string());

  const TRunResult elsewhere = g.Run(kFrames, kPlaySaveAndPlay, {}, wrapper);
  ExpectPlayedOn(elsewhere, "saves elsewhere", g.Ticks);
  EXPECT_EQ(Lines(elsewhere.Stderr, "cannot be written to; saves go to"), 1) << elsewhere.Stderr;
  const fs::path moved = data / "ovgame" / g.Dir().filename() / "save" / "quick.save";
  EXPECT_TRUE(fs::is_regular_file(moved)) << elsewhere.Stderr;
  EXPECT_EQ(Lines(elsewhere.Stderr, "screen_0000.bmp"), 1) << elsewhere.Stderr;

  const TRunResult inside = g.Run(kFrames, kPlaySaveAndPlay, {"--save-dir", (g.Dir() / "save").string()}, wrapper);
  ExpectPlayedOn(inside, "saves inside", g.Ticks);
  EXPECT_EQ(Lines(inside.Stderr, "Cannot save the game"), 1) << inside.Stderr;
  EXPECT_NE(inside.Stderr.find("Read-only file system"), std::string::npos) << inside.Stderr;
  EXPECT_EQ(ReadFileBytes(g.Dir() / "save" / "quick.save"), old);
}

// A missing save folder is made by the first save; a save folder whose name
// a file has taken cannot be, and the save says so and harms nothing.
TEST(FaultsEndToEnd, AMissingSaveFolderIsMadeOrNamed) {
  TFaultGame g("save_folder");
  const TRunResult made = g.Run(kFrames, kPlaySaveAndPlay);
  ASSERT_TRUE(made.State.is_object()) << made.Stderr;
  ExpectPlayedOn(made, "missing folder", Var(made.State, 1));
  EXPECT_TRUE(fs::is_regular_file(g.Dir() / "save" / "quick.save")) << made.Stderr;

  fs::remove_all(g.Dir() / "save");
  g.Remove("screen_0000.bmp");
  std::ofstream(g.Dir() / "save") << "not a folder";
  const TRunResult taken = g.Run(kFrames, kPlaySaveAndPlay);
  ExpectPlayedOn(taken, "name taken by a file", Var(made.State, 1));
  EXPECT_EQ(Lines(taken.Stderr, "Cannot save the game to \"save\\quick.save\""), 1) << taken.Stderr;
  EXPECT_EQ(ReadFileBytes(g.Dir() / "save").size(), 12u);
}

// A disk that fills during a save, made by a file size limit smaller than
// the save (with the signal it raises ignored, as a full disk raises none):
// the write fails part way, the old save stays whole and no piece of the new
// one is left.
TEST(FaultsEndToEnd, AFullDiskDuringASaveKeepsTheOldSave) {
  TFaultGame g("full_disk");
  const fs::path folder = g.Dir() / "save";
  const std::vector<uint8_t> old = g.MakeOldSave(folder);
  ASSERT_GT(old.size(), 60000u);
  // ulimit -f counts blocks of 512 bytes; half the save leaves room for the
  // state dump.
  const std::string limit = std::to_string(old.size() / 2 / 512);
  const std::string wrapper = "sh -c 'trap \"\" XFSZ; ulimit -f " + limit + " && exec \"$@\"' sh";
  const TRunResult r = g.Run(kFrames, kPlaySaveAndPlay, {}, wrapper);
  ExpectPlayedOn(r, "full disk", g.Ticks);
  EXPECT_EQ(Lines(r.Stderr, "Cannot save the game"), 1) << r.Stderr;
  EXPECT_EQ(ReadFileBytes(folder / "quick.save"), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << "no temporary file stays";
}

// A start-up file that is missing ends the game before its first frame with
// one message naming it and exit status 1, not a crash.
TEST(FaultsEndToEnd, AMissingStartUpFileIsNamedOnce) {
  for (const char* file : {"system.wgw", "GFX/person.wgw", "fnt1.dat", "SCENE/init.qvx"}) {
    TFaultGame g("start_up");
    g.Remove(file);
    const TRunResult r = g.Run(5, "");
    EXPECT_EQ(r.ExitCode, 1) << file << ": " << r.Stderr;
    std::string name = file;
    std::replace(name.begin(), name.end(), '/', '\\');
    EXPECT_EQ(Lines(r.Stderr, name), 1) << file << ": " << r.Stderr;
    EXPECT_EQ(Lines(r.Stderr, "error"), 1) << file << ": one message, " << r.Stderr;
  }
}

// A quick save cut short is refused where the player stands when F3 asks for
// it: one message naming it, and the game plays on without losing a frame.
TEST(FaultsEndToEnd, ADamagedQuickSaveIsRefusedAndPlayGoesOn) {
  TFaultGame g("bad_load");
  const fs::path saves = g.Scratch().Path / "saves";
  const std::vector<uint8_t> whole = g.MakeOldSave(saves);
  ASSERT_GT(whole.size(), 100u);
  WriteFileBytes(saves / "quick.save", std::span(whole.data(), whole.size() / 2));
  const TRunResult r = g.Run(kFrames, Click(kPlay) + Tap(kPlay + 4, kF3) + Click(kPlay + 12),
                             {"--save-dir", saves.string()});
  ExpectPlayedOn(r, "damaged quick save", g.Ticks);
  EXPECT_EQ(Lines(r.Stderr, "quick.save"), 1) << r.Stderr;
}

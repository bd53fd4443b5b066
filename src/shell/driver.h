// The command line and the deterministic driver mode: a fixed number of
// frames at a fixed frame time, scripted input instead of the devices, a JSON
// dump of the state after the last frame and screenshots at chosen frames.
// Bug reports and the end-to-end tests use it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/input_state.h"
#include "state/scene_state.h"

struct TCommandLine {
  std::string DataDir;
  // Plays this one video file in a window and exits (an absolute path).
  std::string PlayVideo;
  bool Windowed = false;
  std::string TraceFile;      // every script instruction run, one line each
  std::string StartLocation;  // entered after the start location has run
  std::string SaveDir;  // empty: chosen at start-up
  bool Help = false;
  bool Version = false;
  // Driver mode when Frames is set.
  std::optional<int64_t> Frames;
  double FrameTime = 0.02;
  std::optional<uint32_t> Seed;
  std::string InputFile;
  std::string DumpStateFile;
  std::string AudioOutFile;  // the mixed sound as a WAV file
  std::vector<std::pair<int64_t, std::string>> Screenshots;  // frame, file
  std::vector<std::pair<int64_t, std::string>> StateDumps;   // frame, file
  bool NoRender = false;  // draw only the frames a screenshot is asked of
};

// Throws std::invalid_argument with a message naming the bad argument.
TCommandLine ParseCommandLine(int argc, const char* const* argv);
const char* CommandLineHelp();

struct TInputEvent {
  enum Kind { Move, Down, Up } Type = Move;
  int32_t X = 0, Y = 0;  // Move
  int32_t Key = 0;       // Down, Up: virtual-key code
};

// The driver's scripted input: "FRAME move X Y", "FRAME down KEY",
// "FRAME up KEY" with KEY "left", "right" or a virtual-key number; '#'
// starts a comment line. State holds until changed.
class TScriptedInput {
 public:
  // Throws std::invalid_argument naming the line that is wrong.
  static TScriptedInput Parse(const std::string& text);
  // Parse on a file's text; a file that is missing or not a regular file
  // throws the open error.
  static TScriptedInput ReadFile(const std::string& file);
  // Applies the events of `frame` to `input`.
  void Apply(int64_t frame, TInputState& input) const;

 private:
  std::multimap<int64_t, TInputEvent> events_;
};

// The state dump: JSON with the scene's observable state.
std::string DumpStateJson(const TqvxScene& scene);
// The state dump written to `file`; throws EGameError when it cannot be.
void WriteStateDump(const TqvxScene& scene, const std::string& file);

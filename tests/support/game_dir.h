// Small game directories for tests: archives written with the engine's own
// archive writer, locations built from source text by qvxtool, and runs of
// the real ovgame in driver mode.
#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

struct TTestPicture {
  std::string Name;
  int Width = 4, Height = 4;
  uint32_t Rgba = 0xFFFFFFFF;  // 0xRRGGBBAA
  std::string Next = {};       // animation chain
  int FrameTimeMs = 0;
};

struct TRunResult {
  int ExitCode = -1;
  std::string Stderr;
  nlohmann::json State;  // the --dump-state output, when written
};

// A word for the shell, quoted.
std::string Quote(const std::string& s);
// Runs a shell command and returns its exit status; its standard error (with
// `andOutput`, its standard output too) lands in *captured.
int RunCommand(const std::string& command, std::string* captured, bool andOutput = false);
// Runs ovgame --data DATA --frames N with extra arguments in driver mode and
// reads the state it dumps into the folder `scratch`. A `wrapper` is a shell
// command that runs the game given as its last arguments ("sh -c '...; exec
// \"$@\"' sh"): how a test puts the game under conditions of the system.
TRunResult RunGame(const std::filesystem::path& data, const std::filesystem::path& scratch, int frames,
                   const std::vector<std::string>& extra = {}, const std::string& wrapper = {});
// The dumped object of that name; a test failure and null when there is none.
nlohmann::json Named(const nlohmann::json& state, const std::string& name);
inline int Var(const nlohmann::json& state, int i) { return state["variables"][static_cast<size_t>(i)].get<int>(); }

class TTestGameDir {
 public:
  // A fresh directory under the test's temporary folder, with "system.wgw",
  // "GFX\person.wgw" and "fnt1.dat" already written.
  explicit TTestGameDir(const std::string& name);
  ~TTestGameDir();

  const std::filesystem::path& Dir() const { return dir_; }
  void WriteArchive(const std::string& gamePath, const std::vector<TTestPicture>& pictures);
  // Builds SCENE\<name> from location source text with `qvxtool loc build`.
  void WriteLocation(const std::string& name, const std::string& source);
  // Builds SKETCHES\<name> from sketch source text with `qvxtool sketch build`.
  void WriteSketch(const std::string& name, const std::string& source);
  void WriteFile(const std::string& relative, const std::string& text);
  // Runs ovgame --data DIR --frames N with extra arguments; dumps the state.
  TRunResult Run(int frames, const std::vector<std::string>& extra = {});
  // The same with scripted input ("FRAME move X Y", "FRAME down KEY", ...).
  TRunResult RunWithInput(int frames, const std::string& input, const std::vector<std::string>& extra = {});

 private:
  std::filesystem::path dir_;
};

// A location source with `columns` free grid columns and the given extra lines.
std::string LocationSource(int columns, const std::string& body);

#include "support/game_dir.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/stream.h"
#include "resources/archive_writer.h"

namespace fs = std::filesystem;

std::string Quote(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

int RunCommand(const std::string& command, std::string* captured, bool andOutput) {
  const std::string file = (fs::temp_directory_path() / ("qvx_err_" + std::to_string(::getpid()))).string();
  const std::string redirect = andOutput ? " >" + Quote(file) + " 2>&1" : " 2>" + Quote(file);
  const int status = std::system((command + redirect).c_str());
  if (captured) {
    std::ifstream f(file);
    std::stringstream ss;
    ss << f.rdbuf();
    *captured = ss.str();
  }
  fs::remove(file);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TRunResult RunGame(const fs::path& data, const fs::path& scratch, int frames, const std::vector<std::string>& extra,
                   const std::string& wrapper) {
  TRunResult r;
  const fs::path state = scratch / "state.json";
  fs::remove(state);
  // Mesa and the X libraries keep allocations until exit; leak checks are for
  // the unit tests.
  std::string cmd = "ASAN_OPTIONS=detect_leaks=0 " + (wrapper.empty() ? "" : wrapper + " ") + std::string(OVGAME_PATH) +
                    " --data " + Quote(data.string()) + " --frames " + std::to_string(frames) + " --dump-state " +
                    Quote(state.string());
  for (const auto& a : extra) cmd += " " + Quote(a);
  r.ExitCode = RunCommand(cmd, &r.Stderr);
  std::ifstream f(state);
  if (f) r.State = nlohmann::json::parse(f, nullptr, false);
  return r;
}

nlohmann::json Named(const nlohmann::json& state, const std::string& name) {
  for (const auto& o : state["objects"])
    if (o["name"] == name) return o;
  ADD_FAILURE() << "no object " << name << " in " << state["location"];
  return {};
}

TTestGameDir::TTestGameDir(const std::string& name) {
  dir_ = fs::temp_directory_path() / ("qvx_game_" + std::to_string(::getpid()) + "_" + name);
  fs::remove_all(dir_);
  fs::create_directories(dir_ / "GFX");
  fs::create_directories(dir_ / "SCENE");
  std::vector<TTestPicture> system = {{"absblack", 4, 4, 0x000000FF}, {"cursor01", 4, 4, 0xFFFFFFFF},
                                      {"menubo", 4, 4, 0x808080FF},   {"subpanel", 4, 4, 0x202020FF},
                                      {"fnt1", 16, 16, 0xFFFFFFFF}};
  for (int i = 0; i < 8; ++i) system.push_back({"p_feet_000" + std::to_string(i), 4, 4, 0x00FF00FF});
  WriteArchive("system.wgw", system);
  WriteArchive("GFX/person.wgw", {{"h_stand", 4, 4, 0x0000FFFF}});
  WriteFile("fnt1.dat", std::string(256, '\x08'));
}

TTestGameDir::~TTestGameDir() { fs::remove_all(dir_); }

void TTestGameDir::WriteArchive(const std::string& gamePath, const std::vector<TTestPicture>& pictures) {
  TArchiveSource src;
  src.Title = "test";
  for (const auto& p : pictures) {
    TArchiveImage img;
    img.Record.Name = p.Name;
    img.Record.NextName = p.Next;
    img.Record.FrameTime = p.FrameTimeMs;
    img.Record.ScaleX = img.Record.ScaleY = 1000;
    img.Record.ColorR = img.Record.ColorG = img.Record.ColorB = img.Record.ColorA = 1000;
    // Drawn as the packing tool's pictures are by default: modulated, the
    // picture's own alpha, blended by it. (All codes 0 would draw each
    // colour inverted, added onto what lies below.)
    img.Record.ModeCode = 2;
    img.Record.AlphaCode = 1;
    img.Record.BlendCode = 2;
    img.Picture.Width = p.Width;
    img.Picture.Height = p.Height;
    img.Picture.Bits = 32;
    for (int i = 0; i < p.Width * p.Height; ++i)
      for (int k = 3; k >= 0; --k) img.Picture.Pixels.push_back(static_cast<uint8_t>(p.Rgba >> (8 * k)));
    src.Targas.push_back(std::move(img));
  }
  const auto bytes = ::WriteArchive(src);
  WriteFileBytes(dir_ / gamePath, bytes);
}

void TTestGameDir::WriteFile(const std::string& relative, const std::string& text) {
  fs::create_directories((dir_ / relative).parent_path());
  std::ofstream(dir_ / relative, std::ios::binary) << text;
}

void TTestGameDir::WriteLocation(const std::string& name, const std::string& source) {
  const fs::path src = dir_ / (name + ".src");
  std::ofstream(src, std::ios::binary) << source;
  std::string errors;
  const int rc = RunCommand(std::string(QVXTOOL_PATH) + " loc build " + Quote(src.string()) + " " +
                                Quote((dir_ / "SCENE" / name).string()),
                            &errors);
  if (rc != 0) throw std::runtime_error("qvxtool loc build failed: " + errors);
  fs::remove(src);
}

void TTestGameDir::WriteSketch(const std::string& name, const std::string& source) {
  const fs::path src = dir_ / (name + ".src");
  std::ofstream(src, std::ios::binary) << source;
  fs::create_directories(dir_ / "SKETCHES");
  std::string errors;
  const int rc = RunCommand(std::string(QVXTOOL_PATH) + " sketch build " + Quote(src.string()) + " " +
                                Quote((dir_ / "SKETCHES" / name).string()),
                            &errors);
  if (rc != 0) throw std::runtime_error("qvxtool sketch build failed: " + errors);
  fs::remove(src);
}

TRunResult TTestGameDir::Run(int frames, const std::vector<std::string>& extra) {
  return RunGame(dir_, dir_, frames, extra);
}

TRunResult TTestGameDir::RunWithInput(int frames, const std::string& input, const std::vector<std::string>& extra) {
  WriteFile("input.txt", input);
  std::vector<std::string> args = {"--input", (dir_ / "input.txt").string()};
  args.insert(args.end(), extra.begin(), extra.end());
  return Run(frames, args);
}

std::string LocationSource(int columns, const std::string& body) {
  std::string grid = "grid " + std::to_string(columns) + "\n";
  for (int row = 0; row < 30; ++row) grid += "  " + std::string(static_cast<size_t>(columns), '.') + "\n";
  return grid + body;
}

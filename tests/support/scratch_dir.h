// A fresh folder under the temporary directory for one test, removed again
// at the end. The name carries the process id, since CTest runs the cases of
// one test program side by side.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

struct TScratchDir {
  std::filesystem::path Path;

  explicit TScratchDir(const std::string& tag)
      : Path(std::filesystem::temp_directory_path() / ("qvx_" + tag + "_" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(Path);
    std::filesystem::create_directories(Path);
  }
  ~TScratchDir() { std::filesystem::remove_all(Path); }
  TScratchDir(const TScratchDir&) = delete;
  TScratchDir& operator=(const TScratchDir&) = delete;

  std::filesystem::path operator/(const std::filesystem::path& relative) const { return Path / relative; }
  // Writes `text` to a file below the folder, making the folders on the way.
  std::filesystem::path Write(const std::filesystem::path& relative, const std::string& text) const {
    std::filesystem::create_directories((Path / relative).parent_path());
    std::ofstream(Path / relative, std::ios::binary) << text;
    return Path / relative;
  }
};

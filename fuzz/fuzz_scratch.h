// A folder of the fuzz target's own for readers that take a file name: each
// input is written there under the name the reader expects. It lives in
// memory where the system offers that, as a file written per input on disk
// costs more than most readers. The folder goes when the process ends
// normally; a crash leaves it behind.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

class TFuzzScratch {
 public:
  explicit TFuzzScratch(const std::string& name) : dir_(Base() / ("qvx_fuzz_" + name + "_" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(dir_);
  }
  ~TFuzzScratch() { Remove(); }
  void Remove() const {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  const std::filesystem::path& Dir() const { return dir_; }
  std::filesystem::path Write(const std::string& relative, const uint8_t* data, size_t size) const {
    const std::filesystem::path file = dir_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return file;
  }

 private:
  static std::filesystem::path Base() {
    std::error_code ec;
    if (std::filesystem::is_directory("/dev/shm", ec)) return "/dev/shm";
    return std::filesystem::temp_directory_path();
  }
  std::filesystem::path dir_;
};

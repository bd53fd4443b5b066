#include "scene/save_slots.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "platform/game_error.h"
#include "platform/paths.h"
#include "platform/stream.h"

namespace {

constexpr int kCaptionLength = 50;

std::string TwoDigits(const char* prefix, int32_t n) {
  return std::string(prefix) + (n < 10 ? "0" : "") + std::to_string(n);
}

// The save's first fields, or nothing when the file cannot be read: a missing
// slot is an empty one.
struct TSlotHead {
  int32_t Picture = 0;
  std::string Caption;
};

TSlotHead ReadSlotHead(const TqvxScene& scene, const std::string& fileName) {
  TSlotHead head;
  try {
    TBinaryReader in(SaveFilePath(scene, fileName), SaveDisplayName(scene, fileName));
    in.ReadInt32(head.Picture);
    in.ReadStr(kCaptionLength, head.Caption);
  } catch (const EGameError&) {
  }
  return head;
}

[[noreturn]] void ThrowWriteError(const std::string& displayName, int reason) {
  throw EGameError("Cannot save the game to \"" + displayName + "\": " + std::strerror(reason) +
                   ". The file there before is unchanged.");
}

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

bool Writable(const std::filesystem::path& dir) { return ::access(dir.c_str(), W_OK | X_OK) == 0; }

}  // namespace

std::string SlotFileName(int32_t slot) { return TwoDigits("slot", slot) + ".save"; }

std::string SlotPictureName(int32_t picture) { return TwoDigits("sav", picture); }

int32_t ReadSlotPicture(const TqvxScene& scene, const std::string& fileName) {
  return ReadSlotHead(scene, fileName).Picture;
}

std::string ReadSlotName(const TqvxScene& scene, const std::string& fileName) {
  return ReadSlotHead(scene, fileName).Caption;
}

std::filesystem::path SaveFolder(const TqvxScene& scene) {
  if (!scene.SaveDir.empty()) return scene.SaveDir;
  return ResolveGamePath("save");
}

std::filesystem::path SaveFilePath(const TqvxScene& scene, const std::string& fileName) {
  return ResolveGamePath(fileName, SaveFolder(scene));
}

std::string SaveDisplayName(const TqvxScene& scene, const std::string& fileName) {
  if (scene.SaveDir.empty()) return "save\\" + fileName;
  return (std::filesystem::path(scene.SaveDir) / fileName).string();
}

void WriteFileReplacing(const std::filesystem::path& file, std::span<const uint8_t> bytes,
                        const std::string& displayName) {
  const std::filesystem::path folder = file.parent_path().empty() ? "." : file.parent_path();
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) ThrowWriteError(displayName, ec.value());

  std::string temp = (folder / ("." + file.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) ThrowWriteError(displayName, errno);
  const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  const int reason = errno;
  if (::close(fd) != 0 || !written) {
    ::unlink(temp.c_str());
    ThrowWriteError(displayName, written ? errno : reason);
  }
  // mkstemp makes the file private; a save is an ordinary file of the player.
  ::chmod(temp.c_str(), 0644);
  if (::rename(temp.c_str(), file.c_str()) != 0) {
    const int renameReason = errno;
    ::unlink(temp.c_str());
    ThrowWriteError(displayName, renameReason);
  }
  // The rename itself reaches the disk only with the folder.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

std::string ChooseSaveDir(const std::string& explicitDir, std::string& notice) {
  notice.clear();
  if (!explicitDir.empty()) return explicitDir;
  const std::filesystem::path local = ResolveGamePath("save");
  std::error_code ec;
  if (std::filesystem::is_directory(local, ec) ? Writable(local) : Writable(".")) return {};

  std::filesystem::path base;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
    base = xdg;
  else if (const char* home = std::getenv("HOME"); home && *home)
    base = std::filesystem::path(home) / ".local" / "share";
  else
    base = ".";
  const std::string game = std::filesystem::current_path(ec).filename().string();
  const std::filesystem::path dir = base / "ovgame" / (game.empty() ? "game" : game) / "save";
  notice = "ovgame: the game directory cannot be written to; saves go to " + dir.string();
  return dir.string();
}

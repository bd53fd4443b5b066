#include "platform/paths.h"

#include <vector>

#include "platform/cp1251.h"
#include "platform/game_error.h"
#include "platform/stream.h"

namespace {

std::vector<std::string> SplitComponents(std::string_view path) {
  std::vector<std::string> parts;
  std::string cur;
  for (char c : path) {
    if (c == '\\' || c == '/') {
      if (!cur.empty()) parts.push_back(std::move(cur));
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) parts.push_back(std::move(cur));
  return parts;
}

}  // namespace

std::filesystem::path ResolveGamePath(std::string_view gamePath, const std::filesystem::path& base) {
  namespace fs = std::filesystem;
  // The folders entered so far; ".." leaves the last one and may never leave
  // `base` itself, so that no name a script or a file gives reaches outside.
  std::vector<fs::path> entered{base};
  bool exploring = true;
  for (const std::string& part : SplitComponents(gamePath)) {
    if (part == ".") continue;
    if (part == "..") {
      if (entered.size() == 1)
        throw MakeOpenError(Cp1251ToUtf8(gamePath), "The name leads outside the game directory.");
      entered.pop_back();
      std::error_code ec;
      exploring = fs::exists(entered.back(), ec);
      continue;
    }
    const fs::path& current = entered.back();
    fs::path exact = current / Cp1251ToUtf8(part);
    std::error_code ec;
    if (!exploring || fs::exists(exact, ec)) {
      entered.push_back(std::move(exact));
      continue;
    }
    const std::string wanted = Cp1251Lower(part);
    fs::path found;
    for (fs::directory_iterator it(current, ec), end; !ec && it != end; it.increment(ec)) {
      auto name = Utf8ToCp1251(it->path().filename().string());
      if (name && Cp1251Lower(*name) == wanted) {
        found = it->path();
        break;
      }
    }
    if (found.empty()) {
      exploring = false;
      entered.push_back(std::move(exact));
    } else {
      entered.push_back(std::move(found));
    }
  }
  return entered.back();
}

std::vector<uint8_t> ReadGameFile(std::string_view gamePath, const std::filesystem::path& base) {
  return ReadFileBytes(ResolveGamePath(gamePath, base), Cp1251ToUtf8(gamePath));
}

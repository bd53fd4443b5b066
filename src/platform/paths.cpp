#include "platform/paths.h"

#include <vector>

#include "platform/cp1251.h"
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
  fs::path current = base;
  bool exploring = true;
  for (const std::string& part : SplitComponents(gamePath)) {
    const std::string utf8 = Cp1251ToUtf8(part);
    if (part == ".") continue;
    if (part == "..") {
      current /= "..";
      continue;
    }
    fs::path exact = current / utf8;
    std::error_code ec;
    if (!exploring || fs::exists(exact, ec)) {
      current = exact;
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
      current = exact;
    } else {
      current = found;
    }
  }
  return current;
}

std::vector<uint8_t> ReadGameFile(std::string_view gamePath, const std::filesystem::path& base) {
  return ReadFileBytes(ResolveGamePath(gamePath, base), Cp1251ToUtf8(gamePath));
}

// Game paths such as "GFX\person.wgw" are relative to the game directory (the
// current directory once the shell has entered it), use backslashes and come
// from a case-insensitive file system. The resolver finds the real file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Resolves a cp1251 game path under `base`. Each component is matched exactly
// first, then case-insensitively (Latin and Cyrillic). A component that matches
// nothing is kept as given, so the result names where the file would be.
// Names come from scripts and data files: a ".." that would climb above
// `base` throws the open error naming the game path, and a leading separator
// or drive is just another folder under `base`.
std::filesystem::path ResolveGamePath(std::string_view gamePath, const std::filesystem::path& base = ".");

// Reads a whole game file; throws the open error naming the game path.
std::vector<uint8_t> ReadGameFile(std::string_view gamePath, const std::filesystem::path& base = ".");

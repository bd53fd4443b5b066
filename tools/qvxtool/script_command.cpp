// qvxtool script: the text form of script functions.
//
//   qvxtool script disasm FILE [--as loc|save|stream] [--game DIR]
//   qvxtool script asm SRC OUT
//
// disasm prints the functions of a location file (the last section), the
// global functions of a save game, or a bare function stream (int32 count,
// then stored functions). The kind follows the extension (.qvx, .save,
// anything else a stream) unless --as names it. A save game does not record
// how many objects and regions precede its global functions; they are those
// of the location file it names, looked up as SCENE\<name> under the game
// directory (--game, or the folder above the save file's folder).
// asm writes a bare function stream.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "commands.h"
#include "platform/cp1251.h"
#include "platform/game_error.h"
#include "platform/paths.h"
#include "platform/stream.h"
#include "scene/location_file.h"
#include "script/function_io.h"
#include "script/script_text.h"

namespace {

namespace fs = std::filesystem;

void ScriptUsage(std::FILE* out) {
  std::fputs(
      "usage: qvxtool script disasm FILE [--as loc|save|stream] [--game DIR]\n"
      "       qvxtool script asm SRC OUT\n"
      "       qvxtool script codes [--markdown]\n"
      "disasm prints the functions of a location file, a save game's global\n"
      "functions or a bare function stream; asm writes a bare function stream;\n"
      "codes prints every instruction code with its operands.\n",
      out);
}

[[noreturn]] void Cut(const TBinaryReader& in, const char* section) {
  throw EGameError(in.Name() + ": data cut short in the " + section + " (at byte " + std::to_string(in.Position()) +
                   ")");
}

void SkipOrCut(TBinaryReader& in, uint64_t n, const char* section) {
  if (!in.Skip(n)) Cut(in, section);
}

// A location through the game's own reader. The game reads a short file as
// far as it goes; a tool that shows the file refuses it instead, so that
// what it prints is what the file holds.
TLocationData ReadWholeLocation(const fs::path& file) {
  TBinaryReader in(file, file.string());
  TLocationData data;
  ReadLocationData(in, data);
  if (in.RanShort()) Cut(in, "location");
  return data;
}

std::vector<TqvxFunction> ReadTable(TBinaryReader& in, const char* what) {
  std::vector<TqvxFunction> table;
  if (!ReadFunctionTable(in, table)) Cut(in, what);
  return table;
}

std::vector<TqvxFunction> SaveGameFunctions(const fs::path& file, const fs::path& gameDirOption) {
  TBinaryReader in(file, file.string());
  std::string text, location;
  int32_t menu = 0;
  if (!in.ReadInt32(menu)) Cut(in, "header");
  for (int i = 0; i < 4; ++i)
    if (!in.ReadStr(50, text)) Cut(in, "header");
  if (!in.ReadStr(120, text) || !in.ReadStr(120, location)) Cut(in, "header");

  const fs::path gameDir =
      !gameDirOption.empty() ? gameDirOption : fs::absolute(file).parent_path().parent_path();
  const fs::path locFile = ResolveGamePath("SCENE\\" + location, gameDir);
  if (!fs::is_regular_file(locFile))
    throw EGameError(file.string() + ": the save names location \"" + Cp1251ToUtf8(location) +
                     "\", which is not at " + locFile.string() + "; give the game directory with --game DIR");
  const TLocationData loc = ReadWholeLocation(locFile);

  // Object blocks of 274 bytes; then the hero click function and box, hero
  // speed, dragged object, cursor byte and the two script flags (23 bytes);
  // one byte per region; 20 delayed slots of 9 bytes, the frame function and
  // the scroll position (188 bytes).
  const uint64_t skip = uint64_t{loc.Objects.size()} * 274 + 23 + uint64_t{loc.Regions.size()} + 188;
  SkipOrCut(in, skip, "state before the global functions");
  return ReadTable(in, "global functions");
}

int Disasm(const TArgs& args) {
  fs::path file, gameDir;
  std::string kind;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--as" || args[i] == "--game") {
      if (i + 1 >= args.size()) {
        std::fprintf(stderr, "qvxtool script: %s needs a value\n", args[i].c_str());
        return 1;
      }
      if (args[i] == "--as") kind = args[i + 1];
      else gameDir = args[i + 1];
      ++i;
    } else if (file.empty()) {
      file = args[i];
    } else {
      ScriptUsage(stderr);
      return 1;
    }
  }
  if (file.empty()) {
    ScriptUsage(stderr);
    return 1;
  }
  std::error_code ec;
  if (!gameDir.empty() && !fs::is_directory(gameDir, ec)) {
    std::fprintf(stderr, "qvxtool script: --game %s: no such folder\n", gameDir.string().c_str());
    return 1;
  }
  if (kind.empty()) {
    const std::string ext = Cp1251Lower(file.extension().string());
    kind = ext == ".qvx" ? "loc" : ext == ".save" ? "save" : "stream";
  }

  std::vector<TqvxFunction> functions;
  std::string what;
  if (kind == "loc") {
    functions = ReadWholeLocation(file).Functions;
    what = "location functions";
  } else if (kind == "save") {
    functions = SaveGameFunctions(file, gameDir);
    what = "global functions of a save game";
  } else if (kind == "stream") {
    TBinaryReader in(file, file.string());
    functions = ReadTable(in, "function count");
    if (!in.AtEnd())
      std::fprintf(stderr, "qvxtool script: %llu bytes follow the functions\n",
                   static_cast<unsigned long long>(in.Remaining()));
    what = "function stream";
  } else {
    std::fprintf(stderr, "qvxtool script: --as takes loc, save or stream, not '%s'\n", kind.c_str());
    return 1;
  }
  std::printf("# %s: %s, %zu\n", file.string().c_str(), what.c_str(), functions.size());
  if (!functions.empty()) std::printf("\n%s", FormatFunctions(functions).c_str());
  return 0;
}

int Asm(const TArgs& args) {
  if (args.size() != 2) {
    ScriptUsage(stderr);
    return 1;
  }
  std::ifstream src(args[0], std::ios::binary);
  if (!src) {
    std::fprintf(stderr, "qvxtool script: cannot open '%s'\n", args[0].c_str());
    return 1;
  }
  std::ostringstream text;
  text << src.rdbuf();
  try {
    const std::vector<TqvxFunction> functions = ParseScriptText(text.str(), args[0]);
    TBinaryWriter out;
    WriteFunctionTable(out, functions);
    WriteFileBytes(args[1], out.Bytes());
  } catch (const EScriptTextError& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}

}  // namespace

int ScriptCommand(const TArgs& args) {
  if (args.empty()) {
    ScriptUsage(stderr);
    return 1;
  }
  const TArgs rest(args.begin() + 1, args.end());
  if (args[0] == "disasm") return Disasm(rest);
  if (args[0] == "asm") return Asm(rest);
  if (args[0] == "codes") return ScriptCodesCommand(rest);
  std::fprintf(stderr, "qvxtool script: unknown sub-command '%s'\n", args[0].c_str());
  ScriptUsage(stderr);
  return 1;
}

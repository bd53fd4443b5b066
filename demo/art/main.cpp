// demo_art: paints the demo game's pictures and writes, under the output
// folder, one sub-folder per archive (PNGs and a pack manifest), the font
// width table fnt1.dat, the item captions caption.inv and the voice-line
// subtitles comments.dat.
//
//   demo_art OUTDIR [--font TTF] [--bold-font TTF] [--captions FILE] [--comments FILE]
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "art_common.h"
#include "cabin_art.h"
#include "captions.h"
#include "ending_art.h"
#include "font_art.h"
#include "hero_art.h"
#include "item_art.h"
#include "location_art.h"
#include "menu_art.h"
#include "night_art.h"
#include "prop_art.h"
#include "story_art.h"
#include "system_art.h"

namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
  std::string out, font = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  std::string bold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", captions, comments;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if ((a == "--font" || a == "--bold-font" || a == "--captions" || a == "--comments") && i + 1 < argc) {
      (a == "--font" ? font : a == "--bold-font" ? bold : a == "--captions" ? captions : comments) = argv[++i];
    } else if (out.empty() && a.rfind("--", 0) != 0) {
      out = a;
    } else {
      std::fprintf(stderr, "demo_art: unexpected argument %s\n", a.c_str());
      return 2;
    }
  }
  if (out.empty()) {
    std::fputs("usage: demo_art OUTDIR [--font TTF] [--bold-font TTF] [--captions FILE] [--comments FILE]\n",
               stderr);
    return 2;
  }
  try {
    MakeDirs(out);
    TArtArchive system("system", JoinPath(out, "system"));
    BuildSystemArt(system);
    BuildItemArt(system);
    BuildCloseUpArt(system, bold);
    WriteFontWidths(BuildFont(system, font), JoinPath(out, "fnt1.dat"));
    system.WriteManifest();

    TArtArchive person("person", JoinPath(out, "person"));
    BuildHeroArt(person);
    person.WriteManifest();

    TArtArchive menu("menu", JoinPath(out, "menu"));
    BuildMenuArt(menu, bold);
    BuildFont(menu, font);
    menu.WriteManifest();

    TArtArchive lake("loc_lake", JoinPath(out, "loc_lake"));
    BuildLakeArt(lake, bold);
    BuildLakeProps(lake, bold);
    BuildSpeechBubbles(lake, bold);
    BuildEndingArt(lake, bold);
    BuildNightSky(lake);
    BuildStoryArt(lake, bold);
    lake.WriteManifest();

    TArtArchive forest("loc_forest", JoinPath(out, "loc_forest"));
    BuildForestArt(forest, bold);
    BuildForestProps(forest);
    BuildSpeechBubbles(forest, bold);
    forest.WriteManifest();

    TArtArchive cabin("loc_cabin", JoinPath(out, "loc_cabin"));
    BuildCabinArt(cabin);
    BuildCabinProps(cabin);
    BuildSpeechBubbles(cabin, bold);
    cabin.WriteManifest();

    if (!captions.empty()) WriteBytes(JoinPath(out, "caption.inv"), BuildCaptionTable(ReadText(captions)));
    if (!comments.empty()) WriteBytes(JoinPath(out, "comments.dat"), BuildCommentTable(ReadText(comments)));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "demo_art: %s\n", e.what());
    return 1;
  }
  return 0;
}

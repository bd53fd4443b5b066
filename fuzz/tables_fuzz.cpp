// Feeds arbitrary bytes to the two text tables a game directory holds: the
// item captions ("caption.inv") and the voice comments, the subtitles of the
// spoken lines. The comment table is refused unless it has its exact size,
// so the input is also tried as the start of a table of that size. Every
// text read is laid out as the screen would show it, in a font whose widths
// come from the same bytes.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "fuzz_scratch.h"
#include "hero/inventory.h"
#include "platform/game_error.h"
#include "render/hud_string.h"
#include "sound/sound_set_file.h"

namespace {

void Show(THUDString& text, const std::string& value, int32_t width) {
  static std::vector<TGlyphQuad> quads;
  SetTextWrapped(text, value, width);
  LayoutText(text, quads);
  for (const TGlyphQuad& q : quads)
    if (!std::isfinite(q.Left) || !std::isfinite(q.Right)) std::abort();
}

void ReadCommentTable(std::span<const uint8_t> bytes, THUDString& text) {
  std::vector<std::string> comments;
  try {
    comments = ReadComments(bytes, "fuzz.txt");
  } catch (const EGameError&) {
    return;
  }
  for (const std::string& c : comments)
    if (!c.empty()) Show(text, c, 640);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const TFuzzScratch scratch("tables");
  const std::span<const uint8_t> bytes(data, size);
  THUDString text;
  LoadFontWidths(text, bytes.first(std::min<size_t>(size, 256)), 512);
  text.Alignment = size > 0 ? data[0] % 3 : 0;

  scratch.Write("caption.inv", data, size);
  TInventory inv;
  LoadCaptions(inv, scratch.Dir());
  for (const std::string& c : inv.Captions) {
    if (c.size() > 32) std::abort();
    Show(text, c, 200);
  }

  ReadCommentTable(bytes, text);
  static std::vector<uint8_t> table(kCommentsFileBytes, 0);
  std::fill(std::copy_n(data, std::min(size, table.size()), table.begin()), table.end(), 0);
  ReadCommentTable(table, text);
  return 0;
}

#include "captions.h"

#include <sstream>
#include <stdexcept>

#include "platform/cp1251.h"

namespace {

// Records of one length byte and `textBytes` of text; id k goes to record
// k - `firstId`, ids run from 1 to `lastId`.
std::vector<uint8_t> BuildTextTable(const std::string& source, int records, int textBytes, int firstId, int lastId) {
  std::vector<uint8_t> table(static_cast<size_t>(records) * static_cast<size_t>(textBytes + 1), 0);
  std::vector<bool> seen(static_cast<size_t>(lastId) + 1, false);
  std::istringstream in(source);
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    auto fail = [&](const std::string& why) {
      throw std::runtime_error("captions line " + std::to_string(lineNo) + ": " + why);
    };
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) fail("expected id, a tab and the caption");
    int id = 0;
    try {
      size_t used = 0;
      id = std::stoi(line.substr(0, tab), &used);
      if (used != tab) fail("bad item id");
    } catch (const std::logic_error&) {
      fail("bad item id");
    }
    if (id < 1 || id > lastId) fail("id must be 1 to " + std::to_string(lastId));
    if (seen[static_cast<size_t>(id)]) fail("id given twice");
    seen[static_cast<size_t>(id)] = true;
    const std::optional<std::string> text = Utf8ToCp1251(std::string_view(line).substr(tab + 1));
    if (!text) fail("text cannot be stored in cp1251");
    if (text->size() > static_cast<size_t>(textBytes))
      fail("text longer than " + std::to_string(textBytes) + " characters");
    uint8_t* rec = table.data() + static_cast<size_t>(id - firstId) * static_cast<size_t>(textBytes + 1);
    rec[0] = static_cast<uint8_t>(text->size());
    for (size_t i = 0; i < text->size(); ++i) rec[1 + i] = static_cast<uint8_t>((*text)[i]);
  }
  return table;
}

}  // namespace

std::vector<uint8_t> BuildCaptionTable(const std::string& source) {
  return BuildTextTable(source, kCaptionRecords, kCaptionText, 1, kCaptionRecords);
}

std::vector<uint8_t> BuildCommentTable(const std::string& source) {
  return BuildTextTable(source, kCommentRecords, kCommentText, 0, kCommentRecords - 1);
}

#include "captions.h"

#include <sstream>
#include <stdexcept>

#include "platform/cp1251.h"

std::vector<uint8_t> BuildCaptionTable(const std::string& source) {
  std::vector<uint8_t> table(static_cast<size_t>(kCaptionRecords) * (kCaptionText + 1), 0);
  std::vector<bool> seen(kCaptionRecords, false);
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
    if (id < 1 || id > kCaptionRecords) fail("item id must be 1 to 64");
    if (seen[static_cast<size_t>(id - 1)]) fail("item id given twice");
    seen[static_cast<size_t>(id - 1)] = true;
    const std::optional<std::string> text = Utf8ToCp1251(std::string_view(line).substr(tab + 1));
    if (!text) fail("text cannot be stored in cp1251");
    if (text->size() > kCaptionText) fail("caption longer than 32 characters");
    uint8_t* rec = table.data() + static_cast<size_t>(id - 1) * (kCaptionText + 1);
    rec[0] = static_cast<uint8_t>(text->size());
    for (size_t i = 0; i < text->size(); ++i) rec[1 + i] = static_cast<uint8_t>((*text)[i]);
  }
  return table;
}

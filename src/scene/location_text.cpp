#include "scene/location_text.h"

#include <charconv>
#include <map>
#include <sstream>

#include "platform/cp1251.h"
#include "platform/game_error.h"
#include "platform/source_line.h"
#include "platform/stream.h"
#include "script/script_text.h"

namespace {

std::string FormatFloat(float v) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
  return ec == std::errc() ? std::string(buf, end) : "0";
}

char CellChar(int32_t v) {
  if (v == 0) return '.';
  if (v == 1) return '#';
  if (v >= 2 && v <= 9) return static_cast<char>('0' + v);
  if (v >= 10 && v <= 35) return static_cast<char>('a' + v - 10);
  return '?';
}

bool CharCell(char c, int32_t& v) {
  if (c == '.') v = 0;
  else if (c == '#') v = 1;
  else if (c >= '2' && c <= '9') v = c - '0';
  else if (c >= 'a' && c <= 'z') v = c - 'a' + 10;
  else if (c == '?') v = 0;  // given by a "cell" line
  else return false;
  return true;
}

class TLineReader : public TSourceLine {
 public:
  using TSourceLine::TSourceLine;
  // Grid rows hold '#', so a word here runs on through it.
  std::string Word() { return TSourceLine::Word(""); }
  float Float(const std::map<std::string, std::string>& p, const char* key) const {
    auto it = p.find(key);
    if (it == p.end()) return 0;
    float v = 0;
    auto [end, ec] = std::from_chars(it->second.data(), it->second.data() + it->second.size(), v);
    if (ec != std::errc() || end != it->second.data() + it->second.size())
      Fail(std::string("bad number for ") + key + ": '" + it->second + "'");
    return v;
  }
  int32_t Int(const std::map<std::string, std::string>& p, const char* key) const { return ParseInt(p.count(key) ? p.at(key) : "0", key); }
  int32_t ParseInt(const std::string& s, const char* what) const {
    int32_t v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size()) Fail(std::string("bad integer for ") + what + ": '" + s + "'");
    return v;
  }
};

std::string ReadTextFile(const std::filesystem::path& path) {
  const std::vector<uint8_t> bytes = ReadFileBytes(path, path.string());
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace

std::string FormatLocationText(const TLocationData& d) {
  std::ostringstream out;
  out << "header name=" << QuoteScriptString(d.HeaderName) << " text=" << QuoteScriptString(d.HeaderText) << "\n";
  for (const auto& o : d.Objects) {
    out << "object layer=" << o.Layer << " name=" << QuoteScriptString(o.Name) << " x=" << FormatFloat(o.X)
        << " y=" << FormatFloat(o.Y) << " parallax=" << FormatFloat(o.Parallax) << " width=" << FormatFloat(o.Width)
        << " height=" << FormatFloat(o.Height) << " picture=" << QuoteScriptString(o.Picture) << "\n";
    for (const auto& h : o.HotSpots)
      out << "  hotspot x=" << FormatFloat(h.X) << " y=" << FormatFloat(h.Y) << " radius=" << FormatFloat(h.Radius)
          << "\n";
  }
  out << "grid " << d.Grid.size() << "\n";
  std::ostringstream cells;
  for (int row = 0; row < kGridRows; ++row) {
    out << "  ";
    for (size_t col = 0; col < d.Grid.size(); ++col) {
      const int32_t v = d.Grid[col][static_cast<size_t>(row)];
      out << CellChar(v);
      if (CellChar(v) == '?') cells << "cell " << col << " " << row << " " << v << "\n";
    }
    out << "\n";
  }
  out << cells.str();
  for (const auto& r : d.Regions)
    out << "region x=" << FormatFloat(r.X) << " y=" << FormatFloat(r.Y) << " width=" << FormatFloat(r.Width)
        << " height=" << FormatFloat(r.Height) << " function=" << r.Function << " cursor=" << r.CursorNumber << "\n";
  for (const auto& road : d.Roads) {
    out << "road";
    for (const auto& p : road.Points) out << " " << p.X << "," << p.Y;
    out << "\n";
  }
  for (size_t i = 0; i < d.Functions.size(); ++i) out << FormatFunction(d.Functions[i], static_cast<int32_t>(i));
  return out.str();
}

TLocationData ParseLocationText(const std::string& text, const std::string& sourceName,
                                const std::filesystem::path& baseDir) {
  TLocationData d;
  TScriptTextParser functions(sourceName);
  std::vector<std::string> lines;
  {
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
  }
  int gridRowsLeft = 0;
  for (size_t n = 0; n < lines.size(); ++n) {
    const int lineNo = static_cast<int>(n) + 1;
    const std::string& line = lines[n];
    if (gridRowsLeft > 0) {
      TLineReader r(sourceName, lineNo, line);
      // Grid rows are taken whole: '#' is a blocked cell here, not a comment.
      const size_t from = line.find_first_not_of(" \t");
      const size_t to = line.find_last_not_of(" \t\r");
      const std::string row = from == std::string::npos ? "" : line.substr(from, to - from + 1);
      if (row.size() != d.Grid.size()) r.Fail("a grid row needs " + std::to_string(d.Grid.size()) + " cells");
      const int rowIndex = kGridRows - gridRowsLeft;
      for (size_t col = 0; col < row.size(); ++col)
        if (!CharCell(row[col], d.Grid[col][static_cast<size_t>(rowIndex)]))
          r.Fail(std::string("unknown grid character '") + row[col] + "'");
      --gridRowsLeft;
      continue;
    }
    if (functions.FeedLine(line, lineNo)) continue;
    TLineReader r(sourceName, lineNo, line);
    const std::string verb = r.Word();
    if (verb == "header") {
      auto p = r.Pairs({{"name", true}, {"text", true}});
      if (p.count("name")) d.HeaderName = p["name"];
      if (p.count("text")) d.HeaderText = p["text"];
    } else if (verb == "object") {
      auto p = r.Pairs({{"layer", false}, {"name", true}, {"x", false}, {"y", false}, {"parallax", false},
                        {"width", false}, {"height", false}, {"picture", true}});
      TLocationObject o;
      o.Layer = r.Int(p, "layer");
      if (o.Layer < 0 || o.Layer > 2) r.Fail("layer must be 0, 1 or 2");
      o.Name = p.count("name") ? p["name"] : "Default";
      o.X = r.Float(p, "x");
      o.Y = r.Float(p, "y");
      o.Parallax = p.count("parallax") ? r.Float(p, "parallax") : 1;
      o.Width = r.Float(p, "width");
      o.Height = r.Float(p, "height");
      o.Picture = p["picture"];
      d.Objects.push_back(std::move(o));
    } else if (verb == "hotspot") {
      if (d.Objects.empty()) r.Fail("a hotspot belongs to the object before it");
      auto p = r.Pairs({{"x", false}, {"y", false}, {"radius", false}});
      d.Objects.back().HotSpots.push_back({r.Float(p, "radius"), r.Float(p, "x"), r.Float(p, "y")});
    } else if (verb == "grid") {
      const int32_t columns = r.ParseInt(r.Word(), "grid width");
      if (columns < 0 || columns > kMaxGridWidth) r.Fail("grid width out of range");
      d.Grid.assign(static_cast<size_t>(columns), {});
      gridRowsLeft = kGridRows;
    } else if (verb == "cell") {
      const int32_t col = r.ParseInt(r.Word(), "column"), row = r.ParseInt(r.Word(), "row");
      const int32_t value = r.ParseInt(r.Word(), "value");
      if (col < 0 || col >= static_cast<int32_t>(d.Grid.size()) || row < 0 || row >= kGridRows)
        r.Fail("cell outside the grid");
      d.Grid[static_cast<size_t>(col)][static_cast<size_t>(row)] = value;
    } else if (verb == "region") {
      auto p = r.Pairs({{"x", false}, {"y", false}, {"width", false}, {"height", false}, {"function", false},
                        {"cursor", false}});
      d.Regions.push_back({r.Float(p, "width"), r.Float(p, "height"), r.Float(p, "x"), r.Float(p, "y"),
                           r.Int(p, "function"), r.Int(p, "cursor")});
    } else if (verb == "road") {
      TqvxRoad road;
      while (!r.AtEnd()) {
        std::string point = r.Word();
        const size_t comma = point.find(',');
        if (comma == std::string::npos) r.Fail("road points are COLUMN,ROW");
        road.Points.push_back({r.ParseInt(point.substr(0, comma), "road column"),
                               r.ParseInt(point.substr(comma + 1), "road row")});
      }
      d.Roads.push_back(std::move(road));
    } else if (verb == "include") {
      const std::string file = r.Quoted();
      const auto path = baseDir / Cp1251ToUtf8(file);
      for (auto& f : ParseScriptText(ReadTextFile(path), path.string())) functions.Functions().push_back(std::move(f));
    } else {
      r.Fail("unknown line '" + verb + "'");
    }
  }
  if (gridRowsLeft > 0)
    throw EGameError(sourceName + ": the grid needs " + std::to_string(kGridRows) + " rows");
  functions.Finish(static_cast<int>(lines.size()));
  d.Functions = std::move(functions.Functions());
  return d;
}

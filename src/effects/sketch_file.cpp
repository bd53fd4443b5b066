#include "effects/sketch_file.h"

#include <charconv>
#include <climits>
#include <cstring>
#include <optional>

#include "platform/cp1251.h"
#include "platform/game_error.h"
#include "platform/source_line.h"
#include "script/script_text.h"

namespace {

constexpr const char* kValueNames[kSketchValues] = {
    "width", "height", "x", "y", "angle", "angle_speed", "direction", "move_speed",
    "zoom_speed", "zoom_accel", "zoom", "delay", "hold"};
constexpr const char* kStringNames[3] = {"note", "sound", "picture"};

TSketchString* RecordString(TSketchRecord& r, int i) { return i == 0 ? &r.Note : i == 1 ? &r.Sound : &r.Picture; }

std::string Hex(const uint8_t* data, size_t n) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (size_t i = 0; i < n; ++i) out += kDigits[data[i] >> 4], out += kDigits[data[i] & 15];
  return out;
}

// " name="text"" and, when the stored bytes are not the text's plain form,
// " name_raw=HEX"; nothing for an empty plain string.
std::string FormatString(const char* name, const TSketchString& s, bool always) {
  const std::string text = SketchText(s);
  std::string out;
  if (always || !text.empty() || s != SketchString(text)) out += std::string(" ") + name + "=" + QuoteScriptString(text);
  if (s != SketchString(text)) out += std::string(" ") + name + "_raw=" + Hex(s.data(), s.size());
  return out;
}

class TLine : public TSourceLine {
 public:
  using TSourceLine::TSourceLine;
  int32_t Int() { return ParseInt(Word()); }
  std::vector<uint8_t> HexBytes() {
    const std::string w = Word();
    if (w.size() % 2) Fail("an odd number of hex digits");
    std::vector<uint8_t> out;
    for (size_t i = 0; i < w.size(); i += 2) {
      uint8_t b = 0;
      auto [end, ec] = std::from_chars(w.data() + i, w.data() + i + 2, b, 16);
      if (ec != std::errc() || end != w.data() + i + 2) Fail("bad hex digits '" + w.substr(i, 2) + "'");
      out.push_back(b);
    }
    return out;
  }
  TSketchString Raw() {
    const std::vector<uint8_t> bytes = HexBytes();
    if (bytes.size() != kSketchStrSize) Fail("a raw string is " + std::to_string(kSketchStrSize * 2) + " hex digits");
    TSketchString s{};
    std::memcpy(s.data(), bytes.data(), s.size());
    return s;
  }
  std::string Quoted() {
    std::string cp = TSourceLine::Quoted();
    if (cp.size() > kSketchStrLen) Fail("a string longer than 255 bytes");
    return cp;
  }
};

// A string given as text and perhaps raw bytes: the raw bytes must hold the text.
TSketchString Settle(TLine& line, const std::string& name, const std::string* text, const TSketchString* raw) {
  if (!raw) return SketchString(text ? *text : std::string());
  if (text && SketchText(*raw) != *text) line.Fail(name + "_raw does not hold the text of " + name);
  return *raw;
}

TSketchRecord ParseRecord(TLine& line) {
  TSketchRecord r;
  bool seen[kSketchValues] = {};
  std::optional<std::string> text[3];
  std::optional<TSketchString> raw[3];
  while (!line.AtEnd()) {
    const std::string key = line.Word();
    line.Expect('=');
    bool known = false;
    for (int i = 0; i < kSketchValues && !known; ++i)
      if (key == kValueNames[i]) {
        if (seen[i]) line.Fail("'" + key + "' given twice");
        seen[i] = known = true;
        r.Values[static_cast<size_t>(i)] = line.Int();
      }
    for (int i = 0; i < 3 && !known; ++i) {
      if (key == kStringNames[i]) known = true, text[i] = line.Quoted();
      if (key == std::string(kStringNames[i]) + "_raw") known = true, raw[i] = line.Raw();
    }
    if (!known) line.Fail("unknown key '" + key + "'");
  }
  for (int i = 0; i < 3; ++i)
    *RecordString(r, i) = Settle(line, kStringNames[i], text[i] ? &*text[i] : nullptr, raw[i] ? &*raw[i] : nullptr);
  return r;
}

}  // namespace

std::string SketchText(const TSketchString& s) { return std::string(reinterpret_cast<const char*>(s.data() + 1), s[0]); }

TSketchString SketchString(const std::string& text) {
  TSketchString s{};
  const size_t n = text.size() < kSketchStrLen ? text.size() : kSketchStrLen;
  s[0] = static_cast<uint8_t>(n);
  std::memcpy(s.data() + 1, text.data(), n);
  return s;
}

TSketchFile ReadSketchFile(TBinaryReader& in, int32_t maxRecords) {
  TSketchFile f;
  if (!in.ReadInt32(f.Count)) {
    f.Complete = false;
    return f;
  }
  const uint64_t records = f.Count > 0 ? static_cast<uint64_t>(f.Count) : 0;
  if (records > in.Remaining() / kSketchRecordSize)
    throw EGameError(in.Name() + ": the file holds " + std::to_string(in.Remaining() / kSketchRecordSize) +
                     " sketch records, not the " + std::to_string(f.Count) + " it counts");
  const uint64_t limit = maxRecords > 0 ? static_cast<uint64_t>(maxRecords) : 0;
  const uint64_t kept = records < limit ? records : limit;
  f.Records.resize(kept);
  for (TSketchRecord& r : f.Records) {
    for (int32_t& v : r.Values) in.ReadInt32(v);
    in.ReadBytes(r.Note.data(), kSketchStrSize);
    in.ReadBytes(r.Sound.data(), kSketchStrSize);
    in.ReadBytes(r.Picture.data(), kSketchStrSize);
  }
  in.Skip((records - kept) * kSketchRecordSize);
  if (!in.ReadBytes(f.NextLocation.data(), kSketchStrSize)) {
    // A short last string: the bytes that are there, like any short read.
    const uint64_t left = in.Remaining();
    if (left > 0) {
      std::vector<uint8_t> part(left);
      in.ReadBytes(part.data(), left);
      std::memcpy(f.NextLocation.data(), part.data(), left);
    }
    f.Complete = false;
    return f;
  }
  f.Trailing.resize(in.Remaining());
  in.ReadBytes(f.Trailing.data(), f.Trailing.size());
  return f;
}

std::vector<uint8_t> WriteSketchFile(const TSketchFile& file) {
  TBinaryWriter out;
  out.WriteInt32(file.Count);
  for (const TSketchRecord& r : file.Records) {
    for (int32_t v : r.Values) out.WriteInt32(v);
    out.WriteBytes(r.Note.data(), kSketchStrSize);
    out.WriteBytes(r.Sound.data(), kSketchStrSize);
    out.WriteBytes(r.Picture.data(), kSketchStrSize);
  }
  out.WriteBytes(file.NextLocation.data(), kSketchStrSize);
  out.WriteBytes(file.Trailing.data(), file.Trailing.size());
  return out.Bytes();
}

std::string FormatSketchText(const TSketchFile& file) {
  std::string out = "# sketch file: " + std::to_string(file.Records.size()) + " sketches\n";
  if (file.Count != static_cast<int32_t>(file.Records.size())) out += "count " + std::to_string(file.Count) + "\n";
  for (const TSketchRecord& r : file.Records) {
    out += "sketch" + FormatString("picture", r.Picture, true);
    for (int i = 0; i < kSketchValues; ++i)
      if (r.Values[static_cast<size_t>(i)] != 0)
        out += std::string(" ") + kValueNames[i] + "=" + std::to_string(r.Values[static_cast<size_t>(i)]);
    out += FormatString("sound", r.Sound, false) + FormatString("note", r.Note, false) + "\n";
  }
  const std::string next = FormatString("next_location", file.NextLocation, false);
  if (!next.empty()) out += next.substr(1) + "\n";
  if (!file.Trailing.empty()) out += "trailing " + Hex(file.Trailing.data(), file.Trailing.size()) + "\n";
  return out;
}

TSketchFile ParseSketchText(const std::string& text, const std::string& sourceName) {
  TSketchFile f;
  bool counted = false;
  std::optional<std::string> next;
  std::optional<TSketchString> nextRaw;
  int lineNumber = 0;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    TLine line(sourceName, ++lineNumber, std::string_view(text).substr(at, end - at));
    at = end + 1;
    if (line.AtEnd()) continue;
    const std::string word = line.Word();
    if (word == "sketch") {
      f.Records.push_back(ParseRecord(line));
    } else if (word == "count") {
      f.Count = line.Int();
      counted = true;
    } else if (word == "next_location" || word == "next_location_raw") {
      line.Expect('=');
      if (word == "next_location") next = line.Quoted();
      else nextRaw = line.Raw();
      // Both may share the line: next_location="x" next_location_raw=HEX.
      if (!line.AtEnd()) {
        const std::string more = line.Word();
        line.Expect('=');
        if (more == "next_location_raw") nextRaw = line.Raw();
        else line.Fail("unexpected '" + more + "'");
      }
    } else if (word == "trailing") {
      f.Trailing = line.HexBytes();
    } else {
      line.Fail("expected sketch, next_location, count or trailing, found '" + word + "'");
    }
    if (!line.AtEnd()) line.Fail("unexpected text at the end of the line");
  }
  if (!counted) f.Count = static_cast<int32_t>(f.Records.size());
  // A negative count holds no records; any other must match the lines.
  if (counted && (f.Count >= 0 ? f.Count != static_cast<int32_t>(f.Records.size()) : !f.Records.empty()))
    throw EGameError(sourceName + ": count " + std::to_string(f.Count) + " but " + std::to_string(f.Records.size()) +
                     " sketch lines");
  TLine last(sourceName, lineNumber, "");
  f.NextLocation = Settle(last, "next_location", next ? &*next : nullptr, nextRaw ? &*nextRaw : nullptr);
  return f;
}

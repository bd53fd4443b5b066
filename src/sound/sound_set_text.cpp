#include "sound/sound_set_text.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "platform/cp1251.h"
#include "platform/game_error.h"
#include "script/script_text.h"

namespace {

class TWords {
 public:
  TWords(const std::string& source, int line, std::string_view text) : source_(source), line_(line), text_(text) {}

  [[noreturn]] void Fail(const std::string& what) const {
    throw EGameError(source_ + ":" + std::to_string(line_) + ": " + what);
  }
  bool AtEnd() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r')) ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '#') pos_ = text_.size();
    return pos_ >= text_.size();
  }
  std::string Word() {
    AtEnd();
    const size_t start = pos_;
    while (pos_ < text_.size() && std::string_view(" \t\r=#").find(text_[pos_]) == std::string_view::npos) ++pos_;
    return std::string(text_.substr(start, pos_ - start));
  }
  int32_t Int(const std::string& s) const {
    int32_t v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size()) Fail("bad integer '" + s + "'");
    return v;
  }
  // A quoted UTF-8 string, as cp1251.
  std::string Quoted() {
    AtEnd();
    if (pos_ >= text_.size() || text_[pos_] != '"') Fail("expected a quoted string");
    ++pos_;
    std::string out, utf8;
    const auto flush = [&] {
      const auto cp = Utf8ToCp1251(utf8);
      if (!cp) Fail("a character that cp1251 cannot store");
      out += *cp;
      utf8.clear();
    };
    for (;;) {
      if (pos_ >= text_.size()) Fail("unterminated string");
      const char c = text_[pos_++];
      if (c == '"') break;
      if (c != '\\') {
        utf8 += c;
        continue;
      }
      if (pos_ >= text_.size()) Fail("unterminated string");
      const char e = text_[pos_++];
      if (e == '"' || e == '\\') {
        utf8 += e;
      } else if (e == 'x' && pos_ + 2 <= text_.size()) {
        flush();
        int byte = 0;
        const auto [end, ec] = std::from_chars(text_.data() + pos_, text_.data() + pos_ + 2, byte, 16);
        if (ec != std::errc() || end != text_.data() + pos_ + 2) Fail("bad \\x escape");
        out += static_cast<char>(byte);
        pos_ += 2;
      } else {
        Fail(std::string("unknown escape \\") + e);
      }
    }
    flush();
    return out;
  }
  // key=value pairs to the end of the line; `quoted` keys take strings.
  std::map<std::string, std::string> Pairs(std::initializer_list<std::string_view> plain,
                                           std::initializer_list<std::string_view> quoted) {
    std::map<std::string, std::string> out;
    while (!AtEnd()) {
      const std::string key = Word();
      const bool isQuoted = std::find(quoted.begin(), quoted.end(), key) != quoted.end();
      if (!isQuoted && std::find(plain.begin(), plain.end(), key) == plain.end()) Fail("unknown key '" + key + "'");
      if (pos_ >= text_.size() || text_[pos_] != '=') Fail("expected '=' after " + key);
      ++pos_;
      out[key] = isQuoted ? Quoted() : Word();
    }
    return out;
  }

 private:
  const std::string& source_;
  int line_;
  std::string_view text_;
  size_t pos_ = 0;
};

bool Flag(TWords& w, const std::map<std::string, std::string>& p, const char* key) {
  const auto it = p.find(key);
  return it != p.end() && w.Int(it->second) != 0;
}

std::string Text(const std::map<std::string, std::string>& p, const char* key) {
  const auto it = p.find(key);
  return it == p.end() ? std::string() : it->second;
}

}  // namespace

std::string FormatSoundSetText(const TSoundSetData& d) {
  std::string out = "unused " + std::to_string(d.Unused[0]) + " " + std::to_string(d.Unused[1]) + "\n";
  for (size_t i = 0; i < d.Samples.size(); ++i) {
    const TSoundSample& s = d.Samples[i];
    out += "sample name=" + QuoteScriptString(s.Name) + " file=" + QuoteScriptString(s.FileName) +
           " loop=" + std::to_string(s.Loop ? 1 : 0) + " comment=" + std::to_string(s.Comment) + "  # " +
           std::to_string(i) + "\n";
  }
  for (const TqvxSoundSeq& q : d.Sequences) {
    out += "sequence name=" + QuoteScriptString(q.Name) + " loop=" + std::to_string(q.Loop ? 1 : 0) + " items=";
    for (size_t i = 0; i < q.Items.size(); ++i) out += (i ? "," : "") + std::to_string(q.Items[i]);
    out += "\n";
  }
  return out;
}

TSoundSetData ParseSoundSetText(const std::string& text, const std::string& sourceName) {
  TSoundSetData d;
  int lineNumber = 0;
  for (size_t start = 0; start <= text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    TWords w(sourceName, ++lineNumber, std::string_view(text).substr(start, end - start));
    start = end + 1;
    if (w.AtEnd()) continue;
    const std::string kind = w.Word();
    if (kind == "unused") {
      d.Unused[0] = w.Int(w.Word());
      d.Unused[1] = w.Int(w.Word());
      if (!w.AtEnd()) w.Fail("unused takes two integers");
    } else if (kind == "sample") {
      const auto p = w.Pairs({"loop", "comment"}, {"name", "file"});
      TSoundSample s;
      s.Name = Text(p, "name");
      s.FileName = Text(p, "file");
      s.Loop = Flag(w, p, "loop");
      s.Comment = p.count("comment") ? w.Int(p.at("comment")) : 0;
      d.Samples.push_back(s);
    } else if (kind == "sequence") {
      const auto p = w.Pairs({"loop", "items"}, {"name"});
      TqvxSoundSeq q;
      q.Name = Text(p, "name");
      q.Loop = Flag(w, p, "loop");
      const std::string items = Text(p, "items");
      for (size_t at = 0; !items.empty() && at <= items.size();) {
        size_t comma = items.find(',', at);
        if (comma == std::string::npos) comma = items.size();
        q.Items.push_back(w.Int(items.substr(at, comma - at)));
        at = comma + 1;
      }
      d.Sequences.push_back(q);
    } else {
      w.Fail("unknown line '" + kind + "'");
    }
  }
  return d;
}

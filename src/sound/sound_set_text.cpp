#include "sound/sound_set_text.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "platform/cp1251.h"
#include "platform/game_error.h"
#include "platform/source_line.h"
#include "script/script_text.h"

namespace {

class TWords : public TSourceLine {
 public:
  using TSourceLine::TSourceLine;
  int32_t Int(const std::string& s) const { return ParseInt(s); }
  // key=value pairs to the end of the line; `quoted` keys take strings.
  std::map<std::string, std::string> Pairs(std::initializer_list<std::string_view> plain,
                                           std::initializer_list<std::string_view> quoted) {
    std::map<std::string, bool> allowed;
    for (std::string_view k : plain) allowed[std::string(k)] = false;
    for (std::string_view k : quoted) allowed[std::string(k)] = true;
    return TSourceLine::Pairs(allowed);
  }
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

#include "platform/source_line.h"

#include <charconv>

#include "platform/cp1251.h"
#include "platform/game_error.h"

void TSourceLine::Fail(const std::string& what) const {
  throw EGameError(source_ + ":" + std::to_string(line_) + ": " + what);
}

void TSourceLine::SkipSpace() {
  while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r')) ++pos_;
  if (pos_ < text_.size() && text_[pos_] == '#') pos_ = text_.size();
}

bool TSourceLine::AtEnd() {
  SkipSpace();
  return pos_ >= text_.size();
}

std::string TSourceLine::Word(std::string_view stops) {
  SkipSpace();
  const size_t start = pos_;
  while (pos_ < text_.size() && std::string_view(" \t\r=").find(text_[pos_]) == std::string_view::npos &&
         stops.find(text_[pos_]) == std::string_view::npos)
    ++pos_;
  return std::string(text_.substr(start, pos_ - start));
}

void TSourceLine::Expect(char c, const std::string& after) {
  SkipSpace();
  if (pos_ >= text_.size() || text_[pos_] != c)
    Fail(std::string("expected '") + c + "'" + (after.empty() ? "" : " after " + after));
  ++pos_;
}

std::map<std::string, std::string> TSourceLine::Pairs(const std::map<std::string, bool>& allowed) {
  std::map<std::string, std::string> out;
  while (!AtEnd()) {
    const std::string key = Word();
    const auto it = allowed.find(key);
    if (it == allowed.end()) Fail("unknown key '" + key + "'");
    Expect('=', key);
    out[key] = it->second ? Quoted() : Word();
  }
  return out;
}

int32_t TSourceLine::ParseInt(const std::string& s, const std::string& what) const {
  int32_t v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) Fail("bad " + what + " '" + s + "'");
  return v;
}

std::string TSourceLine::Quoted() {
  SkipSpace();
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

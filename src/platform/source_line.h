// One line of a text source (locations, sound sets, sketches): words,
// integers and quoted strings, with errors that name the file and line. A '#'
// outside a string starts a comment that runs to the end of the line.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

class TSourceLine {
 public:
  TSourceLine(std::string source, int line, std::string_view text)
      : source_(std::move(source)), line_(line), text_(text) {}

  // Throws EGameError "SOURCE:LINE: what".
  [[noreturn]] void Fail(const std::string& what) const;
  void SkipSpace();
  bool AtEnd();
  // The next run of characters up to a space, '=' or one of `stops`.
  std::string Word(std::string_view stops = "#");
  // Skips spaces, then requires `c` (the error says what it follows).
  void Expect(char c, const std::string& after = {});
  // `s` as a whole decimal int32; fails naming `what`.
  int32_t ParseInt(const std::string& s, const std::string& what = "integer") const;
  // A quoted UTF-8 string with \" \\ \xNN escapes, as cp1251.
  std::string Quoted();
  // key=value pairs to the end of the line; `allowed` names the keys, true
  // for those whose value is a quoted string.
  std::map<std::string, std::string> Pairs(const std::map<std::string, bool>& allowed);

 private:
  std::string source_;
  int line_;
  std::string_view text_;
  size_t pos_ = 0;
};

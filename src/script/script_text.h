// The readable text form of script functions, shared by `qvxtool script`,
// the location tool and trace output:
//
//   # a comment; everything after '#' outside a string is ignored
//   function "intro"
//     if_equal op1=5 str1="INT" op2=7
//     call str1="walk to door"
//     @70 op1=3                  # a code without a mnemonic
//   end
//
// One instruction a line: the mnemonic from the code table (or @N for any
// code), then operands by name, op1..op9 as decimal integers, str1..str5 as
// quoted UTF-8 text, zeros and empty strings left out. Inside quotes the
// escapes are \" and \\ and \xNN (one raw cp1251 byte). A string whose stored bytes
// hold more than its text (bytes past the length, a length byte above 30) is
// followed by rawN=<62 hex digits>, the whole 31 stored bytes, which the
// assembler takes over the text; a function name likewise by raw=<62 hex
// digits> on its "function" line. So format-then-parse reproduces every
// code, operand and stored byte of the strings and names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/game_error.h"
#include "state/instruction.h"

class EScriptTextError : public EGameError {
 public:
  EScriptTextError(const std::string& source, int line, int column, const std::string& what);
  int Line;
  int Column;  // 1-based, in characters
};

// cp1251 text as a quoted, escaped UTF-8 string.
std::string QuoteScriptString(std::string_view cp1251);
// One instruction without indentation or line end.
std::string FormatInstruction(const TScriptInstruction& ins);
// "function" line, indented instructions, "end"; the index, when 0 or above,
// goes into a comment on the function line.
std::string FormatFunction(const TqvxFunction& function, int32_t index = -1);
std::string FormatFunctions(const std::vector<TqvxFunction>& functions);

// Reads function blocks line by line, so that another text format can carry
// them among its own lines.
class TScriptTextParser {
 public:
  explicit TScriptTextParser(std::string sourceName) : source_(std::move(sourceName)) {}
  // Takes one line (without its line end). Inside a function block every line
  // is script text and errors throw EScriptTextError. Outside one, blank and
  // comment lines and a "function" line are taken (true); any other line is
  // left to the caller (false).
  bool FeedLine(std::string_view line, int lineNumber);
  // Throws when a function block is still open at the end of the text.
  void Finish(int lineNumber);
  bool InFunction() const { return open_; }
  std::vector<TqvxFunction>& Functions() { return functions_; }

 private:
  std::string source_;
  std::vector<TqvxFunction> functions_;
  bool open_ = false;
};

// A whole text of function blocks.
std::vector<TqvxFunction> ParseScriptText(std::string_view text, const std::string& sourceName);
// A single instruction line (comments allowed).
TScriptInstruction ParseInstructionText(std::string_view line, const std::string& sourceName, int lineNumber);

#include "script/script_text.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <optional>

#include "platform/cp1251.h"
#include "script/instruction_codes.h"

namespace {

constexpr size_t kStrRegion = kInstructionStrs * kStoredStrSize;

std::array<uint8_t, kStoredStrSize> CanonicalStored(const std::string& text) {
  std::array<uint8_t, kStoredStrSize> out{};
  const size_t len = std::min<size_t>(text.size(), kScriptStrLen);
  out[0] = static_cast<uint8_t>(len);
  std::memcpy(out.data() + 1, text.data(), len);
  return out;
}

// Stored bytes as lowercase hex digits, two a byte.
std::string HexBytes(const uint8_t* bytes, size_t size) {
  std::string out;
  char hex[3];
  for (size_t b = 0; b < size; ++b) {
    std::snprintf(hex, sizeof hex, "%02x", bytes[b]);
    out += hex;
  }
  return out;
}

bool IsWordChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// One line of text with a read position; errors name the column in characters.
class TLineReader {
 public:
  TLineReader(std::string_view text, const std::string& source, int line)
      : text_(text), source_(source), line_(line) {}

  [[noreturn]] void Fail(size_t at, const std::string& what) const {
    int column = 1;
    for (size_t i = 0; i < at && i < text_.size(); ++i)
      if ((static_cast<unsigned char>(text_[i]) & 0xC0) != 0x80) ++column;
    throw EScriptTextError(source_, line_, column, what);
  }

  // What stands at `at`, for messages.
  std::string Found(size_t at) const {
    if (at >= text_.size()) return "end of line";
    size_t end = at;
    while (end < text_.size() && text_[end] != ' ' && text_[end] != '\t' && end - at < 24) ++end;
    if (end == at) ++end;
    std::string quoted(1, '\'');
    quoted.append(text_.substr(at, end - at));
    quoted += '\'';
    return quoted;
  }

  void SkipSpaces() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }
  bool AtEnd() {
    SkipSpaces();
    return pos_ >= text_.size() || text_[pos_] == '#';
  }
  // After a value: a space, a comment or the end of the line.
  void ExpectSeparator(const char* after) {
    if (pos_ < text_.size() && text_[pos_] != ' ' && text_[pos_] != '\t' && text_[pos_] != '#')
      Fail(pos_, std::string("expected a space after ") + after + ", found " + Found(pos_));
  }
  void ExpectEnd(const char* after) {
    if (!AtEnd()) Fail(pos_, std::string("expected end of line after ") + after + ", found " + Found(pos_));
  }

  size_t Pos() const { return pos_; }
  bool Peek(char c) const { return pos_ < text_.size() && text_[pos_] == c; }
  void Advance() { ++pos_; }

  std::string_view Word() {
    const size_t start = pos_;
    while (pos_ < text_.size() && IsWordChar(text_[pos_])) ++pos_;
    return text_.substr(start, pos_ - start);
  }

  int32_t Integer(const char* what) {
    const size_t start = pos_;
    bool negative = false;
    if (Peek('-')) {
      negative = true;
      ++pos_;
    }
    int64_t value = 0;
    size_t digits = 0;
    if (!negative && pos_ + 1 < text_.size() && text_[pos_] == '0' && (text_[pos_ + 1] == 'x' || text_[pos_ + 1] == 'X')) {
      pos_ += 2;
      while (pos_ < text_.size() && HexValue(text_[pos_]) >= 0) {
        value = value * 16 + HexValue(text_[pos_++]);
        if (++digits > 8) Fail(start, std::string(what) + " out of the 32-bit range");
      }
      if (digits == 0) Fail(start, std::string("expected ") + what + ", found " + Found(start));
      return static_cast<int32_t>(static_cast<uint32_t>(value));
    }
    while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
      value = value * 10 + (text_[pos_++] - '0');
      if (value > 2147483648LL) Fail(start, std::string(what) + " out of the 32-bit range");
      ++digits;
    }
    if (digits == 0) Fail(start, std::string("expected ") + what + ", found " + Found(start));
    if (negative) value = -value;
    if (value > 2147483647LL) Fail(start, std::string(what) + " out of the 32-bit range");
    return static_cast<int32_t>(value);
  }

  // A quoted string, returned as cp1251 bytes of at most `maxBytes`.
  std::string String(size_t maxBytes) {
    const size_t start = pos_;
    if (!Peek('"')) Fail(pos_, "expected a quoted string, found " + Found(pos_));
    ++pos_;
    std::string out;
    for (;;) {
      if (pos_ >= text_.size()) Fail(start, "expected a closing quote for the string");
      const char c = text_[pos_];
      if (c == '"') {
        ++pos_;
        break;
      }
      if (c == '\\') {
        const size_t at = pos_++;
        if (Peek('"') || Peek('\\')) {
          out += text_[pos_++];
        } else if (Peek('x') && pos_ + 2 < text_.size() && HexValue(text_[pos_ + 1]) >= 0 &&
                   HexValue(text_[pos_ + 2]) >= 0) {
          out += static_cast<char>(HexValue(text_[pos_ + 1]) * 16 + HexValue(text_[pos_ + 2]));
          pos_ += 3;
        } else {
          Fail(at, "expected an escape \\\", \\\\ or \\xNN");
        }
        continue;
      }
      size_t len = 1;
      const auto lead = static_cast<unsigned char>(c);
      if ((lead & 0xE0) == 0xC0) len = 2;
      else if ((lead & 0xF0) == 0xE0) len = 3;
      else if ((lead & 0xF8) == 0xF0) len = 4;
      len = std::min(len, text_.size() - pos_);
      const auto converted = Utf8ToCp1251(text_.substr(pos_, len));
      if (!converted) Fail(pos_, "this character has no cp1251 form");
      out += *converted;
      pos_ += len;
    }
    if (out.size() > maxBytes)
      Fail(start, "string of " + std::to_string(out.size()) + " bytes is longer than " + std::to_string(maxBytes));
    return out;
  }

  std::array<uint8_t, kStoredStrSize> Raw() {
    const size_t start = pos_;
    std::array<uint8_t, kStoredStrSize> out{};
    for (size_t i = 0; i < out.size(); ++i) {
      if (pos_ + 1 >= text_.size() || HexValue(text_[pos_]) < 0 || HexValue(text_[pos_ + 1]) < 0)
        Fail(start, "expected 62 hex digits (31 stored bytes)");
      out[i] = static_cast<uint8_t>(HexValue(text_[pos_]) * 16 + HexValue(text_[pos_ + 1]));
      pos_ += 2;
    }
    if (pos_ < text_.size() && HexValue(text_[pos_]) >= 0) Fail(start, "expected 62 hex digits (31 stored bytes)");
    return out;
  }

 private:
  std::string_view text_;
  const std::string& source_;
  int line_;
  size_t pos_ = 0;
};

// Operand names: op1..op9, str1..str5, raw1..raw5. Returns kind and index.
enum class TOperandKind { None, Op, Str, Raw };

TOperandKind OperandKind(std::string_view name, int& index) {
  auto numbered = [&](std::string_view prefix, int max) {
    if (name.size() != prefix.size() + 1 || name.substr(0, prefix.size()) != prefix) return false;
    const char d = name.back();
    if (d < '1' || d > '0' + max) return false;
    index = d - '1';
    return true;
  };
  if (numbered("op", kInstructionOps)) return TOperandKind::Op;
  if (numbered("str", kInstructionStrs)) return TOperandKind::Str;
  if (numbered("raw", kInstructionStrs)) return TOperandKind::Raw;
  return TOperandKind::None;
}

TScriptInstruction ParseInstruction(TLineReader& r) {
  TScriptInstruction ins;
  r.SkipSpaces();
  const size_t codeAt = r.Pos();
  if (r.Peek('@')) {
    r.Advance();
    ins.Code = r.Integer("an instruction code after '@'");
  } else {
    const std::string_view word = r.Word();
    const TInstructionInfo* info = word.empty() ? nullptr : FindInstructionByMnemonic(word);
    if (!info) r.Fail(codeAt, "expected an instruction mnemonic or @code, found " + r.Found(codeAt));
    ins.Code = info->Code;
  }
  r.ExpectSeparator("the instruction name");

  bool seen[3][kInstructionOps] = {};
  std::optional<std::array<uint8_t, kStoredStrSize>> raw[kInstructionStrs];
  size_t rawAt[kInstructionStrs] = {};
  while (!r.AtEnd()) {
    const size_t nameAt = r.Pos();
    const std::string_view name = r.Word();
    int index = 0;
    const TOperandKind kind = OperandKind(name, index);
    if (kind == TOperandKind::None)
      r.Fail(nameAt, "expected an operand (op1..op9, str1..str5, raw1..raw5), found " + r.Found(nameAt));
    bool& once = seen[static_cast<int>(kind) - 1][index];
    if (once) r.Fail(nameAt, "operand " + std::string(name) + " is given twice");
    once = true;
    if (!r.Peek('=')) r.Fail(r.Pos(), "expected '=' after " + std::string(name) + ", found " + r.Found(r.Pos()));
    r.Advance();
    switch (kind) {
      case TOperandKind::Op: ins.Op[static_cast<size_t>(index)] = r.Integer("an integer"); break;
      case TOperandKind::Str: SetInstructionString(ins, index, r.String(kScriptStrLen)); break;
      case TOperandKind::Raw:
        rawAt[index] = r.Pos();
        raw[index] = r.Raw();
        break;
      case TOperandKind::None: break;
    }
    r.ExpectSeparator("the value");
  }
  for (int i = 0; i < kInstructionStrs; ++i) {
    if (!raw[i]) continue;
    const std::string text = ins.Str[static_cast<size_t>(i)];
    std::memcpy(ins.StrBytes.data() + static_cast<size_t>(i) * kStoredStrSize, raw[i]->data(), kStoredStrSize);
    SyncInstructionString(ins, i);
    if (seen[1][i] && ins.Str[static_cast<size_t>(i)] != text)
      r.Fail(rawAt[i], "raw" + std::to_string(i + 1) + " does not hold the text of str" + std::to_string(i + 1));
  }
  return ins;
}

std::string StripLineEnd(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return std::string(line);
}

}  // namespace

EScriptTextError::EScriptTextError(const std::string& source, int line, int column, const std::string& what)
    : EGameError(source + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + what),
      Line(line),
      Column(column) {}

std::string QuoteScriptString(std::string_view cp1251) {
  std::string out = "\"";
  for (const char c : cp1251) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (b < 0x20 || b == 0x7F || b == 0x98) {
      // 0x98 has no character of its own; the escape keeps the byte.
      char esc[5];
      std::snprintf(esc, sizeof esc, "\\x%02X", b);
      out += esc;
    } else {
      out += Cp1251ToUtf8(std::string_view(&c, 1));
    }
  }
  out += '"';
  return out;
}

std::string FormatInstruction(const TScriptInstruction& ins) {
  const TInstructionInfo* info = FindInstructionInfo(ins.Code);
  std::string out;
  if (info) {
    out = info->Mnemonic;
  } else {
    out = '@';
    out += std::to_string(ins.Code);
  }
  for (int k = 0; k < kInstructionOps; ++k) {
    if (ins.Op[static_cast<size_t>(k)] == 0) continue;
    out += " op";
    out += static_cast<char>('1' + k);
    out += '=';
    out += std::to_string(ins.Op[static_cast<size_t>(k)]);
  }
  for (int i = 0; i < kInstructionStrs; ++i) {
    if (ins.Str[static_cast<size_t>(i)].empty()) continue;
    out += " str";
    out += static_cast<char>('1' + i);
    out += '=';
    out += QuoteScriptString(ins.Str[static_cast<size_t>(i)]);
  }
  const auto stored = StoredStringBytes(ins);
  for (int i = 0; i < kInstructionStrs; ++i) {
    const uint8_t* s = stored.data() + static_cast<size_t>(i) * kStoredStrSize;
    if (std::memcmp(s, CanonicalStored(ins.Str[static_cast<size_t>(i)]).data(), kStoredStrSize) == 0) continue;
    out += " raw";
    out += static_cast<char>('1' + i);
    out += '=';
    out += HexBytes(s, kStoredStrSize);
  }
  static_assert(kStrRegion == 155);
  return out;
}

std::string FormatFunction(const TqvxFunction& function, int32_t index) {
  std::string out = "function " + QuoteScriptString(function.Name);
  const auto stored = StoredNameBytes(function);
  if (stored != CanonicalStored(function.Name)) out += " raw=" + HexBytes(stored.data(), stored.size());
  if (index >= 0) out += "  # " + std::to_string(index);
  out += '\n';
  for (const auto& ins : function.Instructions) out += "  " + FormatInstruction(ins) + '\n';
  out += "end\n";
  return out;
}

std::string FormatFunctions(const std::vector<TqvxFunction>& functions) {
  std::string out;
  for (size_t i = 0; i < functions.size(); ++i) {
    if (i) out += '\n';
    out += FormatFunction(functions[i], static_cast<int32_t>(i));
  }
  return out;
}

bool TScriptTextParser::FeedLine(std::string_view rawLine, int lineNumber) {
  const std::string line = StripLineEnd(rawLine);
  TLineReader r(line, source_, lineNumber);
  if (r.AtEnd()) return true;
  const size_t at = r.Pos();
  const std::string_view word = r.Word();
  if (!open_) {
    if (word != "function") return false;
    r.SkipSpaces();
    TqvxFunction f;
    f.Name = r.String(kScriptStrLen);
    r.ExpectSeparator("the function name");
    if (!r.AtEnd()) {
      const size_t rawAt = r.Pos();
      if (r.Word() != "raw" || !r.Peek('='))
        r.Fail(rawAt, "expected end of line or raw=<62 hex digits> after the function name, found " + r.Found(rawAt));
      r.Advance();
      const std::string text = f.Name;
      f.NameBytes = r.Raw();
      SyncFunctionName(f);
      if (f.Name != text) r.Fail(rawAt, "raw does not hold the text of the function name");
      r.ExpectEnd("the stored name");
    }
    functions_.push_back(std::move(f));
    open_ = true;
    return true;
  }
  if (word == "end") {
    r.ExpectEnd("'end'");
    open_ = false;
    return true;
  }
  if (word == "function") r.Fail(at, "expected 'end' before the next function");
  TLineReader again(line, source_, lineNumber);
  functions_.back().Instructions.push_back(ParseInstruction(again));
  return true;
}

void TScriptTextParser::Finish(int lineNumber) {
  if (open_)
    throw EScriptTextError(source_, lineNumber, 1,
                           "expected 'end' of function \"" + Cp1251ToUtf8(functions_.back().Name) + "\"");
}

std::vector<TqvxFunction> ParseScriptText(std::string_view text, const std::string& sourceName) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  TScriptTextParser parser(sourceName);
  int lineNumber = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    ++lineNumber;
    const std::string_view line = text.substr(start, end - start);
    if (!parser.FeedLine(line, lineNumber)) {
      TLineReader r(line, sourceName, lineNumber);
      r.SkipSpaces();
      r.Fail(r.Pos(), "expected 'function', found " + r.Found(r.Pos()));
    }
    start = end + 1;
  }
  parser.Finish(lineNumber);
  return std::move(parser.Functions());
}

TScriptInstruction ParseInstructionText(std::string_view line, const std::string& sourceName, int lineNumber) {
  const std::string stripped = StripLineEnd(line);
  TLineReader r(stripped, sourceName, lineNumber);
  return ParseInstruction(r);
}

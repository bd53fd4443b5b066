// Text in game files is Windows-1251: one byte a character. The engine keeps
// such text as raw bytes in std::string; these helpers convert at the edges
// (file system names, tool output, text sources).
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Every cp1251 byte has a Unicode form (0x98 maps to U+FFFD).
std::string Cp1251ToUtf8(std::string_view text);
// Empty optional when the text holds a character cp1251 cannot store or is not
// valid UTF-8; `badOffset` then receives the byte offset of the culprit.
std::optional<std::string> Utf8ToCp1251(std::string_view text, size_t* badOffset = nullptr);
// Lower case for Latin and Cyrillic letters; other bytes unchanged.
unsigned char Cp1251ToLower(unsigned char c);
std::string Cp1251Lower(std::string_view text);

// The item caption table "caption.inv": 64 records of 33 bytes, a length byte
// and 32 bytes of cp1251 text, record k - 1 holding the caption of item k.
// Its text comes from a small UTF-8 source, one "id<TAB>caption" a line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int kCaptionRecords = 64;
constexpr int kCaptionText = 32;

// Turns the source into the 2112-byte table. Throws std::runtime_error naming
// the line for a bad id, a repeated id, text cp1251 cannot hold or a caption
// over 32 bytes.
std::vector<uint8_t> BuildCaptionTable(const std::string& source);

// The game's two text tables, built from small UTF-8 sources with one
// "id<TAB>text" a line ('#' starts a comment line):
// - the item captions "caption.inv": 64 records of 33 bytes, a length byte
//   and 32 bytes of cp1251 text, record k - 1 holding the caption of item k;
// - the voice-line subtitles "SFX\Comments\comments.dat": 2048 records of
//   256 bytes, a length byte and 255 bytes of cp1251 text, record k holding
//   comment k (comment 0 is never shown, so ids start at 1).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int kCaptionRecords = 64;
constexpr int kCaptionText = 32;
constexpr int kCommentRecords = 2048;
constexpr int kCommentText = 255;

// Both throw std::runtime_error naming the line for a bad id, a repeated id,
// text cp1251 cannot hold or a text too long for its record.
std::vector<uint8_t> BuildCaptionTable(const std::string& source);
std::vector<uint8_t> BuildCommentTable(const std::string& source);

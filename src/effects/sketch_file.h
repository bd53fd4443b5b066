// Sketch files: an int32 count, that many 820-byte records (thirteen int32
// values, then the note, the sound and the picture name as 256-byte strings:
// a length byte and 255 bytes), then the next location as one more such
// string. Strings are kept as their stored bytes, so that a file read and
// written again is the same file, and the text form used by qvxtool
// (FormatSketchText / ParseSketchText) keeps them too:
//
//   sketch picture="cabin" width=300 height=200 x=400 y=300 zoom=2 zoom_speed=1 hold=2000 sound="l01"
//   next_location="lake.qvx"
//
// Values are the file's integers (times in milliseconds); zeros and empty
// strings are left out. A string whose stored bytes hold more than its text
// gets <name>_raw=<512 hex digits>; bytes after the next location go on a
// "trailing" line, and a count that differs from the records (a negative
// one) on a "count" line.
#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/stream.h"

constexpr int32_t kSketchValues = 13;
constexpr int32_t kSketchStrLen = 255;
constexpr uint64_t kSketchStrSize = kSketchStrLen + 1;
constexpr uint64_t kSketchRecordSize = kSketchValues * 4 + 3 * kSketchStrSize;

using TSketchString = std::array<uint8_t, kSketchStrSize>;

struct TSketchRecord {
  // Width, Height, X, Y, Angle, AngleSpeed, Direction, MoveSpeed, ZoomSpeed,
  // ZoomAccel, Zoom, Delay (ms), Hold (ms), in file order.
  std::array<int32_t, kSketchValues> Values{};
  TSketchString Note{}, Sound{}, Picture{};
};

struct TSketchFile {
  int32_t Count = 0;                   // as stored; a negative count holds no records
  std::vector<TSketchRecord> Records;  // the records read (at most the reader's limit)
  TSketchString NextLocation{};
  std::vector<uint8_t> Trailing;  // bytes after the next location
  bool Complete = true;           // false: the data ended before the next location
};

// The text of a stored string (its length byte, at most 255 bytes).
std::string SketchText(const TSketchString& s);
// A string stored as the writer stores it: length, text, zeros.
TSketchString SketchString(const std::string& text);

// Reads a sketch file. A count the data cannot hold throws EGameError naming
// the file before anything is allocated. At most `maxRecords` records are
// kept, the rest are skipped; the next location is read after all of them.
TSketchFile ReadSketchFile(TBinaryReader& in, int32_t maxRecords = INT32_MAX);
std::vector<uint8_t> WriteSketchFile(const TSketchFile& file);

std::string FormatSketchText(const TSketchFile& file);
// Throws EGameError naming the source and line.
TSketchFile ParseSketchText(const std::string& text, const std::string& sourceName);

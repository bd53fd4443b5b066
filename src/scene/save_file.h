// The save file's layout, walked field by field without the engine: the
// game checks a save with it before touching the running game, and qvxtool
// shows a save with it. A save stores no counts of the location's objects
// and regions, no sizes of the archives' state and no number of sound-set
// sequences: those follow from the files the save names, so the walk takes
// them from the caller once the header has named the files.
#pragma once

#include <cstdint>
#include <string>

#include "platform/stream.h"

constexpr int kSaveTextLength = 50;       // str50: time, archive and sound-set names
constexpr int kSaveLocationLength = 120;  // str120: location names
constexpr int kSaveObjectWords = 30;      // UserValue .. the fourteen script values
constexpr int kSaveArchiveCount = 4;      // location, person, system, menu
constexpr int kSaveBitmapStateBytes = 24;  // per bitmap entry of an archive
constexpr int kSaveChannelSlots = 8;

// The header: the names the rest of the file depends on.
struct TSaveHeader {
  int32_t MenuEnabled = 0;         // the slot's picture number; < 1 empty
  std::string SaveTime;            // "DD.MM.YYYY HH:MM:SS", local time
  std::string PersonArchive;       // game path as the scripts gave it
  std::string LocationArchive;
  std::string SoundSet;            // path of the sound set, empty none
  std::string PreviousLocation;
  std::string LocationName;        // file under "SCENE\"
};

// What the files named by the header give.
struct TSaveCounts {
  int32_t Objects = 0;
  int32_t Regions = 0;
  int32_t Sequences = 0;  // of the sound set
  // Location, person, system, menu. A menu count of -1 takes whatever whole
  // records remain, for readers that cannot know whether the menu was open.
  int32_t Bitmaps[kSaveArchiveCount] = {};
};

// Receives every field in file order under a dotted path such as
// "objects[2].x"; bytes arrive as Int.
class TSaveVisitor {
 public:
  virtual ~TSaveVisitor() = default;
  virtual void Int(const std::string& field, int64_t value) = 0;
  virtual void Real(const std::string& field, float value) = 0;
  virtual void Text(const std::string& field, const std::string& value) = 0;
};

// Throws EGameError naming in.Name() when the file ends inside the header.
void ReadSaveHeader(TBinaryReader& in, TSaveHeader& header, TSaveVisitor* visitor = nullptr);
// Walks the rest of the file, from the objects to the archive states.
// Throws EGameError naming in.Name() and the field when a count is negative
// or larger than the rest of the file can hold, when the file ends early, or
// when bytes are left over: a save that does not fit exactly was made on
// other files.
void WalkSaveBody(TBinaryReader& in, const TSaveCounts& counts, TSaveVisitor* visitor = nullptr);

// The number of sequences of a sound set file (header counts only).
// Throws EGameError for a file cut short.
int32_t CountSoundSetSequences(TBinaryReader& in);

#include "scene/save_file.h"

#include <algorithm>
#include <cstdint>

#include "platform/game_error.h"

namespace {

constexpr int kFunctionNameLength = 30;
constexpr int kInstructionBytes = 195;
constexpr int kButtonTextLength = 32;
constexpr int kAddLocTextLength = 32;
constexpr int kGroupNameLength = 64;
constexpr int kSequenceNameLength = 32;
constexpr int kVariableCount = 1024;
constexpr int kDelayedSlots = 20;
constexpr int kKeyEntries = 10;
constexpr int kDayTimeKeys = 6;

// The smallest record each counted section can hold: a count that the rest of
// the file could not hold even at this size is refused before any loop.
constexpr uint64_t kFunctionMinBytes = 1 + kFunctionNameLength + 4;
constexpr uint64_t kDayChannelBytes = 4 + kDayTimeKeys * 8 + 4;
constexpr uint64_t kButtonBytes = 4 * (1 + kButtonTextLength) + 4 + 1 + 16;
constexpr uint64_t kAddLocSpriteBytes = 16 + 1 + kAddLocTextLength + 1;
constexpr uint64_t kAddLocZoneBytes = 16 + 8 + 1;
constexpr uint64_t kAddLocMinBytes = 4 + 4 + 4 + kAddLocZoneBytes;
constexpr uint64_t kGroupMinBytes = 1 + kGroupNameLength + 4;
constexpr uint64_t kSequenceMinBytes = 1 + kSequenceNameLength + 4 + 1 + 4;

const char* const kObjectWords[kSaveObjectWords] = {
    "user_value", "x", "y", "heading", "rotation", "speed", "script_a[0]", "script_a[1]", "script_a[2]",
    "script_a[3]", "script_a[4]", "script_a[5]", "pivot_x", "pivot_y", "width", "height", "script_b[0]",
    "script_b[1]", "script_b[2]", "script_b[3]", "script_b[4]", "script_b[5]", "script_b[6]", "script_b[7]",
    "script_b[8]", "script_b[9]", "script_b[10]", "script_b[11]", "script_b[12]", "script_b[13]"};

const char* const kArchiveStates[kSaveArchiveCount] = {"location", "person", "system", "menu"};

std::string At(const std::string& prefix, int64_t index) { return prefix + "[" + std::to_string(index) + "]"; }

class TWalk {
 public:
  TWalk(TBinaryReader& in, TSaveVisitor* visitor) : in_(in), v_(visitor) {}

  int32_t Int(const std::string& field) {
    int32_t value = 0;
    Need(4, field);
    in_.ReadInt32(value);
    if (v_) v_->Int(field, value);
    return value;
  }
  void Real(const std::string& field) {
    float value = 0;
    Need(4, field);
    in_.ReadFloat(value);
    if (v_) v_->Real(field, value);
  }
  void Byte(const std::string& field) {
    uint8_t value = 0;
    Need(1, field);
    in_.ReadByte(value);
    if (v_) v_->Int(field, value);
  }
  std::string Text(int n, const std::string& field) {
    std::string value;
    Need(static_cast<uint64_t>(n) + 1, field);
    in_.ReadStr(n, value);
    if (v_) v_->Text(field, value);
    return value;
  }
  // A count whose records of at least `minBytes` each must fit in the rest.
  int32_t Count(const std::string& field, uint64_t minBytes) {
    const int32_t n = Int(field);
    if (n < 0) Fail(field + " is negative (" + std::to_string(n) + ")");
    if (static_cast<uint64_t>(n) > in_.Remaining() / minBytes)
      Fail(field + " (" + std::to_string(n) + ") is more than the rest of the file holds");
    return n;
  }
  void Bytes(uint64_t n, const std::string& field) {
    Need(n, field);
    in_.Skip(n);
  }
  [[noreturn]] void Fail(const std::string& what) const {
    throw EGameError("The save \"" + in_.Name() + "\" does not fit the game's files: " + what + " (byte " +
                     std::to_string(in_.Position()) + ")");
  }
  uint64_t Remaining() const { return in_.Remaining(); }

 private:
  void Need(uint64_t n, const std::string& field) const {
    if (in_.Remaining() < n) Fail("the file ends inside " + field);
  }

  TBinaryReader& in_;
  TSaveVisitor* v_;
};

void WalkObject(TWalk& w, const std::string& o) {
  for (const char* word : kObjectWords) w.Real(o + "." + word);
  w.Text(kSaveTextLength, o + ".picture");
  w.Byte(o + ".animated");
  w.Text(kSaveTextLength, o + ".animation");
  for (const char* f : {"frame_timer", "frame_time", "target_x", "target_y"}) w.Real(o + "." + f);
  w.Byte(o + ".moving_to_target");
  w.Byte(o + ".bounds_on");
  for (const char* f : {"min_x", "max_x", "min_y", "max_y", "flight_speed", "flight_heading", "flight_orient", "radius"})
    w.Real(o + "." + f);
  w.Byte(o + ".visible");
}

void WalkFunctions(TWalk& w, const std::string& table) {
  const int32_t count = w.Count(table + ".count", kFunctionMinBytes);
  for (int32_t i = 0; i < count; ++i) {
    const std::string f = At(table, i);
    w.Text(kFunctionNameLength, f + ".name");
    const int32_t instructions = w.Count(f + ".instructions", kInstructionBytes);
    w.Bytes(static_cast<uint64_t>(instructions) * kInstructionBytes, f + ".code");
  }
}

void WalkDayTime(TWalk& w) {
  const int32_t channels = w.Count("day_time.channel_count", kDayChannelBytes);
  for (int32_t i = 0; i < channels; ++i) {
    const std::string c = At("day_time.channels", i);
    w.Int(c + ".picture");
    for (int k = 0; k < kDayTimeKeys; ++k) {
      w.Real(At(c + ".key_time", k));
      w.Real(At(c + ".key_value", k));
    }
    w.Int(c + ".kind");
  }
  for (const char* f : {"time", "speed", "speed_factor"}) w.Real(std::string("day_time.") + f);
  w.Byte("day_time.active");
  for (const char* f : {"orbit_x", "orbit_y", "orbit_radius"}) w.Real(std::string("day_time.") + f);
}

void WalkButtons(TWalk& w) {
  const int32_t count = w.Count("inventory.button_count", kButtonBytes);
  for (int32_t i = 0; i < count; ++i) {
    const std::string b = At("inventory.buttons", i);
    for (const char* f : {"name", "normal_image", "hover_image", "pressed_image"})
      w.Text(kButtonTextLength, b + "." + f);
    w.Int(b + ".function");
    w.Byte(b + ".visible");
    for (const char* f : {"x", "y", "width", "height"}) w.Real(b + "." + f);
  }
  w.Int("inventory.click_function");
}

void WalkAddLocs(TWalk& w) {
  const int32_t count = w.Count("add_loc_count", kAddLocMinBytes);
  for (int32_t i = 0; i < count; ++i) {
    const std::string a = At("add_locs", i);
    const int32_t sprites = w.Count(a + ".sprite_count", kAddLocSpriteBytes);
    for (int32_t s = 0; s < sprites; ++s) {
      const std::string sp = At(a + ".sprites", s);
      for (const char* f : {"x", "y", "width", "height"}) w.Real(sp + "." + f);
      w.Text(kAddLocTextLength, sp + ".picture");
      w.Byte(sp + ".visible");
    }
    WalkFunctions(w, a + ".functions");
    // One zone record more than the count is stored.
    const int32_t zones = w.Count(a + ".zone_count", kAddLocZoneBytes);
    for (int32_t z = 0; z <= zones; ++z) {
      const std::string zr = At(a + ".zones", z);
      for (const char* f : {"centre_x", "centre_y", "width", "height"}) w.Real(zr + "." + f);
      w.Int(zr + ".function");
      w.Int(zr + ".cursor");
      w.Byte(zr + ".enabled");
    }
  }
}

void WalkSound(TWalk& w, int32_t sequences) {
  for (int32_t i = 0; i < sequences; ++i) w.Int(At("sound.sequence_positions", i));
  const int32_t groups = w.Count("sound.group_count", kGroupMinBytes);
  for (int32_t g = 0; g < groups; ++g) {
    const std::string gr = At("sound.groups", g);
    w.Text(kGroupNameLength, gr + ".name");
    const int32_t seqs = w.Count(gr + ".sequence_count", kSequenceMinBytes);
    for (int32_t s = 0; s < seqs; ++s) {
      const std::string sq = At(gr + ".sequences", s);
      w.Text(kSequenceNameLength, sq + ".name");
      const int32_t items = w.Count(sq + ".count", 4);
      w.Byte(sq + ".loop");
      for (int32_t k = 0; k < items; ++k) w.Int(At(sq + ".items", k));
      w.Int(sq + ".position");
    }
  }
  for (int32_t c = 0; c < kSaveChannelSlots; ++c) {
    const std::string ch = At("sound.channels", c);
    for (const char* f : {"status", "position", "handle", "loop", "volume", "sample"}) w.Int(ch + "." + f);
    for (const char* f : {"x", "y", "radius"}) w.Real(ch + "." + f);
    for (const char* f : {"positional", "day_timed", "inverse"}) w.Byte(ch + "." + f);
  }
}

}  // namespace

void ReadSaveHeader(TBinaryReader& in, TSaveHeader& header, TSaveVisitor* visitor) {
  TWalk w(in, visitor);
  header.MenuEnabled = w.Int("menu_enabled");
  header.SaveTime = w.Text(kSaveTextLength, "save_time");
  header.PersonArchive = w.Text(kSaveTextLength, "person_archive");
  header.LocationArchive = w.Text(kSaveTextLength, "location_archive");
  header.SoundSet = w.Text(kSaveTextLength, "sound_set");
  header.PreviousLocation = w.Text(kSaveLocationLength, "previous_location");
  header.LocationName = w.Text(kSaveLocationLength, "location");
}

void WalkSaveBody(TBinaryReader& in, const TSaveCounts& counts, TSaveVisitor* visitor) {
  TWalk w(in, visitor);
  if (counts.Objects < 0 || counts.Regions < 0 || counts.Sequences < 0) w.Fail("negative count");
  for (int32_t i = 0; i < counts.Objects; ++i) WalkObject(w, At("objects", i));
  w.Int("hero_click_function");
  w.Real("hero_click_width");
  w.Real("hero_click_height");
  w.Real("hero_speed");
  w.Int("drag_object");
  w.Byte("cursor_visible");
  w.Byte("script_executing");
  w.Byte("script_executing_before");
  for (int32_t i = 0; i < counts.Regions; ++i) w.Byte(At("regions", i) + ".enabled");
  for (int i = 0; i < kDelayedSlots; ++i) {
    const std::string d = At("delayed_functions", i);
    w.Int(d + ".function");
    w.Real(d + ".seconds");
    w.Byte(d + ".forced");
  }
  w.Int("frame_function");
  w.Real("scroll_x");
  WalkFunctions(w, "global_functions");
  for (int i = 0; i < kDelayedSlots; ++i) {
    const std::string d = At("delayed_global_functions", i);
    w.Int(d + ".function");
    w.Real(d + ".seconds");
  }
  w.Int("day_time_object");
  WalkDayTime(w);
  WalkButtons(w);
  WalkAddLocs(w);
  for (int i = 0; i < kVariableCount; ++i) w.Int(At("variables", i));
  const int32_t items = w.Count("inventory.item_count", 4);
  for (int32_t i = 0; i < items; ++i) w.Int(At("inventory.items", i));
  w.Int("hero_direction");
  for (int i = 0; i < kKeyEntries; ++i) {
    const std::string k = At("key_table", i);
    for (const char* f : {"key", "press_function", "release_function", "hold_function", "state"}) w.Int(k + "." + f);
  }
  WalkSound(w, counts.Sequences);
  w.Int("menu_music");
  w.Int("location_music");
  for (int a = 0; a < kSaveArchiveCount; ++a) {
    int32_t bitmaps = counts.Bitmaps[a];
    if (bitmaps < 0 && a == kSaveArchiveCount - 1)
      bitmaps = static_cast<int32_t>(std::min<uint64_t>(w.Remaining() / kSaveBitmapStateBytes, INT32_MAX));
    if (bitmaps < 0) w.Fail("negative bitmap count");
    for (int32_t b = 0; b < bitmaps; ++b) {
      const std::string s = At(std::string("archive_states.") + kArchiveStates[a], b);
      for (const char* f : {"offset_speed_x", "offset_speed_y", "color_speed_r", "color_speed_g", "color_speed_b",
                            "color_speed_a"})
        w.Int(s + "." + f);
    }
  }
  if (w.Remaining() != 0) w.Fail(std::to_string(w.Remaining()) + " bytes are left after the last field");
}

int32_t CountSoundSetSequences(TBinaryReader& in) {
  constexpr uint64_t kSampleBytes = 71;
  constexpr uint64_t kSequenceHead = 38;
  int32_t skipped[2] = {}, samples = 0, sequences = 0;
  const auto fail = [&] { throw EGameError("The sound set \"" + in.Name() + "\" is cut short"); };
  if (!in.ReadInt32(skipped[0]) || !in.ReadInt32(skipped[1]) || !in.ReadInt32(samples) || samples < 0) fail();
  if (static_cast<uint64_t>(samples) > in.Remaining() / kSampleBytes) fail();
  in.Skip(static_cast<uint64_t>(samples) * kSampleBytes);
  if (!in.ReadInt32(sequences) || sequences < 0 || static_cast<uint64_t>(sequences) > in.Remaining() / kSequenceHead)
    fail();
  return sequences;
}

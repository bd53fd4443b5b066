#include "scene/location_file.h"

#include <algorithm>

#include "platform/cp1251.h"
#include "platform/game_error.h"
#include "script/function_io.h"

// A record the data ends before is not made at all: a damaged count must not
// fill memory with empty records. A record the data ends inside is made, with
// the fields it lacks left at their defaults.
namespace {

// Smallest stored size of each record: its fixed fields, with any list it
// holds empty.
constexpr uint64_t kObjectBytes = 4 + 21 + 5 * 4 + 31 + 4;
constexpr uint64_t kHotSpotBytes = 3 * 4;
constexpr uint64_t kColumnBytes = kGridRows * 4;
constexpr uint64_t kRegionBytes = 6 * 4;
constexpr uint64_t kRoadBytes = 4;
constexpr uint64_t kPointBytes = 2 * 4;
constexpr uint64_t kFunctionBytes = kStoredStrSize + 4;

int32_t ReadCount(TBinaryReader& in, const char* what, int32_t limit, int32_t missing = 0) {
  int32_t n = missing;  // a count the file lacks
  in.ReadInt32(n);
  if (n > limit)
    throw EGameError("Location file \"" + Cp1251ToUtf8(in.Name()) + "\" is damaged: " + what + " " +
                     std::to_string(n) + " is more than " + std::to_string(limit));
  return n;
}

// How many of `count` records of at least `recordBytes` bytes begin before
// the data ends: the others are not there, whatever the count says.
int32_t RecordsThere(const TBinaryReader& in, int32_t count, uint64_t recordBytes) {
  if (count <= 0) return 0;
  const uint64_t there = (in.Remaining() + recordBytes - 1) / recordBytes;
  return static_cast<int32_t>(std::min<uint64_t>(static_cast<uint64_t>(count), there));
}

}  // namespace

void ReadLocationData(TBinaryReader& in, TLocationData& data) {
  in.ReadStr(30, data.HeaderName);
  in.ReadStr(150, data.HeaderText);

  // Each loop below stops at a record whose first field the data cannot
  // hold: a read that fails does not advance, so going on would make the
  // same empty record again and again.
  const int32_t objects = RecordsThere(in, ReadCount(in, "object count", kMaxLocationCount), kObjectBytes);
  data.Objects.clear();
  for (int32_t i = 0; i < objects; ++i) {
    TLocationObject o;
    if (!in.ReadInt32(o.Layer)) break;
    if (o.Layer < 0 || o.Layer > 2)
      throw EGameError("Location file \"" + Cp1251ToUtf8(in.Name()) + "\" is damaged: object " + std::to_string(i) +
                       " has layer " + std::to_string(o.Layer) + ", not 0, 1 or 2");
    in.ReadStr(20, o.Name);
    in.ReadFloat(o.X);
    in.ReadFloat(o.Parallax);
    in.ReadFloat(o.Y);
    in.ReadFloat(o.Width);
    in.ReadFloat(o.Height);
    in.ReadStr(30, o.Picture);
    const int32_t spots = RecordsThere(in, ReadCount(in, "hot spot count", kMaxLocationCount), kHotSpotBytes);
    for (int32_t k = 0; k < spots; ++k) {
      THotSpot h{30, o.X, o.Y};
      if (!in.ReadFloat(h.X)) break;
      in.ReadFloat(h.Y);
      in.ReadFloat(h.Radius);
      o.HotSpots.push_back(h);
    }
    data.Objects.push_back(std::move(o));
  }

  // A grid width the file lacks keeps the grid before (the previous
  // location's in the game); a stated one keeps only the columns there.
  const bool statesColumns = in.Remaining() >= 4;
  int32_t columns = ReadCount(in, "grid width", kMaxGridWidth, static_cast<int32_t>(data.Grid.size()));
  if (columns < 0)
    throw EGameError("Location file \"" + Cp1251ToUtf8(in.Name()) + "\" is damaged: grid width " +
                     std::to_string(columns));
  if (statesColumns) columns = RecordsThere(in, columns, kColumnBytes);
  data.Grid.resize(static_cast<size_t>(columns));
  for (auto& column : data.Grid)
    for (auto& cell : column) in.ReadInt32(cell);

  const int32_t regions = RecordsThere(in, ReadCount(in, "region count", kMaxLocationCount), kRegionBytes);
  data.Regions.clear();
  for (int32_t i = 0; i < regions; ++i) {
    TLocationRegion r;
    if (!in.ReadFloat(r.Width)) break;
    in.ReadFloat(r.Height);
    in.ReadFloat(r.X);
    in.ReadFloat(r.Y);
    in.ReadInt32(r.Function);
    in.ReadInt32(r.CursorNumber);
    data.Regions.push_back(r);
  }

  const int32_t roads = RecordsThere(in, ReadCount(in, "road count", kMaxLocationCount), kRoadBytes);
  data.Roads.clear();
  for (int32_t i = 0; i < roads; ++i) {
    TqvxRoad road;
    if (in.Remaining() < kRoadBytes) break;
    const int32_t points = RecordsThere(in, ReadCount(in, "road point count", kMaxLocationCount), kPointBytes);
    for (int32_t k = 0; k < points; ++k) {
      TGridPoint p;
      if (!in.ReadInt32(p.X)) break;
      in.ReadInt32(p.Y);
      road.Points.push_back(p);
    }
    data.Roads.push_back(std::move(road));
  }

  const int32_t functions = RecordsThere(in, ReadCount(in, "function count", kMaxLocationCount), kFunctionBytes);
  data.Functions.clear();
  for (int32_t i = 0; i < functions; ++i) {
    TqvxFunction f;
    f.Name = "Default";
    ReadFunction(in, f);
    data.Functions.push_back(std::move(f));
  }
}

std::vector<uint8_t> WriteLocationData(const TLocationData& data) {
  TBinaryWriter out;
  out.WriteStr(30, data.HeaderName);
  out.WriteStr(150, data.HeaderText);
  out.WriteInt32(static_cast<int32_t>(data.Objects.size()));
  for (const auto& o : data.Objects) {
    out.WriteInt32(o.Layer);
    out.WriteStr(20, o.Name);
    out.WriteFloat(o.X);
    out.WriteFloat(o.Parallax);
    out.WriteFloat(o.Y);
    out.WriteFloat(o.Width);
    out.WriteFloat(o.Height);
    out.WriteStr(30, o.Picture);
    out.WriteInt32(static_cast<int32_t>(o.HotSpots.size()));
    for (const auto& h : o.HotSpots) {
      out.WriteFloat(h.X);
      out.WriteFloat(h.Y);
      out.WriteFloat(h.Radius);
    }
  }
  out.WriteInt32(static_cast<int32_t>(data.Grid.size()));
  for (const auto& column : data.Grid)
    for (int32_t cell : column) out.WriteInt32(cell);
  out.WriteInt32(static_cast<int32_t>(data.Regions.size()));
  for (const auto& r : data.Regions) {
    out.WriteFloat(r.Width);
    out.WriteFloat(r.Height);
    out.WriteFloat(r.X);
    out.WriteFloat(r.Y);
    out.WriteInt32(r.Function);
    out.WriteInt32(r.CursorNumber);
  }
  out.WriteInt32(static_cast<int32_t>(data.Roads.size()));
  for (const auto& road : data.Roads) {
    out.WriteInt32(road.Count());
    for (const auto& p : road.Points) {
      out.WriteInt32(p.X);
      out.WriteInt32(p.Y);
    }
  }
  out.WriteInt32(static_cast<int32_t>(data.Functions.size()));
  for (const auto& f : data.Functions) WriteFunction(out, f);
  return std::move(out.Bytes());
}

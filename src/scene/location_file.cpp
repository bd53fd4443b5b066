#include "scene/location_file.h"

#include "platform/cp1251.h"
#include "platform/game_error.h"
#include "script/function_io.h"

// A record the data ends before is not made at all: a damaged count must not
// fill memory with empty records.
namespace {

int32_t ReadCount(TBinaryReader& in, const char* what, int32_t limit, int32_t missing = 0) {
  int32_t n = missing;  // a count the file lacks
  in.ReadInt32(n);
  if (n > limit)
    throw EGameError("Location file \"" + Cp1251ToUtf8(in.Name()) + "\" is damaged: " + what + " " +
                     std::to_string(n) + " is more than " + std::to_string(limit));
  return n;
}

}  // namespace

void ReadLocationData(TBinaryReader& in, TLocationData& data) {
  in.ReadStr(30, data.HeaderName);
  in.ReadStr(150, data.HeaderText);

  const int32_t objects = ReadCount(in, "object count", kMaxLocationCount);
  data.Objects.clear();
  for (int32_t i = 0; i < objects && !in.AtEnd(); ++i) {
    TLocationObject o;
    in.ReadInt32(o.Layer);
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
    const int32_t spots = ReadCount(in, "hot spot count", kMaxLocationCount);
    for (int32_t k = 0; k < spots && !in.AtEnd(); ++k) {
      THotSpot h{30, o.X, o.Y};
      in.ReadFloat(h.X);
      in.ReadFloat(h.Y);
      in.ReadFloat(h.Radius);
      o.HotSpots.push_back(h);
    }
    data.Objects.push_back(std::move(o));
  }

  const int32_t columns = ReadCount(in, "grid width", kMaxGridWidth, static_cast<int32_t>(data.Grid.size()));
  if (columns < 0)
    throw EGameError("Location file \"" + Cp1251ToUtf8(in.Name()) + "\" is damaged: grid width " +
                     std::to_string(columns));
  data.Grid.resize(static_cast<size_t>(columns));
  for (auto& column : data.Grid)
    for (auto& cell : column) in.ReadInt32(cell);

  const int32_t regions = ReadCount(in, "region count", kMaxLocationCount);
  data.Regions.clear();
  for (int32_t i = 0; i < regions && !in.AtEnd(); ++i) {
    TLocationRegion r;
    in.ReadFloat(r.Width);
    in.ReadFloat(r.Height);
    in.ReadFloat(r.X);
    in.ReadFloat(r.Y);
    in.ReadInt32(r.Function);
    in.ReadInt32(r.CursorNumber);
    data.Regions.push_back(r);
  }

  const int32_t roads = ReadCount(in, "road count", kMaxLocationCount);
  data.Roads.clear();
  for (int32_t i = 0; i < roads && !in.AtEnd(); ++i) {
    TqvxRoad road;
    const int32_t points = ReadCount(in, "road point count", kMaxLocationCount);
    for (int32_t k = 0; k < points && !in.AtEnd(); ++k) {
      TGridPoint p;
      in.ReadInt32(p.X);
      in.ReadInt32(p.Y);
      road.Points.push_back(p);
    }
    data.Roads.push_back(std::move(road));
  }

  const int32_t functions = ReadCount(in, "function count", kMaxLocationCount);
  data.Functions.clear();
  for (int32_t i = 0; i < functions && !in.AtEnd(); ++i) {
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

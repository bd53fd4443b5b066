#include "effects/add_locs.h"

#include <algorithm>

#include "platform/game_error.h"
#include "script/function_io.h"

namespace {

constexpr uint64_t kSavedSpriteSize = 4 * 4 + 33 + 1;
constexpr uint64_t kSavedZoneSize = 4 * 4 + 2 * 4 + 1;

void CheckCount(TBinaryReader& in, int32_t count, uint64_t recordSize, const char* what) {
  if (count < 0 || static_cast<uint64_t>(count) > in.Remaining() / recordSize)
    throw EGameError(in.Name() + ": an additional location with " + std::to_string(count) + " " + what +
                     " that the data cannot hold");
}

void WriteZone(TBinaryWriter& out, const TAddLocZone& z) {
  out.WriteFloat(z.CentreX);
  out.WriteFloat(z.CentreY);
  out.WriteFloat(z.Width);
  out.WriteFloat(z.Height);
  out.WriteInt32(z.ZoneFunction);
  out.WriteInt32(z.ZoneCursor);
  out.WriteBool(z.Enabled);
}

void ReadZone(TBinaryReader& in, TAddLocZone& z) {
  in.ReadFloat(z.CentreX);
  in.ReadFloat(z.CentreY);
  in.ReadFloat(z.Width);
  in.ReadFloat(z.Height);
  in.ReadInt32(z.ZoneFunction);
  in.ReadInt32(z.ZoneCursor);
  in.ReadBool(z.Enabled);
}

}  // namespace

void AddAddLoc(TqvxScene& scene) {
  scene.AddLocs.emplace_back();
  InitAddLoc(scene.AddLocs.back(), scene.PanelLayers[1].Parent, scene.SystemLibrary.get());
}

void InitAddLoc(TqvxAddLoc& addLoc, TDummyCube* parent, TGLMaterialLibrary* library) {
  addLoc.Root = parent ? parent->AddNewChild<TDummyCube>() : nullptr;
  for (THUDSprite*& s : addLoc.AddLocSprites) {
    s = nullptr;
    if (!addLoc.Root) continue;
    s = addLoc.Root->AddNewChild<THUDSprite>();
    s->SetMaterialLibrary(library);
    s->Visible = false;
  }
  addLoc.SpriteCount = 0;
  addLoc.ZoneCount = 0;
  addLoc.ButtonDown = addLoc.ButtonWasDown = false;
  AddLocHide(addLoc);
}

void AddLocSprite(TqvxAddLoc& addLoc, const std::string& picture, float x, float y, float width, float height) {
  if (addLoc.SpriteCount >= kAddLocSlots || addLoc.SpriteCount < 0) return;
  THUDSprite* s = addLoc.AddLocSprites[static_cast<size_t>(addLoc.SpriteCount++)];
  if (!s) return;
  s->Visible = true;
  s->PositionX = x;
  s->PositionY = y;
  s->SetSize(width, height);
  s->SetLibMaterialName(picture);
}

void AddLocCopyFunction(TqvxAddLoc& addLoc, const TqvxFunction& function) {
  if (addLoc.AddLocFunctions.size() >= static_cast<size_t>(kAddLocSlots)) return;
  addLoc.AddLocFunctions.push_back(function);
}

void AddLocZone(TqvxAddLoc& addLoc, int32_t function, int32_t cursor, float x, float y, float width, float height) {
  if (addLoc.ZoneCount >= kAddLocSlots || addLoc.ZoneCount < 0) return;
  TAddLocZone& z = addLoc.Zones[static_cast<size_t>(addLoc.ZoneCount++)];
  z.ZoneFunction = function;
  z.ZoneCursor = cursor;
  z.CentreX = x;
  z.CentreY = y;
  z.Width = width;
  z.Height = height;
  z.Enabled = true;
}

int32_t AddLocFindFunction(const TqvxAddLoc& addLoc, const std::string& name) {
  for (size_t i = 0; i < addLoc.AddLocFunctions.size(); ++i)
    if (addLoc.AddLocFunctions[i].Name == name) return static_cast<int32_t>(i);
  return -1;
}

void AddLocShow(TqvxAddLoc& addLoc) {
  if (addLoc.Root) addLoc.Root->Visible = true;
}

void AddLocHide(TqvxAddLoc& addLoc) {
  if (addLoc.Root) addLoc.Root->Visible = false;
}

bool AddLocShown(const TqvxAddLoc& addLoc) { return addLoc.Root && addLoc.Root->Visible; }

bool InZone(const TAddLocZone& z, float x, float y) {
  return z.CentreX - z.Width / 2 < x && x < z.CentreX + z.Width / 2 && z.CentreY - z.Height / 2 < y &&
         y < z.CentreY + z.Height / 2;
}

namespace {

const TAddLocZone* ZoneAt(const TqvxAddLoc& addLoc, float x, float y) {
  for (int32_t i = 0; i < addLoc.ZoneCount && i < kAddLocSlots; ++i) {
    const TAddLocZone& z = addLoc.Zones[static_cast<size_t>(i)];
    if (z.Enabled && InZone(z, x, y)) return &z;
  }
  return nullptr;
}

}  // namespace

int32_t AddLocCursor(const TqvxAddLoc& addLoc, float x, float y) {
  const TAddLocZone* z = ZoneAt(addLoc, x, y);
  return z ? z->ZoneCursor : 1;
}

int32_t AddLocClick(TqvxAddLoc& addLoc, bool leftDown, float x, float y) {
  addLoc.ButtonDown = leftDown;
  int32_t result = -1;
  if (addLoc.ButtonWasDown && !addLoc.ButtonDown) {
    const TAddLocZone* z = ZoneAt(addLoc, x, y);
    if (z) result = z->ZoneFunction;
  }
  addLoc.ButtonWasDown = addLoc.ButtonDown;
  return result;
}

void ClearAddLoc(TqvxAddLoc& addLoc) {
  if (addLoc.Root) {
    std::vector<TGLNode*> sprites(addLoc.AddLocSprites.begin(), addLoc.AddLocSprites.end());
    addLoc.Root->RemoveChildren(sprites);
  }
  addLoc.AddLocSprites.fill(nullptr);
  addLoc.AddLocFunctions.clear();
  addLoc.SpriteCount = 0;
  addLoc.ZoneCount = 0;
}

void RemoveAddLocs(TqvxScene& scene) {
  for (TqvxAddLoc& a : scene.AddLocs) {
    ClearAddLoc(a);
    // The emptied root goes too: every later AddAddLoc makes a fresh one.
    if (a.Root && a.Root->Parent()) a.Root->Parent()->RemoveChild(a.Root);
    a.Root = nullptr;
  }
  scene.AddLocs.clear();
}

void SaveAddLoc(const TqvxAddLoc& addLoc, TBinaryWriter& out) {
  const int32_t sprites = addLoc.SpriteCount < 0 ? 0 : std::min(addLoc.SpriteCount, kAddLocSlots);
  out.WriteInt32(sprites);
  for (int32_t i = 0; i < sprites; ++i) {
    const THUDSprite* s = addLoc.AddLocSprites[static_cast<size_t>(i)];
    THUDSprite none;
    none.Visible = false;
    if (!s) s = &none;
    out.WriteFloat(s->PositionX);
    out.WriteFloat(s->PositionY);
    out.WriteFloat(s->Width);
    out.WriteFloat(s->Height);
    out.WriteStr(32, s->LibMaterialName());
    out.WriteBool(s->Visible);
  }
  out.WriteInt32(static_cast<int32_t>(addLoc.AddLocFunctions.size()));
  for (const TqvxFunction& f : addLoc.AddLocFunctions) WriteFunction(out, f);
  const int32_t zones = addLoc.ZoneCount < 0 ? 0 : std::min(addLoc.ZoneCount, kAddLocSlots);
  out.WriteInt32(zones);
  // One record more than the count, as the game has always written it; the
  // one past the last zone in use is written as it stands.
  const TAddLocZone blank{};
  for (int32_t i = 0; i <= zones; ++i) WriteZone(out, i < kAddLocSlots ? addLoc.Zones[static_cast<size_t>(i)] : blank);
}

void LoadAddLoc(TqvxAddLoc& addLoc, TBinaryReader& in) {
  for (THUDSprite* s : addLoc.AddLocSprites)
    if (s) s->Visible = false;
  int32_t count = 0;
  if (in.ReadInt32(count)) {
    CheckCount(in, count, kSavedSpriteSize, "sprites");
    addLoc.SpriteCount = std::min(count, kAddLocSlots);
    for (int32_t i = 0; i < count; ++i) {
      float x = 0, y = 0, w = 0, h = 0;
      std::string picture;
      bool visible = false;
      in.ReadFloat(x), in.ReadFloat(y), in.ReadFloat(w), in.ReadFloat(h);
      in.ReadStr(32, picture);
      in.ReadBool(visible);
      THUDSprite* s = i < kAddLocSlots ? addLoc.AddLocSprites[static_cast<size_t>(i)] : nullptr;
      if (!s) continue;
      s->PositionX = x;
      s->PositionY = y;
      s->SetSize(w, h);
      s->SetLibMaterialName(picture);
      s->Visible = visible;
    }
  }
  addLoc.AddLocFunctions.clear();
  if (in.ReadInt32(count)) {
    // Each stored function is at least a name and a count.
    CheckCount(in, count, 31 + 4, "functions");
    for (int32_t i = 0; i < count; ++i) {
      TqvxFunction f;
      ReadFunction(in, f);
      if (i < kAddLocSlots) addLoc.AddLocFunctions.push_back(std::move(f));
    }
  }
  if (in.ReadInt32(count)) {
    CheckCount(in, count, kSavedZoneSize, "zones");
    addLoc.ZoneCount = std::min(count, kAddLocSlots);
    for (int32_t i = 0; i <= count; ++i) {
      TAddLocZone z;
      ReadZone(in, z);
      if (i < kAddLocSlots) addLoc.Zones[static_cast<size_t>(i)] = z;
    }
  }
  addLoc.ButtonDown = addLoc.ButtonWasDown = false;
}

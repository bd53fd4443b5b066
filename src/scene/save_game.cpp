#include "scene/save_game.h"

#include <ctime>
#include <utility>

#include "effects/add_locs.h"
#include "effects/day_time.h"
#include "effects/effects.h"
#include "hero/inventory.h"
#include "hero/hero_movement.h"
#include "platform/game_error.h"
#include "platform/paths.h"
#include "platform/stream.h"
#include "scene/location.h"
#include "scene/location_file.h"
#include "scene/save_file.h"
#include "scene/save_slots.h"
#include "scene/scene_update.h"
#include "script/function_io.h"
#include "script/interpreter.h"
#include "sound/sound_manager.h"

namespace {

constexpr int kSaveTimeBytes = 20;

// "DD.MM.YYYY HH:MM:SS" in local time: the caption the slot panels show.
std::string SaveTimeText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[kSaveTimeBytes] = {};
  std::strftime(text, sizeof text, "%d.%m.%Y %H:%M:%S", &local);
  return text;
}

// A save read whole and checked, with the archives it names that differ
// from the open ones already read: nothing of the game has changed yet.
struct TPreparedLoad {
  std::string Name;  // as messages show it
  std::vector<uint8_t> Bytes;
  TSaveHeader Header;
  uint64_t BodyStart = 0;
  bool NewLocationArchive = false, NewPersonArchive = false;
  int32_t Sequences = 0;  // positions stored for the named sound set
  TqvxMatLib LocationArchive, PersonArchive;
};

// ---- The sub-records other subsystems own, one function each. ----

void WriteDayTime(const TqvxScene& scene, TBinaryWriter& out) { SaveDayTime(scene.DayTime, out); }

void ReadDayTime(TqvxScene& scene, TBinaryReader& in) { LoadDayTime(scene.DayTime, in); }

// The script buttons and the item click function.
void WriteInventoryButtons(const TqvxScene& scene, TBinaryWriter& out) {
  out.WriteInt32(static_cast<int32_t>(scene.Inventory.Buttons.size()));
  for (const TInventoryButton& b : scene.Inventory.Buttons) SaveButton(b, out);
  out.WriteInt32(scene.Inventory.InventoryClickFunction);
}

void ReadInventoryButtons(TqvxScene& scene, TBinaryReader& in) {
  TInventory& inv = scene.Inventory;
  ClearButtons(inv);
  int32_t count = 0;
  in.ReadInt32(count);
  for (int32_t i = 0; i < count; ++i) {
    // Placeholders need names of their own: AddButton ignores a name it has.
    const size_t before = inv.Buttons.size();
    AddButton(inv, 0, "def" + std::to_string(i), 0, 0, 0, 0, "", "", "");
    if (inv.Buttons.size() == before) break;
    LoadButton(inv.Buttons.back(), in);
  }
  in.ReadInt32(inv.InventoryClickFunction);
}

void WriteAddLocs(const TqvxScene& scene, TBinaryWriter& out) {
  out.WriteInt32(static_cast<int32_t>(scene.AddLocs.size()));
  for (const TqvxAddLoc& a : scene.AddLocs) SaveAddLoc(a, out);
}

void ReadAddLocs(TqvxScene& scene, TBinaryReader& in) {
  RemoveAddLocs(scene);
  int32_t count = 0;
  in.ReadInt32(count);
  for (int32_t i = 0; i < count; ++i) {
    AddAddLoc(scene);
    LoadAddLoc(scene.AddLocs.back(), in);
  }
}

void WriteInventoryList(const TqvxScene& scene, TBinaryWriter& out) {
  out.WriteInt32(static_cast<int32_t>(scene.Inventory.Items.size()));
  for (int32_t id : scene.Inventory.Items) out.WriteInt32(id);
}

void ReadInventoryList(TqvxScene& scene, TBinaryReader& in) {
  int32_t count = 0;
  in.ReadInt32(count);
  scene.Inventory.Items.assign(static_cast<size_t>(count), 0);
  for (int32_t& id : scene.Inventory.Items) in.ReadInt32(id);
  RefreshSlots(scene.Inventory);
}

// The loaded set's sequence positions, the positions kept
// per set and the eight channels.
void WriteSound(TqvxScene& scene, TBinaryWriter& out) {
  for (const TqvxSoundSeq& q : scene.Sound.Sequences) out.WriteInt32(q.Position);
  SaveGroups(scene, out);
  SaveChannels(scene, out);
}

// `sequences` positions are stored: those of the set the save names, which
// is the loaded one unless the save names none.
void ReadSound(TqvxScene& scene, TBinaryReader& in, int32_t sequences) {
  for (int32_t i = 0; i < sequences; ++i) {
    int32_t position = 0;
    in.ReadInt32(position);
    if (InTable(i, scene.Sound.Sequences.size())) scene.Sound.Sequences[static_cast<size_t>(i)].Position = position;
  }
  LoadGroups(scene, in);
  LoadChannels(scene, in);
}

// The number of sequences of the sound set a save names: the loaded set's,
// or those of the set's file.
int32_t SequenceCount(const TqvxScene& scene, const std::string& soundSet) {
  if (soundSet == scene.Sound.SoundSetName) return static_cast<int32_t>(scene.Sound.Sequences.size());
  if (soundSet.empty()) return 0;
  TBinaryReader in(ResolveGamePath(soundSet), soundSet);
  return CountSoundSetSequences(in);
}

// The location, person, system and menu archives' speeds.
void WriteArchiveStates(const TqvxScene& scene, TBinaryWriter& out) {
  MatLibSaveState(scene.LocationArchive, out);
  MatLibSaveState(scene.PersonArchive, out);
  MatLibSaveState(scene.SystemArchive, out);
  MatLibSaveState(scene.Menu.Archive, out);
}

void ReadArchiveStates(TqvxScene& scene, TBinaryReader& in) {
  MatLibLoadState(scene.LocationArchive, in);
  MatLibLoadState(scene.PersonArchive, in);
  MatLibLoadState(scene.SystemArchive, in);
  MatLibLoadState(scene.Menu.Archive, in);
}

// ---- The scene's own items. ----

void WriteObject(const TqvxObject& o, TBinaryWriter& out) {
  out.WriteFloat(o.UserValue);
  out.WriteFloat(o.X);
  out.WriteFloat(o.Y);
  out.WriteFloat(o.Heading);
  out.WriteFloat(o.Rotation);
  out.WriteFloat(o.Speed);
  for (float v : o.ScriptValuesA) out.WriteFloat(v);
  out.WriteFloat(o.PivotX);
  out.WriteFloat(o.PivotY);
  out.WriteFloat(o.Width);
  out.WriteFloat(o.Height);
  for (float v : o.ScriptValuesB) out.WriteFloat(v);
  out.WriteStr(kSaveTextLength, o.Sprite ? o.Sprite->LibMaterialName() : std::string());
  out.WriteBool(o.Animated);
  out.WriteStr(kSaveTextLength, o.NextPicture);
  out.WriteFloat(o.FrameTimer);
  out.WriteFloat(o.FrameTime);
  out.WriteFloat(o.TargetX);
  out.WriteFloat(o.TargetY);
  out.WriteBool(o.MovingToTarget);
  out.WriteBool(o.BoundsOn);
  for (float v : {o.MinX, o.MaxX, o.MinY, o.MaxY, o.FlightSpeed, o.FlightHeading, o.FlightOrient, o.Radius})
    out.WriteFloat(v);
  out.WriteBool(o.Visible);
}

void ReadObject(TqvxScene& scene, int32_t index, TBinaryReader& in) {
  TqvxObject& o = scene.Objects[static_cast<size_t>(index)];
  float x = 0, y = 0;
  in.ReadFloat(o.UserValue);
  in.ReadFloat(x);
  in.ReadFloat(y);
  in.ReadFloat(o.Heading);
  in.ReadFloat(o.Rotation);
  in.ReadFloat(o.Speed);
  for (float& v : o.ScriptValuesA) in.ReadFloat(v);
  in.ReadFloat(o.PivotX);
  in.ReadFloat(o.PivotY);
  in.ReadFloat(o.Width);
  in.ReadFloat(o.Height);
  for (float& v : o.ScriptValuesB) in.ReadFloat(v);
  std::string picture;
  in.ReadStr(kSaveTextLength, picture);
  if (index == scene.HeroIndex) {
    SetHeroFrame(scene, picture, true);
  } else {
    if (o.Sprite) o.Sprite->SetMaterialLibrary(scene.LocationLibrary.get());
    SetObjectPicture(scene, index, picture, true);
  }
  in.ReadBool(o.Animated);
  in.ReadStr(kSaveTextLength, o.NextPicture);
  in.ReadFloat(o.FrameTimer);
  in.ReadFloat(o.FrameTime);
  in.ReadFloat(o.TargetX);
  in.ReadFloat(o.TargetY);
  in.ReadBool(o.MovingToTarget);
  in.ReadBool(o.BoundsOn);
  for (float* v : {&o.MinX, &o.MaxX, &o.MinY, &o.MaxY, &o.FlightSpeed, &o.FlightHeading, &o.FlightOrient, &o.Radius})
    in.ReadFloat(*v);
  in.ReadBool(o.Visible);
  SetObjectPosition(scene, index, x, y);
}

std::vector<uint8_t> WriteSave(TqvxScene& scene) {
  TBinaryWriter out;
  out.WriteInt32(scene.MenuEnabled);
  out.WriteStr(kSaveTextLength, SaveTimeText());
  out.WriteStr(kSaveTextLength, scene.PersonArchive.FileName);
  out.WriteStr(kSaveTextLength, scene.LocationArchive.FileName);
  out.WriteStr(kSaveTextLength, scene.Sound.SoundSetName);
  out.WriteStr(kSaveLocationLength, scene.PreviousLocation);
  out.WriteStr(kSaveLocationLength, scene.LocationName);
  for (const TqvxObject& o : scene.Objects) WriteObject(o, out);
  out.WriteInt32(scene.HeroClickFunction);
  out.WriteFloat(scene.HeroClickWidth);
  out.WriteFloat(scene.HeroClickHeight);
  out.WriteFloat(scene.HeroSpeed);
  out.WriteInt32(scene.DragObject);
  out.WriteBool(scene.CursorVisible);
  out.WriteBool(scene.ScriptExecuting);
  out.WriteBool(scene.ScriptExecutingBefore);
  for (const TRegion& r : scene.Regions) out.WriteBool(r.Enabled);
  for (const TDelayedFunction& d : scene.DelayedFunctions) {
    out.WriteInt32(d.Function);
    out.WriteFloat(d.Delay);
    out.WriteBool(d.Forced);
  }
  out.WriteInt32(scene.FrameFunction);
  out.WriteFloat(scene.ScrollX);
  WriteFunctionTable(out, scene.GlobalFunctions);
  for (const TDelayedFunction& d : scene.DelayedGlobalFunctions) {
    out.WriteInt32(d.Function);
    out.WriteFloat(d.Delay);
  }
  out.WriteInt32(scene.DayTimeObject);
  WriteDayTime(scene, out);
  WriteInventoryButtons(scene, out);
  WriteAddLocs(scene, out);
  for (int32_t v : scene.Variables) out.WriteInt32(v);
  WriteInventoryList(scene, out);
  out.WriteInt32(scene.HeroDirection);
  for (const TKeyEntry& k : scene.KeyTable)
    for (int32_t v : {k.Key, k.PressFunction, k.ReleaseFunction, k.HoldFunction, k.State}) out.WriteInt32(v);
  WriteSound(scene, out);
  out.WriteInt32(scene.MenuMusic);
  out.WriteInt32(scene.LocationMusic);
  WriteArchiveStates(scene, out);
  return std::move(out.Bytes());
}

// Reads the save and everything it depends on, and checks that the whole
// file fits them; throws EGameError naming the save otherwise.
TPreparedLoad PrepareLoad(const TqvxScene& scene, const std::string& fileName) {
  const std::string name = SaveDisplayName(scene, fileName);
  TPreparedLoad load;
  load.Name = name;
  load.Bytes = ReadFileBytes(SaveFilePath(scene, fileName), name);
  TBinaryReader in(load.Bytes, name);
  ReadSaveHeader(in, load.Header);
  load.BodyStart = in.Position();

  TSaveCounts counts;
  // The files the save names decide its size; one that cannot be read
  // refuses the save with that file's error.
  try {
    {
      const std::string gamePath = "SCENE\\" + load.Header.LocationName;
      TBinaryReader file(ResolveGamePath(gamePath), gamePath);
      TLocationData location;
      ReadLocationData(file, location);
      counts.Objects = static_cast<int32_t>(location.Objects.size());
      counts.Regions = static_cast<int32_t>(location.Regions.size());
    }
    const auto archive = [&](const TqvxMatLib& open, const std::string& saved, TqvxMatLib& fresh, bool& isNew) {
      isNew = saved != open.FileName;
      if (isNew) MatLibOpen(fresh, saved);
      return isNew ? fresh.BitmapCount : open.BitmapCount;
    };
    counts.Bitmaps[0] =
        archive(scene.LocationArchive, load.Header.LocationArchive, load.LocationArchive, load.NewLocationArchive);
    counts.Bitmaps[1] =
        archive(scene.PersonArchive, load.Header.PersonArchive, load.PersonArchive, load.NewPersonArchive);
    counts.Bitmaps[2] = scene.SystemArchive.BitmapCount;
    counts.Bitmaps[3] = scene.Menu.Archive.BitmapCount;
    counts.Sequences = load.Sequences = SequenceCount(scene, load.Header.SoundSet);
  } catch (const EGameError& e) {
    throw EGameError("The save \"" + name + "\" cannot be loaded: " + e.what());
  }
  WalkSaveBody(in, counts);
  return load;
}

void AdoptArchive(TqvxMatLib& archive, TGLMaterialLibrary& library, TqvxMatLib& fresh) {
  library.Clear();
  MatLibClear(archive);
  archive = std::move(fresh);
  MatLibFill(archive, library);
}

void ApplyLoad(TqvxScene& scene, TPreparedLoad& load) {
  TBinaryReader in(load.Bytes, load.Name);
  in.Seek(load.BodyStart);
  const TSaveHeader& h = load.Header;

  UnloadLocation(scene);
  scene.MenuEnabled = h.MenuEnabled;
  if (load.NewPersonArchive) AdoptArchive(scene.PersonArchive, *scene.PersonLibrary, load.PersonArchive);
  if (load.NewLocationArchive) AdoptArchive(scene.LocationArchive, *scene.LocationLibrary, load.LocationArchive);
  if (!h.SoundSet.empty()) LoadSoundSet(scene, h.SoundSet);
  scene.PreviousLocation = h.PreviousLocation;
  scene.LocationName = h.LocationName;

  scene.LoadingSave = true;
  ResetScene(scene);
  ReadLocation(scene, h.LocationName);
  RunFunction(scene, 0, 0, false, 0);

  for (int32_t i = 0; i < static_cast<int32_t>(scene.Objects.size()); ++i) ReadObject(scene, i, in);
  in.ReadInt32(scene.HeroClickFunction);
  in.ReadFloat(scene.HeroClickWidth);
  in.ReadFloat(scene.HeroClickHeight);
  in.ReadFloat(scene.HeroSpeed);
  in.ReadInt32(scene.DragObject);
  in.ReadBool(scene.CursorVisible);
  in.ReadBool(scene.ScriptExecuting);
  in.ReadBool(scene.ScriptExecutingBefore);
  for (TRegion& r : scene.Regions) in.ReadBool(r.Enabled);
  for (TDelayedFunction& d : scene.DelayedFunctions) {
    in.ReadInt32(d.Function);
    in.ReadFloat(d.Delay);
    in.ReadBool(d.Forced);
  }
  in.ReadInt32(scene.FrameFunction);
  in.ReadFloat(scene.ScrollX);
  ReadFunctionTable(in, scene.GlobalFunctions);
  for (TDelayedFunction& d : scene.DelayedGlobalFunctions) {
    in.ReadInt32(d.Function);
    in.ReadFloat(d.Delay);
  }
  in.ReadInt32(scene.DayTimeObject);
  ReadDayTime(scene, in);
  ReadInventoryButtons(scene, in);
  ReadAddLocs(scene, in);
  for (int32_t& v : scene.Variables) in.ReadInt32(v);
  ReadInventoryList(scene, in);
  in.ReadInt32(scene.HeroDirection);
  for (TKeyEntry& k : scene.KeyTable)
    for (int32_t* v : {&k.Key, &k.PressFunction, &k.ReleaseFunction, &k.HoldFunction, &k.State}) in.ReadInt32(*v);
  ReadSound(scene, in, load.Sequences);
  in.ReadInt32(scene.MenuMusic);
  in.ReadInt32(scene.LocationMusic);
  ReadArchiveStates(scene, in);

  UpdateScroll(scene, -1);
  UpdateDayTime(scene, 0);
  if (scene.Cursor) scene.Cursor->Visible = scene.CursorVisible;
  scene.FadeLevel = 1.0f;
  scene.FadeIn = true;
  if (scene.Fader) scene.Fader->Visible = true;
  scene.InputEnabled = scene.InputWhenIdle = true;
  PlayGroup(scene, scene.LocationMusic);
  if (!scene.PanelLayers[1].Pictures.empty() && scene.PanelLayers[1].Pictures[0])
    scene.PanelLayers[1].Pictures[0]->Visible = true;
  ResetSketches(scene);
}

}  // namespace

void SaveGame(TqvxScene& scene, const std::string& fileName) {
  const std::vector<uint8_t> bytes = WriteSave(scene);
  WriteFileReplacing(SaveFilePath(scene, fileName), bytes, SaveDisplayName(scene, fileName));
}

bool SaveGameFromPlay(TqvxScene& scene, const std::string& fileName) {
  if (!scene.ErrorHook) {
    SaveGame(scene, fileName);
    return true;
  }
  try {
    SaveGame(scene, fileName);
    return true;
  } catch (const EGameError& e) {
    scene.ErrorHook(e.what());
    return false;
  }
}

void CheckSaveGame(const TqvxScene& scene, const std::string& fileName) { PrepareLoad(scene, fileName); }

void LoadGame(TqvxScene& scene, const std::string& fileName) {
  TPreparedLoad load = PrepareLoad(scene, fileName);
  ApplyLoad(scene, load);
}

// TqvxScene: the one record of the running game. Every routine of the scene
// engine, the interpreter and the subsystems takes it first. Sprites named here
// live in the game's scene tree; the record only refers to them. Location
// records (objects, regions, roads, functions) live from a location's load to
// its unload; variables, global functions and their timers, the inventory and
// the music survive location changes.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "state/effects_state.h"
#include "state/inventory_state.h"
#include "state/menu_state.h"
#include "platform/input_state.h"
#include "render/hud_string.h"
#include "render/materials.h"
#include "render/nodes.h"
#include "resources/matlib.h"
#include "state/instruction.h"
#include "state/sound_state.h"

constexpr int kVariableCount = 1024;
constexpr int kDelayedSlots = 20;
constexpr int kKeyEntries = 10;
constexpr int kGridRows = 30;
constexpr int kGridCell = 20;
constexpr int kMaxWaypoints = 64;

struct THotSpot {
  float Radius = 0;
  float X = 0, Y = 0;  // location pixels
};

struct TqvxObject {
  THUDSprite* Sprite = nullptr;  // child of LayerRoots[Layer]; Tag = object index
  std::string Name;              // str20
  std::vector<THotSpot> HotSpots;

  // Properties 0..32 as scripts address them, in this order.
  float UserValue = 0;
  float X = 0, Y = 0;
  float Heading = 0;   // degrees, 0 is +x, 90 is up
  float Rotation = 0;  // degrees
  float Speed = 0;     // pixels per second along Heading
  float ScriptValuesA[6] = {};
  float PivotX = 0, PivotY = 0;
  float Width = 0, Height = 0;
  float ScriptValuesB[14] = {};
  float Parallax = 1;
  float TargetX = 0, TargetY = 0;

  bool MovingToTarget = false;
  bool BoundsOn = false;
  float MinX = 0, MaxX = 0, MinY = 0, MaxY = 0;
  float FlightSpeed = 0;
  float FlightHeading = 0;
  float FlightOrient = 0;
  float SpinSpeed = 0;
  bool Spinning = false;
  float Radius = 0;  // half the picture's diagonal
  bool Visible = true;
  int32_t Layer = 0;  // 0, 1 or 2
  bool Animated = false;
  std::string NextPicture;
  float FrameTimer = 0;
  float FrameTime = 0;
  int32_t StoredFunction = 0;   // written by a script command, read by nothing
  int32_t ArrivalFunction = 0;  // <= 0 none
};

struct TRegion {
  float Width = 0, Height = 0;
  float X = 0, Y = 0;  // centre, location pixels
  int32_t Function = 0;  // index into Functions; <= 0 none
  int32_t CursorNumber = 0;
  bool Enabled = true;
};

struct TGridPoint {
  int32_t X = 0, Y = 0;
};

struct TqvxRoad {
  std::vector<TGridPoint> Points;
  int32_t Count() const { return static_cast<int32_t>(Points.size()); }
};

struct TDelayedFunction {
  int32_t Function = -1;  // -1: free slot
  float Delay = 0;        // seconds
  bool Forced = false;
};

struct TKeyEntry {
  int32_t Key = -1;  // Windows virtual-key code, -1: none
  int32_t PressFunction = -1;
  int32_t ReleaseFunction = -1;
  int32_t HoldFunction = -1;
  int32_t State = 0;  // 0..3
};

struct TStepSound {
  std::string Frame;
  std::string Sound;
};

// One level of a script run: a function being executed and how far it got.
// Command 16 adds a level here rather than recursing, so a deep chain of
// calls costs heap, not native stack.
enum class TScriptTable : uint8_t { Location, Global, AddLoc };

struct TScriptLevel {
  TScriptTable Table = TScriptTable::Location;
  int32_t AddLoc = -1;    // the additional location whose functions Table AddLoc means
  int32_t Function = -1;  // index in that table
  int32_t Next = 0;       // instruction to execute next
  int32_t Count = 0;      // instruction count taken when the level began
  uint32_t Serial = 0;    // location levels: FunctionTableSerial when they began
  bool Forced = false;    // location levels: waits do not suspend it
  bool Calling = false;   // instruction Next has called the level above this one
};

// The levels of the run under way and what bounds it: a run ends early, with
// a warning, when it executes too many instructions or nests too deep.
struct TScriptRun {
  std::vector<TScriptLevel> Levels;
  int64_t Executed = 0;   // instructions since the outermost run began
  bool Stopping = false;  // a bound was hit: every level unwinds
};

struct TqvxScene {
  // Screen furniture.
  TDummyCube* LayerRoots[3] = {nullptr, nullptr, nullptr};
  TDummyCube* ScriptRoot = nullptr;
  THUDSprite* Fader = nullptr;
  float FadeLevel = -1;
  bool FadeIn = false;
  THUDSprite* Cursor = nullptr;
  THUDSprite* CursorItem = nullptr;
  bool CursorVisible = true;
  THUDSprite* FeetMarker = nullptr;
  float FeetTimer = 0;
  int32_t FeetFrame = 0;

  // WalkGrid[column][row], GridWidth columns of 30 rows.
  std::vector<std::array<int32_t, kGridRows>> WalkGrid;

  TqvxMatLib LocationArchive;
  std::unique_ptr<TGLMaterialLibrary> LocationLibrary = std::make_unique<TGLMaterialLibrary>();
  TqvxMatLib PersonArchive;
  std::unique_ptr<TGLMaterialLibrary> PersonLibrary = std::make_unique<TGLMaterialLibrary>();
  TqvxMatLib SystemArchive;
  std::unique_ptr<TGLMaterialLibrary> SystemLibrary = std::make_unique<TGLMaterialLibrary>();

  TDayTime DayTime;
  int32_t DayTimeObject = -1;
  TqvxSound Sound;

  std::vector<TqvxObject> Objects;
  std::vector<TRegion> Regions;
  std::vector<TqvxRoad> Roads;
  std::vector<TqvxFunction> Functions;
  std::vector<TqvxFunction> GlobalFunctions;

  bool ScriptExecuting = true;
  bool ScriptExecutingBefore = true;
  bool StopRequested = false;
  TDelayedFunction DelayedFunctions[kDelayedSlots];
  TDelayedFunction DelayedGlobalFunctions[kDelayedSlots];
  int32_t FrameFunction = -1;
  int32_t GridWidth = 0;
  float ScrollX = 0;
  float ScrollTarget = 0;
  std::string HeaderName;  // str30
  std::string HeaderText;  // str150
  int32_t Variables[kVariableCount] = {};

  TInventory Inventory;
  int32_t LocationMusic = -1;
  TqvxGameLayer PanelLayers[2];
  TqvxSketchManager Sketches;
  std::vector<TqvxAddLoc> AddLocs;
  bool OverlayActive = false;
  bool CursorHidden = false;

  int32_t HeroIndex = -1;
  float HeroClickWidth = -1, HeroClickHeight = -1;
  int32_t HeroClickFunction = -1;
  int32_t ScrollObject = -1;

  // The hero's walk, turn, frames and scaling.
  int32_t HeroDirection = 3;
  float HeroSpeed = 150;
  float HeroWalkSpeed = 150;
  bool HeroWalking = false;
  TGridPoint Waypoints[kMaxWaypoints] = {};  // location pixels
  int32_t WaypointCount = 0;
  int32_t WaypointIndex = -1;
  float WaitTime = -1;
  bool HeroTalking = false;
  bool IdlePoseShown = true;
  bool IdleOnArrival = true;
  std::string TurnQueue[7];  // entries 1..6
  int32_t TurnQueueCount = 0;
  int32_t TurnPlayIndex = -1;
  float TurnPlayClock = 0;
  std::string TurnFrames[8];
  std::string WalkFrames[8][5];
  std::string StandFrames[9];
  std::string IdleFrames[4];
  TStepSound StepSounds[16];
  bool DepthScaleOn = false;
  int32_t DepthY1 = 0, DepthY2 = 0;
  float DepthScale1 = 1, DepthScale2 = 1;
  float DepthScale = 1;
  bool SlopeOn = false;
  int32_t SlopeX1 = 0, SlopeX2 = 0;
  float SlopeScale1 = 1, SlopeScale2 = 1;
  float SlopeRotation1 = 0, SlopeRotation2 = 0;
  float SlopeScale = 1;
  float DiagonalSlope = 1;
  // Plays a footstep sound by name when the hero shows a frame bound to one;
  // installed by the sound subsystem, empty means silent.
  std::function<void(TqvxScene&, const std::string& sound)> StepSoundHook;
  // Shows a frame of the hero, restarting its chain (the talking frame that a
  // spoken line starts); installed by the scene, empty means nothing shows.
  std::function<void(TqvxScene&, const std::string& frame)> HeroFrameHook;

  // Sees every instruction a run executes, before it does, with its level;
  // an author's trace of what the scripts did. Empty: none.
  std::function<void(const TqvxScene&, const TScriptLevel&, const TScriptInstruction&)> TraceHook;
  // Tells the player of an error that ends only the operation that met it
  // (a save that cannot be written) while the frame goes on; installed by
  // the shell. Empty: the error is thrown like any other.
  std::function<void(const std::string& text)> ErrorHook;

  // Seconds left of the outlines of the hot zones (Tab); drawn over the
  // picture on screen only, never into screenshots, never saved.
  float OutlineTimer = 0;

  int32_t DragObject = -1;
  float LocationTimer = -1;
  // Immediate location changes made in this frame (the frame update clears
  // it): bounded, so that locations entering each other cannot go on for ever.
  int32_t ImmediateChanges = 0;
  // While a location's start function runs, an immediate change it asks for
  // waits here until that function has ended.
  bool EnteringLocation = false;
  bool LocationChangePending = false;
  int32_t SuspendedFunction = -1;
  int32_t ResumeIndex = -1;
  // Bumped whenever the location function table is emptied, so that a run
  // whose table was replaced under it (a location change) stops there.
  uint32_t FunctionTableSerial = 0;
  TScriptRun Run;
  std::string LocationName;      // str120
  std::string PreviousLocation;  // str120
  TKeyEntry KeyTable[kKeyEntries];
  bool InputEnabled = true;
  bool InputWhenIdle = true;
  bool LeftDown = false, LeftWasDown = false, RightDown = false, RightWasDown = false;
  float ClickDelay = -1;
  TBackMusic Music;
  THUDString* Caption = nullptr;
  THUDString* Subtitle = nullptr;
  THUDString* HoverText = nullptr;
  THUDSprite* SubPanel = nullptr;
  bool SubTitles = true;
  bool SubtitleShown = false;
  THUDSprite* MenuButton = nullptr;
  bool MenuActive = false;
  TMenuPage Menu;
  // The main page's five entries in table order (entry 0 is also the panels'
  // back button), the slot buttons of the panel on screen and what the slot
  // files say: picture number and caption of slot 1..12 at index 0..11.
  int32_t MenuButtonIds[5] = {-1, -1, -1, -1, -1};
  int32_t SlotButtonIds[kSaveSlots] = {};
  int32_t CurrentPage = 0;
  int32_t SlotPictures[kSaveSlots] = {};
  std::string SlotNames[kSaveSlots];
  bool LoadingSave = false;
  std::string PendingLoad;
  // The folder save files live in, chosen at start-up; empty: "save" in the
  // game directory.
  std::string SaveDir;
  int32_t MenuMusic = -1;
  int32_t MenuEnabled = 0;
  std::string SkipLocation;
  bool EscReleased = false, EscWasDown = false, EscDown = false;
  bool NoFade = false;
  bool QuitRequested = false, VideoRequested = false, VideoPlaying = false;
  std::string VideoName;
  // The video player's play state (0 undefined, 1 stopped, 2 paused, 3
  // playing, 8 media ended) and play position.
  int32_t VideoPlayState = 0;
  int32_t VideoPositionMs = 0;

  // This platform's input for the frame (filled by the shell before each
  // update) and the state of the engine's random generator.
  TInputState Input;
  uint32_t RandomState = 0;
};

// Clears the per-location state; what lives across locations stays.
void ResetScene(TqvxScene& scene);
// The part of a new game ResetScene does not do.
void ClearGameState(TqvxScene& scene);
void ClearVariables(TqvxScene& scene, int32_t first, int32_t count);
void SwapVariables(TqvxScene& scene, int32_t a, int32_t b);

void AddDelayedFunction(TqvxScene& scene, int32_t function, bool forced, float seconds);
void AddDelayedGlobalFunction(TqvxScene& scene, int32_t function, float seconds);
void CancelDelayedFunction(TqvxScene& scene, int32_t function);
void CancelDelayedGlobalFunction(TqvxScene& scene, int32_t function);
void ClearDelayedFunctions(TqvxScene& scene);
void ClearDelayedGlobalFunctions(TqvxScene& scene);

void SetScriptExecuting(TqvxScene& scene, bool flag);
void SetObjectPosition(TqvxScene& scene, int32_t object, float x, float y);
// An object's Radius for its size: half the diagonal of its rectangle.
float HalfDiagonal(float width, float height);
void SetHero(TqvxScene& scene, const std::string& objectName);

// Whether `index` names an entry of a table of `size` entries: the one bounds
// test for indices that scripts and files give unchecked. It takes int64 so
// that the sum of two int32 operands is tested before it could wrap.
constexpr bool InTable(int64_t index, size_t size) { return index >= 0 && static_cast<uint64_t>(index) < size; }

// The index of the first object of that name; -1 when none.
int32_t FindObject(const TqvxScene& scene, const std::string& name);
// Whether `index` names an object, a region, a location or global function.
bool ValidObject(const TqvxScene& scene, int32_t index);

// The engine's random generator: state * 134775813 + 1, the result the high
// 32 bits of n * state: 0 <= result < n for n > 0, 0 for n = 0.
int32_t Random(TqvxScene& scene, int32_t n);
void SeedRandom(TqvxScene& scene, uint32_t seed);

// A queued turn of the hero is still being shown.
inline bool HeroTurnPending(const TqvxScene& scene) { return scene.HeroIndex >= 0 && scene.TurnPlayIndex >= 0; }

// The hero's defaults that a reset restores.
void ResetHeroState(TqvxScene& scene);

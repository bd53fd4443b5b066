// Records of the location effects kept in the scene state: the time of day,
// the two panel layers, the sketch manager and the additional locations.
// The procedures that work on them are in effects/; sprites named here live
// in the game's scene tree and the records only refer to them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "state/instruction.h"

class TDummyCube;
class THUDSprite;
class TGLMaterialLibrary;

constexpr int32_t kDayTimeChannels = 32;
constexpr int32_t kDayTimeKeys = 6;

struct TDayTimeChannel {
  int32_t Picture = -1;  // material index in the location library
  float KeyTime[kDayTimeKeys] = {};   // ascending, 0..1
  float KeyValue[kDayTimeKeys] = {};  // 0..1
  int32_t Kind = 0;                   // 0 opacity, 1 colour, other: nothing
};

struct TDayTime {
  std::array<TDayTimeChannel, kDayTimeChannels> Channels;
  int32_t ChannelCount = 0;
  float Time = 0;               // phase of the day, 0..1
  float Speed = 1.0f / 900.0f;  // phase per second
  float SpeedFactor = 1;
  bool DayTimeActive = false;
  float OrbitX = 0, OrbitY = 0;  // centre of the orbit, location pixels
  float OrbitRadius = 0;
};

// A group of screen sprites with one picture that slides open from the left
// edge, a counter picture riding the sliding edge, an edge picture covering
// the rest and fading after a close, and two followers.
struct TqvxGameLayer {
  TGLMaterialLibrary* Library = nullptr;
  TDummyCube* Parent = nullptr;
  int32_t SlideIndex = -1;
  int32_t SlideMaterial = -1;
  float SlideTexScale = 1;
  float SlideWidth = 0;
  float Progress = 0;  // 0 closed .. 1 open
  int32_t CounterIndex = -1;
  int32_t EdgeIndex = -1;
  float EdgeAlpha = 0;
  bool Instant = false;
  bool JustClosed = false;
  int32_t FollowerA = -1, FollowerB = -1;
  float FollowerAX = 0, FollowerBX = 0;
  bool Running = false;
  bool Closing = false;
  std::vector<THUDSprite*> Pictures;  // in order of addition; PictureCount is their number
};

constexpr int32_t kSketchSlots = 16;

struct TSketch {
  THUDSprite* Sprite = nullptr;
  float Width = 0, Height = 0;  // base size, pixels
  float X = 0, Y = 0;           // centre, screen pixels
  float Angle = 0;              // degrees
  float AngleSpeed = 0;         // degrees per second
  float Direction = 0;          // drift direction, degrees, 90 upward
  float MoveSpeed = 0;          // pixels per second at zoom 1
  float ZoomSpeed = 0;          // zoom decrease per second
  float ZoomAccel = 0;          // ZoomSpeed increase per second
  float Zoom = 0;               // drawn (1 + Zoom) times the base size
  float Delay = 0;              // seconds before the sketch moves
  float Hold = 0;               // seconds it stays after its zoom
  std::string Note, Sound, PictureName;
  bool Done = false;  // the zoom has ended
};

struct TqvxSketchManager {
  std::array<TSketch, kSketchSlots> Sketches;
  int32_t SketchCount = 0;
  float SketchTimer = 0;
  int32_t CurrentSketch = -1;
  std::string SketchSound;  // to start this frame; "_none" for a sketch without one
  bool StepEnded = false;   // the timer ran out this frame
  std::string NextLocation;
};

constexpr int32_t kAddLocSlots = 16;

struct TAddLocZone {
  float Width = 0, Height = 0;
  float CentreX = 0, CentreY = 0;
  int32_t ZoneFunction = -1;  // index in AddLocFunctions, -1 none
  int32_t ZoneCursor = 1;     // cursor number over the zone
  bool Enabled = false;
};

struct TqvxAddLoc {
  TDummyCube* Root = nullptr;  // null when made without a scene tree
  std::array<THUDSprite*, kAddLocSlots> AddLocSprites{};
  int32_t SpriteCount = 0;
  std::vector<TqvxFunction> AddLocFunctions;  // at most 16, run by zone clicks
  std::array<TAddLocZone, kAddLocSlots> Zones;
  int32_t ZoneCount = 0;
  bool ButtonDown = false, ButtonWasDown = false;
};

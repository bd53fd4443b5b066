// Every object command finds its object by the name in Str1 and does nothing
// when there is none (63 stores -1 instead). Property numbers outside 0..32
// and variable numbers outside the table are ignored.
#include "scene/object_commands.h"

#include <cmath>
#include <limits>

#include "hero/hero_movement.h"
#include "resources/matlib.h"
#include "scene/scene_update.h"
#include "state/instruction.h"
#include "script/interpreter.h"
#include "script/script_table.h"

namespace {

constexpr int32_t kLastProperty = 32;

TqvxObject* NamedObject(TqvxScene& scene, const TScriptInstruction& ins, int32_t* index = nullptr) {
  const int32_t i = FindObject(scene, ins.Str[0]);
  if (index) *index = i;
  return ValidObject(scene, i) ? &scene.Objects[size_t(i)] : nullptr;
}

// Property `first` + k, or -1 when the sum leaves 0..32 (or int32 itself).
int32_t PropertyNumber(int32_t first, int32_t k) {
  const int64_t p = int64_t{first} + k;
  return p >= 0 && p <= kLastProperty ? static_cast<int32_t>(p) : -1;
}

// Nearest integer, halves to the even neighbour; saturates at the int32
// limits, and NaN gives 0.
int32_t RoundToInt32(float v) {
  if (std::isnan(v)) return 0;
  const float r = std::nearbyint(v);
  if (r >= 2147483648.0f) return std::numeric_limits<int32_t>::max();
  if (r < -2147483648.0f) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(r);
}

// 51: properties Op1 .. Op1 + Op2 - 1 take the operands from Op3 on.
void SetPropertiesCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  int32_t index = -1;
  TqvxObject* o = NamedObject(scene, ins, &index);
  if (!o) return;
  for (int32_t k = 0; k < ins.Op[1]; ++k) {
    int32_t value = 0;
    if (!ListOperand(ins, k + 2, value)) break;
    const int32_t property = PropertyNumber(ins.Op[0], k);
    float* field = ObjectProperty(*o, property);
    if (!field) continue;
    *field = static_cast<float>(value);
    if (property == 12 || property == 13) {
      (property == 12 ? o->X : o->Y) += static_cast<float>(value);
      if (index == scene.HeroIndex) {
        SetHero(scene, o->Name);
        o = &scene.Objects[size_t(index)];
      }
    } else if (property == 14 || property == 15) {
      o->Radius = HalfDiagonal(o->Width, o->Height);
    }
  }
}

// 52: shows the object and places its sprite at once.
void ShowObjectCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  TqvxObject* o = NamedObject(scene, ins);
  if (!o) return;
  o->Visible = true;
  if (o->Sprite) o->Sprite->Visible = true;
  PlaceSprites(scene);
}

// 53: hides the object.
void HideObjectCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  TqvxObject* o = NamedObject(scene, ins);
  if (!o) return;
  o->Visible = false;
  if (o->Sprite) o->Sprite->Visible = false;
}

// 54: the object shows picture Str2 from its start, and animates.
void ShowPictureCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  int32_t index = -1;
  TqvxObject* o = NamedObject(scene, ins, &index);
  if (!o) return;
  if (!ins.Str[1].empty()) SetObjectPicture(scene, index, ins.Str[1], true);
  scene.Objects[size_t(index)].Animated = true;
}

// 55: flight heading, speed and orientation.
void FlightCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  TqvxObject* o = NamedObject(scene, ins);
  if (!o) return;
  o->FlightHeading = static_cast<float>(ins.Op[0]);
  o->FlightSpeed = static_cast<float>(ins.Op[1]);
  o->FlightOrient = static_cast<float>(ins.Op[2]);
}

// 58: the animation chain runs while Op1 is above 0.
void AnimateCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  if (TqvxObject* o = NamedObject(scene, ins)) o->Animated = ins.Op[0] > 0;
}

// 40: material property Op2 := Op3 on image Str1, or on every image when Op4
// is 1 or more, of library Op1 (0 location, 1 person, 2 menu, 3 system).
void ImagePropertyCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  SetImageProperty(scene, ins.Op[0], ins.Op[1], ins.Op[3] >= 1, ins.Str[0], ins.Op[2],
                   {&scene.Menu.Archive, scene.Menu.MenuLibrary.get()});
}

// 56: Op1 0 frees the object; Op1 1 keeps it inside x Op2..Op3, y Op4..Op5.
void BoundsCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  TqvxObject* o = NamedObject(scene, ins);
  if (!o) return;
  if (ins.Op[0] == 0) {
    o->BoundsOn = false;
  } else if (ins.Op[0] == 1) {
    o->BoundsOn = true;
    o->MinX = static_cast<float>(ins.Op[1]);
    o->MaxX = static_cast<float>(ins.Op[2]);
    o->MinY = static_cast<float>(ins.Op[3]);
    o->MaxY = static_cast<float>(ins.Op[4]);
  }
}

// 57: moves the object by (Op1, Op2) pixels per second over this frame.
void NudgeCommand(TqvxScene& scene, const TScriptInstruction& ins, float frameTime) {
  int32_t index = -1;
  TqvxObject* o = NamedObject(scene, ins, &index);
  if (!o) return;
  SetObjectPosition(scene, index, o->X + static_cast<float>(ins.Op[0]) * frameTime,
                    o->Y + static_cast<float>(ins.Op[1]) * frameTime);
}

// 59: Op1 1 sets the function run when a move to a point ends or a bound
// stops the object (a name not found clears it); Op1 0 only stores it.
void ArrivalFunctionCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  TqvxObject* o = NamedObject(scene, ins);
  if (!o) return;
  const int32_t function = FindLocationFunction(scene, ins.Str[1]);
  if (ins.Op[0] == 1)
    o->ArrivalFunction = function;
  else if (ins.Op[0] == 0)
    o->StoredFunction = function;
}

// 60: properties Op1 .. Op1 + Op2 - 1 take Random of the bounds from Op3 on.
// The generator steps for every listed bound, so a property number that is
// ignored does not shift the numbers the later ones get.
void RandomPropertiesCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  TqvxObject* o = NamedObject(scene, ins);
  if (!o) return;
  for (int32_t k = 0; k < ins.Op[1]; ++k) {
    int32_t bound = 0;
    if (!ListOperand(ins, k + 2, bound)) break;
    const int32_t value = Random(scene, bound);
    if (float* field = ObjectProperty(*o, PropertyNumber(ins.Op[0], k))) *field = static_cast<float>(value);
  }
}

// 61: properties Op1 .. Op1 + Op2 - 1 grow by the operands from Op3 on.
void AddPropertiesCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  TqvxObject* o = NamedObject(scene, ins);
  if (!o) return;
  for (int32_t k = 0; k < ins.Op[1]; ++k) {
    int32_t value = 0;
    if (!ListOperand(ins, k + 2, value)) break;
    if (float* field = ObjectProperty(*o, PropertyNumber(ins.Op[0], k))) *field += static_cast<float>(value);
  }
}

// 62: places the object at (Op1 + Random(Op3), Op2 + Random(Op4)), counted
// from the rounded position of the anchor object Str2 when there is one.
void PlaceCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  int32_t index = -1;
  if (!NamedObject(scene, ins, &index)) return;
  int64_t baseX = 0, baseY = 0;
  const int32_t anchor = ins.Str[1].empty() ? -1 : FindObject(scene, ins.Str[1]);
  if (ValidObject(scene, anchor)) {
    baseX = RoundToInt32(scene.Objects[size_t(anchor)].X);
    baseY = RoundToInt32(scene.Objects[size_t(anchor)].Y);
  }
  // In 64 bits: a far anchor plus large operands must not overflow.
  const int64_t x = baseX + ins.Op[0] + Random(scene, ins.Op[2]);
  const int64_t y = baseY + ins.Op[1] + Random(scene, ins.Op[3]);
  SetObjectPosition(scene, index, static_cast<float>(x), static_cast<float>(y));
}

// 63: the object follows the pointer; a name not found stops any dragging.
void DragCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  scene.DragObject = FindObject(scene, ins.Str[0]);
}

// 64: variable Op1 := property Op2, rounded (halves to even).
void PropertyToVariableCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  TqvxObject* o = NamedObject(scene, ins);
  if (!o) return;
  const float* field = ObjectProperty(*o, ins.Op[1]);
  int32_t* variable = VariableRef(scene, ins.Op[0]);
  if (field && variable) *variable = RoundToInt32(*field);
}

// 65: property Op2 := variable Op1.
void VariableToPropertyCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  TqvxObject* o = NamedObject(scene, ins);
  if (!o) return;
  float* field = ObjectProperty(*o, ins.Op[1]);
  const int32_t* variable = VariableRef(scene, ins.Op[0]);
  if (field && variable) *field = static_cast<float>(*variable);
}

// 66: moves the object to (Op1, Op2) at Op3 pixels per second; the frame
// motion stops it there and runs its arrival function.
void MoveToCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  TqvxObject* o = NamedObject(scene, ins);
  if (!o) return;
  const float tx = static_cast<float>(ins.Op[0]);
  const float ty = static_cast<float>(ins.Op[1]);
  // The hero's measure (0 to 360): scripts read the heading back as a
  // property and compare it with values in that range.
  o->Heading = HeadingBetween(o->X, o->Y, tx, ty);
  o->Speed = static_cast<float>(ins.Op[2]);
  o->TargetX = tx;
  o->TargetY = ty;
  o->MovingToTarget = true;
}

// 67: Op1 0 spins the object at Op2 degrees per second; Op1 1 stops it.
void SpinCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  TqvxObject* o = NamedObject(scene, ins);
  if (!o) return;
  if (ins.Op[0] == 0) {
    o->Spinning = true;
    o->SpinSpeed = static_cast<float>(ins.Op[1]);
  } else if (ins.Op[0] == 1) {
    o->Spinning = false;
  }
}

}  // namespace

float* ObjectProperty(TqvxObject& o, int32_t property) {
  if (property < 0 || property > kLastProperty) return nullptr;
  if (property >= 6 && property <= 11) return &o.ScriptValuesA[property - 6];
  if (property >= 16 && property <= 29) return &o.ScriptValuesB[property - 16];
  switch (property) {
    case 0: return &o.UserValue;
    case 1: return &o.X;
    case 2: return &o.Y;
    case 3: return &o.Heading;
    case 4: return &o.Rotation;
    case 5: return &o.Speed;
    case 12: return &o.PivotX;
    case 13: return &o.PivotY;
    case 14: return &o.Width;
    case 15: return &o.Height;
    case 30: return &o.Parallax;
    case 31: return &o.TargetX;
    default: return &o.TargetY;
  }
}

void SetImageProperty(TqvxScene& scene, int32_t selector, int32_t property, bool allImages,
                      const std::string& imageName, int32_t value, TMatLibPair menu) {
  TMatLibPair pair{&scene.LocationArchive, scene.LocationLibrary.get()};
  if (selector == 1) pair = {&scene.PersonArchive, scene.PersonLibrary.get()};
  if (selector == 2) pair = menu;
  if (selector == 3) pair = {&scene.SystemArchive, scene.SystemLibrary.get()};
  if (!pair.Archive || !pair.Library) return;
  MatLibSetProperty(*pair.Archive, *pair.Library, property, allImages, imageName, value);
}

std::span<const TCommandBinding> ObjectCommands() {
  static constexpr TCommandBinding kBindings[] = {
      {40, ImagePropertyCommand},
      {51, SetPropertiesCommand},
      {52, ShowObjectCommand},
      {53, HideObjectCommand},
      {54, ShowPictureCommand},
      {55, FlightCommand},
      {56, BoundsCommand},
      {57, NudgeCommand},
      {58, AnimateCommand},
      {59, ArrivalFunctionCommand},
      {60, RandomPropertiesCommand},
      {61, AddPropertiesCommand},
      {62, PlaceCommand},
      {63, DragCommand},
      {64, PropertyToVariableCommand},
      {65, VariableToPropertyCommand},
      {66, MoveToCommand},
      {67, SpinCommand},
  };
  return kBindings;
}

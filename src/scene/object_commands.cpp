#include "scene/object_commands.h"

#include <cmath>

#include "scene/scene_update.h"
#include "script/instruction.h"
#include "script/script_table.h"

namespace {

constexpr int32_t kLastProperty = 32;

TqvxObject* NamedObject(TqvxScene& scene, const TScriptInstruction& ins, int32_t* index = nullptr) {
  const int32_t i = FindObject(scene, ins.Str[0]);
  if (index) *index = i;
  return ValidObject(scene, i) ? &scene.Objects[size_t(i)] : nullptr;
}

// 1: the hero is the object Str1.
void SetHeroCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  SetHero(scene, ins.Str[0]);
  scene.HeroDirection = 3;
}

// 51: properties Op1 .. Op1 + Op2 - 1 take the operands from Op3 on.
void SetPropertiesCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  int32_t index = -1;
  TqvxObject* o = NamedObject(scene, ins, &index);
  if (!o) return;
  for (int32_t k = 0; k < ins.Op[1]; ++k) {
    int32_t value = 0;
    const int32_t property = ins.Op[0] + k;
    if (!ListOperand(ins, k + 2, value)) break;
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
      o->Radius = std::sqrt((o->Width / 2) * (o->Width / 2) + (o->Height / 2) * (o->Height / 2));
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

void RegisterObjectCommands() {
  RegisterCommand(1, SetHeroCommand);
  RegisterCommand(51, SetPropertiesCommand);
  RegisterCommand(52, ShowObjectCommand);
  RegisterCommand(53, HideObjectCommand);
  RegisterCommand(54, ShowPictureCommand);
  RegisterCommand(55, FlightCommand);
  RegisterCommand(58, AnimateCommand);
}

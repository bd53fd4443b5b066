#include "scene/input.h"

#include <cmath>
#include <string>

#include "hero/hero_movement.h"
#include "hero/inventory.h"
#include "hero/path_finder.h"
#include "scene/menu_frame.h"
#include "render/hud_string.h"
#include "scene/location.h"
#include "scene/save_game.h"
#include "scene/scene_update.h"
#include "script/interpreter.h"
#include "sound/sound_manager.h"

namespace {

// The menu button takes clicks right of x 722 above y 48 and lights up right
// of x 736 above y 44; in the corner right of 736 above 45 the pointer keeps
// its normal picture.
constexpr int32_t kMenuClickLeft = 722, kMenuClickBottom = 48;
constexpr int32_t kMenuHoverLeft = 736, kMenuHoverBottom = 44;
constexpr int32_t kCornerLeft = 736, kCornerBottom = 45;

// The carried item's picture and the walk marker, from the pointer's centre.
constexpr float kItemOffsetX = 25, kItemOffsetY = -42;
constexpr float kFeetOffsetX = 30, kFeetOffsetY = -6;

const char* const kQuickSave = "quick.save";

bool KeyDown(TqvxScene& scene, int vk) { return GetAsyncKeyState(scene.Input, vk) != 0; }

constexpr float kOutlineSeconds = 2;

bool TabBound(const TqvxScene& scene) {
  for (const TKeyEntry& k : scene.KeyTable)
    if (k.Key == kVkTab && (k.PressFunction >= 0 || k.ReleaseFunction >= 0 || k.HoldFunction >= 0)) return true;
  return false;
}

bool CursorShown(const TqvxScene& scene) { return scene.Cursor && scene.Cursor->Visible; }

// The location x under the mouse, rounded (halves to even).
int32_t WorldX(const TqvxScene& scene, int32_t mx) {
  return static_cast<int32_t>(std::nearbyint(static_cast<double>(mx) + scene.ScrollX));
}

bool RegionContains(const TRegion& r, float x, float y) {
  return x > r.X - r.Width / 2 && x < r.X + r.Width / 2 && y > r.Y - r.Height / 2 && y < r.Y + r.Height / 2;
}

// The first enabled region containing the location point; -1 none.
int32_t RegionAt(const TqvxScene& scene, int32_t wx, int32_t my) {
  for (size_t i = 0; i < scene.Regions.size(); ++i) {
    const TRegion& r = scene.Regions[i];
    if (r.Enabled && RegionContains(r, static_cast<float>(wx), static_cast<float>(my))) return static_cast<int32_t>(i);
  }
  return -1;
}

void DropCarriedItem(TqvxScene& scene) { scene.Inventory.ItemInHand = -1; }

bool InMenuCorner(int32_t mx, int32_t my) { return mx >= kCornerLeft && my < kCornerBottom; }

// Esc pressed during a cut scene: fade out and go to the skip location.
void SkipCutScene(TqvxScene& scene) {
  scene.WaitTime = -1;
  RequestLocationChange(scene, scene.SkipLocation, false);
}

}  // namespace

bool MouseOnHero(const TqvxScene& scene, int32_t mx, int32_t my) {
  if (!ValidObject(scene, scene.HeroIndex) || scene.HeroClickWidth < 0) return false;
  const THUDSprite* sprite = scene.Objects[static_cast<size_t>(scene.HeroIndex)].Sprite;
  if (!sprite) return false;
  return std::fabs(static_cast<float>(mx) - sprite->PositionX) < scene.HeroClickWidth * scene.SlopeScale &&
         std::fabs(static_cast<float>(my) - sprite->PositionY) < scene.HeroClickHeight * scene.DepthScale;
}

bool LeftClick(TqvxScene& scene, float dt) {
  int32_t mx = 0, my = 0;
  GetCursorPos(scene.Input, mx, my);
  scene.LeftDown = KeyDown(scene, kVkLeftButton);
  // With the pointer hidden only a dragged object can be let go.
  if (!CursorShown(scene) && scene.DragObject < 0) scene.LeftDown = false;
  const bool released = !scene.LeftDown && scene.LeftWasDown;
  bool click = released && scene.ClickDelay < 0 && scene.WaitTime <= 0;

  const int32_t button = InventoryFrame(scene.Inventory, mx, my, dt, scene.LeftDown && scene.InputEnabled);
  if (click && button >= 0) {
    RunGlobalFunction(scene, scene.Inventory.Buttons[static_cast<size_t>(button)].Function, 0, dt);
    click = false;
    DropCarriedItem(scene);
  }
  if (click && scene.HeroClickFunction >= 0 && scene.InputEnabled && MouseOnHero(scene, mx, my)) {
    RunGlobalFunction(scene, scene.HeroClickFunction, 0, dt);
    click = false;
    DropCarriedItem(scene);
  }
  if (!scene.InputEnabled || !click) {
    // A click while input is off (the hero walks, a cut scene runs) stops
    // the walk when the walk is what took input away.
    if (click) {
      scene.ClickDelay = kClickDelay;
      if (scene.HeroWalking) StopWalk(scene);
    }
    scene.LeftWasDown = scene.LeftDown;
    return released;
  }

  // A new action: a script that waits for the hero is forgotten.
  scene.ClickDelay = kClickDelay;
  scene.SuspendedFunction = -1;
  bool used = false;

  // A click on an empty slot goes on to the regions and the ground.
  if (InventoryShown(scene.Inventory)) {
    const int32_t slot = SlotAt(scene.Inventory, mx, my);
    if (slot >= 0 && SlotItem(scene.Inventory, slot) != -1) {
      SelectItem(scene.Inventory, SlotItem(scene.Inventory, slot));
      const int32_t function = scene.Inventory.InventoryClickFunction;
      if (function > 0) RunGlobalFunction(scene, function, 0, dt);
      used = true;
    }
  }

  const int32_t wx = WorldX(scene, mx);
  if (!used && scene.MenuButton && scene.MenuButton->Visible && mx > kMenuClickLeft && my < kMenuClickBottom &&
      scene.MenuEnabled >= 1) {
    OpenMenuFromPlay(scene);
    used = true;
  }

  if (!used) {
    // Every region under the pointer takes the click, in region order. A
    // region function that changes the location ends the search: the
    // regions left are the new location's.
    const uint32_t serial = scene.FunctionTableSerial;
    for (size_t i = 0; i < scene.Regions.size() && scene.FunctionTableSerial == serial; ++i) {
      const TRegion r = scene.Regions[i];
      if (!r.Enabled || !RegionContains(r, static_cast<float>(wx), static_cast<float>(my))) continue;
      if (r.Function > 0) RunFunction(scene, r.Function, 0, false, dt);
      used = true;
      if (scene.CursorItem) scene.CursorItem->Visible = false;
      DropCarriedItem(scene);
    }
  }

  if (!used) {
    DropCarriedItem(scene);
    if (ValidObject(scene, scene.HeroIndex) && scene.WaitTime <= 0) WalkTo(scene, wx / kGridCell, my / kGridCell);
  }
  scene.LeftWasDown = scene.LeftDown;
  return released;
}

void RightClick(TqvxScene& scene, bool leftReleased) {
  scene.RightDown = KeyDown(scene, kVkRightButton);
  const bool click = !scene.RightDown && scene.RightWasDown && !leftReleased && scene.ClickDelay < 0;
  if (click && scene.WaitTime <= 0) {
    scene.ClickDelay = kClickDelay;
    DropCarriedItem(scene);
    if (scene.HeroWalking) StopWalk(scene);
  }
  if (click && scene.WaitTime > 0 && scene.SubtitleShown) {
    // Skips the spoken line.
    HideSubtitle(scene);
    if (scene.HeroTalking) {
      SetHeroFrame(scene, scene.StandFrames[3], true);
      scene.HeroTalking = false;
    }
  }
  scene.RightWasDown = scene.RightDown;
}

void UpdateCursor(TqvxScene& scene) {
  int32_t mx = 0, my = 0;
  GetCursorPos(scene.Input, mx, my);
  if (!scene.Cursor) return;
  THUDSprite& cursor = *scene.Cursor;
  cursor.PositionX = static_cast<float>(mx) + kCursorOffset;
  cursor.PositionY = static_cast<float>(my) + kCursorOffset;

  const int32_t item = scene.Inventory.ItemInHand;
  if (scene.CursorItem) {
    scene.CursorItem->Visible = item >= 1;
    if (item >= 1) {
      scene.CursorItem->PositionX = cursor.PositionX + kItemOffsetX;
      scene.CursorItem->PositionY = cursor.PositionY + kItemOffsetY;
      const std::string picture = ItemPicture(item);
      if (scene.CursorItem->LibMaterialName() != picture) scene.CursorItem->SetLibMaterialName(picture);
    }
  }

  if (scene.MenuButton && scene.MenuButton->Visible) {
    const char* picture = mx > kMenuHoverLeft && my < kMenuHoverBottom ? "menubm" : "menubo";
    if (scene.MenuButton->LibMaterialName() != picture) scene.MenuButton->SetLibMaterialName(picture);
  }

  // The pointer picture; whatever is under the pointer also keeps the walk
  // marker away.
  std::string picture = "cursor01";
  bool overSomething = true;
  if (!InMenuCorner(mx, my)) {
    const int32_t region = RegionAt(scene, WorldX(scene, mx), my);
    if (MouseOnHero(scene, mx, my))
      picture = "cursor00";
    else if (region >= 0)
      picture = "cursor0" + std::to_string(scene.Regions[static_cast<size_t>(region)].CursorNumber);
    else
      overSomething = false;
  }
  if (cursor.LibMaterialName() != picture) cursor.SetLibMaterialName(picture);

  if (scene.FeetMarker) {
    THUDSprite& feet = *scene.FeetMarker;
    if (overSomething) {
      feet.Visible = false;
    } else {
      const int32_t column = (static_cast<int32_t>(std::nearbyint(scene.ScrollX)) + mx) / kGridCell;
      if (GridCell(scene, column, my / kGridCell) == 1) {
        feet.Visible = false;
      } else {
        feet.PositionX = cursor.PositionX + kFeetOffsetX;
        feet.PositionY = cursor.PositionY + kFeetOffsetY;
        feet.Visible = ValidObject(scene, scene.HeroIndex) && scene.WaitTime < 0 && !scene.HeroWalking &&
                       scene.FadeLevel < 0 && cursor.Visible;
      }
    }
  }

  // The dragged object stays under the pointer: its position is in the
  // location, so a scrolled view adds the scroll.
  if (ValidObject(scene, scene.DragObject))
    SetObjectPosition(scene, scene.DragObject, cursor.PositionX - kCursorOffset + scene.ScrollX,
                      cursor.PositionY - kCursorOffset);

  if (scene.HoverText) ItemCaption(scene.Inventory, *scene.HoverText, mx, my);
}

void Keys(TqvxScene& scene, float dt) {
  if (scene.InputEnabled) {
    PollKeyBindings(scene, dt);
    // Tab outlines every hot zone for a moment, unless a script binds Tab.
    if (KeyDown(scene, kVkTab) && !TabBound(scene)) scene.OutlineTimer = kOutlineSeconds;
    // F5 held runs a whole day in four seconds.
    if (KeyDown(scene, kVkF5)) {
      scene.DayTime.Time += dt / 4;
      if (scene.DayTime.Time > 1) scene.DayTime.Time -= 1;
    }
    if (scene.EscReleased && scene.MenuEnabled >= 1) OpenMenuFromPlay(scene);
    if (KeyDown(scene, kVkF2)) SaveGameFromPlay(scene, kQuickSave);
    if (KeyDown(scene, kVkF3)) LoadThroughLoader(scene, kQuickSave);
  }
  if (!scene.InputEnabled) {
    if (scene.EscReleased && !scene.SkipLocation.empty()) SkipCutScene(scene);
    // Reading the bound keys here forgets presses made during the cut scene.
    PollKeyBindings(scene, dt);
  }
}

void SetCursorNumber(TqvxScene& scene, int32_t number) {
  if (!scene.Cursor) return;
  int32_t mx = 0, my = 0;
  GetCursorPos(scene.Input, mx, my);
  scene.Cursor->PositionX = static_cast<float>(mx) + kCursorOffset;
  scene.Cursor->PositionY = static_cast<float>(my) + kCursorOffset;
  scene.Cursor->SetLibMaterialName("cursor0" + std::to_string(number));
}

// Location objects frame by frame: the animation chain, flight, movement,
// moves to a point, bounds and spin; sprite placement with parallax and
// culling, the scroll and layer 1's depth order.
#include <algorithm>
#include <cmath>

#include "hero/hero_movement.h"
#include "platform/angles.h"
#include "resources/matlib.h"
#include "scene/scene_update.h"
#include "script/interpreter.h"

namespace {

// Object motion is worked in single precision.
constexpr float kDegToRadF = static_cast<float>(kDegToRad);
constexpr float kScreenWidth = 800;
// Flight speeds up by (1 + dt) every frame. Past this many pixels a second
// an object crosses the screen many times in one frame, so the speed stops
// growing there instead of running to infinity (and the position to NaN).
constexpr float kMaxFlightSpeed = 1.0e6f;

TqvxObject* ObjectAt(TqvxScene& scene, int32_t i) { return ValidObject(scene, i) ? &scene.Objects[size_t(i)] : nullptr; }

float MaxScroll(const TqvxScene& scene) { return static_cast<float>(kGridCell * scene.GridWidth) - kScreenWidth; }

}  // namespace

void SetObjectPicture(TqvxScene& scene, int32_t object, const std::string& picture, bool resetTimer) {
  TqvxObject* o = ObjectAt(scene, object);
  if (!o) return;
  const int32_t image = MatLibFindImage(scene.LocationArchive, picture);
  const TImageEntry* entry = MatLibEntry(scene.LocationArchive, image);
  if (!entry) return;
  if (o->Sprite) o->Sprite->SetLibMaterialName(picture);
  o->NextPicture = entry->NextName;
  o->FrameTime = static_cast<float>(entry->FrameTime) / 1000.0f;
  if (resetTimer) o->FrameTimer = 0;
}

void AnimateObject(TqvxScene& scene, int32_t object, float dt) {
  TqvxObject* o = ObjectAt(scene, object);
  if (!o || o->NextPicture.empty() || !o->Animated) return;
  o->FrameTimer += dt;
  if (o->FrameTimer > o->FrameTime) {
    o->FrameTimer -= o->FrameTime;
    const std::string next = o->NextPicture;
    if (object == scene.HeroIndex)
      SetHeroFrame(scene, next, false);
    else
      SetObjectPicture(scene, object, next, false);
  }
}

void MoveObject(TqvxScene& scene, int32_t object, float dt) {
  TqvxObject* o = ObjectAt(scene, object);
  if (!o) return;
  if (o->FlightSpeed > 0) {
    const float fx = std::cos(o->FlightHeading * kDegToRadF) * o->FlightSpeed;
    const float fy = -std::sin(o->FlightHeading * kDegToRadF) * o->FlightSpeed;
    SetObjectPosition(scene, object, o->X + fx * dt, o->Y + fy * dt);
    o->FlightSpeed = std::min(o->FlightSpeed * (1 + dt), kMaxFlightSpeed);
    if (o->FlightOrient > 0) {
      // The sprite faces the velocity of the coming frame: the flight part at
      // the speed it has just grown to.
      const float flight = o->FlightHeading * kDegToRadF, own = o->Heading * kDegToRadF;
      const float vx = std::cos(flight) * o->FlightSpeed + std::cos(own) * o->Speed;
      const float vy = -std::sin(flight) * o->FlightSpeed - std::sin(own) * o->Speed;
      o->Rotation = std::atan2(-vy, vx) / kDegToRadF + 90;
    }
  }
  if (o->Speed > 0) {
    if (o->MovingToTarget && o->Speed * dt >= std::hypot(o->TargetX - o->X, o->TargetY - o->Y)) {
      o->X = o->TargetX;  // written directly: the hot spots do not take this last step
      o->Y = o->TargetY;
      o->Speed = 0;
      if (o->ArrivalFunction > 0) {
        o->MovingToTarget = false;
        RunFunction(scene, o->ArrivalFunction, 0, true, dt);
        o = ObjectAt(scene, object);  // the function may have changed the tables
        if (!o) return;
      }
    }
    if (o->Speed > 0) {
      SetObjectPosition(scene, object, o->X + std::cos(o->Heading * kDegToRadF) * o->Speed * dt,
                        o->Y - std::sin(o->Heading * kDegToRadF) * o->Speed * dt);
    }
    if (o->BoundsOn && (o->X < o->MinX || o->X > o->MaxX || o->Y < o->MinY || o->Y > o->MaxY)) {
      const float x = std::fmin(std::fmax(o->X, o->MinX), o->MaxX);
      const float y = std::fmin(std::fmax(o->Y, o->MinY), o->MaxY);
      SetObjectPosition(scene, object, x, y);
      o->FlightSpeed = 0;
      o->Speed = 0;
      if (o->ArrivalFunction > 0) {
        RunFunction(scene, o->ArrivalFunction, 0, true, dt);
        o = ObjectAt(scene, object);
        if (!o) return;
      }
    }
  }
  if (o->Spinning) o->Rotation += o->SpinSpeed * dt;
}

void PlaceSprites(TqvxScene& scene) {
  const float maxScroll = MaxScroll(scene);
  if (scene.ScrollX > maxScroll) scene.ScrollX = maxScroll;
  if (!(scene.ScrollX >= 0)) scene.ScrollX = 0;  // a NaN too: a damaged save's positions
  for (TqvxObject& o : scene.Objects) {
    if (!o.Sprite) continue;
    const float screenX = (o.X - scene.ScrollX) * o.Parallax;
    const bool shown = o.Visible && screenX + o.Radius > 0 && screenX - o.Radius < kScreenWidth;
    o.Sprite->Visible = shown;
    if (!shown) continue;
    o.Sprite->PositionX = screenX - o.PivotX;
    o.Sprite->PositionY = o.Y - o.PivotY;
    o.Sprite->Rotation = o.Rotation;
    o.Sprite->SetSize(o.Width, o.Height);
  }
  ScaleHero(scene);
}

void UpdateScroll(TqvxScene& scene, float dt) {
  if (dt < 0) scene.ScrollTarget = scene.ScrollX;
  if (const TqvxObject* followed = ObjectAt(scene, scene.ScrollObject))
    scene.ScrollTarget = followed->X - 400;
  else if (const TqvxObject* hero = ObjectAt(scene, scene.HeroIndex))
    scene.ScrollTarget = hero->X - 400;
  const float maxScroll = MaxScroll(scene);
  if (scene.ScrollTarget > maxScroll) scene.ScrollTarget = maxScroll;
  if (!(scene.ScrollTarget >= 0)) scene.ScrollTarget = 0;
  scene.ScrollX = scene.ScrollTarget;
  PlaceSprites(scene);
}

void SortLayer(TqvxScene& scene) {
  TDummyCube* layer = scene.LayerRoots[1];
  if (!layer) return;
  // The depth of a sprite: its object's Y (a NaN counts as 0, so that the
  // order stays strict).
  auto depth = [&](const TGLNode* child) {
    const float y = ValidObject(scene, child->Tag) ? scene.Objects[size_t(child->Tag)].Y : 0.0f;
    return std::isnan(y) ? 0.0f : y;
  };
  // Insertion sort by increasing Y. Objects move a little between frames, so
  // the layer is nearly in order and a pass costs little more than a scan.
  // Equal Ys keep their order: two sprites at one depth must not swap in
  // front of each other every frame. A layer far out of order (a location
  // just read) is handed to a merge sort after a bounded number of moves;
  // the moves so far kept equal depths in order, so the result is the same.
  const int n = layer->Count();
  int64_t movesLeft = 8 * static_cast<int64_t>(n) + 64;
  for (int i = 1; i < n; ++i) {
    const float y = depth(layer->Child(i));
    for (int k = i; k > 0 && depth(layer->Child(k - 1)) > y; --k) {
      layer->ExchangeWithPrevious(k);
      if (--movesLeft == 0) {
        layer->StableSortChildren([&](const TGLNode* p, const TGLNode* q) { return depth(p) < depth(q); });
        return;
      }
    }
  }
}

#include "effects/sketches.h"

#include <cmath>
#include <numbers>

#include "effects/sketch_file.h"
#include "platform/paths.h"

namespace {

constexpr double kDegToRad = std::numbers::pi / 180.0;

void FromRecord(TSketch& s, const TSketchRecord& r) {
  float* fields[kSketchValues] = {&s.Width, &s.Height, &s.X, &s.Y, &s.Angle, &s.AngleSpeed, &s.Direction,
                                  &s.MoveSpeed, &s.ZoomSpeed, &s.ZoomAccel, &s.Zoom, &s.Delay, &s.Hold};
  for (int i = 0; i < kSketchValues; ++i) *fields[i] = static_cast<float>(r.Values[static_cast<size_t>(i)]);
  s.Delay /= 1000;
  s.Hold /= 1000;
  s.Note = SketchText(r.Note);
  s.Sound = SketchText(r.Sound);
  s.PictureName = SketchText(r.Picture);
}

}  // namespace

void InitSketches(TqvxSketchManager& manager, TDummyCube& parent, TGLMaterialLibrary* library) {
  for (TSketch& s : manager.Sketches) {
    s.Sprite = parent.AddNewChild<THUDSprite>();
    s.Sprite->SetMaterialLibrary(library);
    s.Sprite->Visible = false;
  }
  manager.SketchCount = 0;
  manager.CurrentSketch = -1;
}

void SetSketchLibrary(TqvxSketchManager& manager, TGLMaterialLibrary* library) {
  for (TSketch& s : manager.Sketches)
    if (s.Sprite) s.Sprite->SetMaterialLibrary(library);
}

void LoadSketches(TqvxSketchManager& manager, const std::string& fileName) {
  manager.SketchCount = 0;
  manager.NextLocation.clear();
  TBinaryReader in(ResolveGamePath(fileName), fileName);
  SetSketches(manager, ReadSketchFile(in, kSketchSlots));
}

void SetSketches(TqvxSketchManager& manager, const TSketchFile& file) {
  const size_t count = file.Records.size() < kSketchSlots ? file.Records.size() : kSketchSlots;
  for (size_t i = 0; i < count; ++i) FromRecord(manager.Sketches[i], file.Records[i]);
  manager.SketchCount = static_cast<int32_t>(count);
  manager.NextLocation = SketchText(file.NextLocation);
}

void StartSketches(TqvxSketchManager& manager) {
  if (manager.SketchCount <= 0) return;
  manager.CurrentSketch = 0;
  ShowSketch(manager, 0);
}

void ShowSketch(TqvxSketchManager& manager, int32_t i) {
  if (!InTable(i, static_cast<size_t>(manager.SketchCount))) return;
  TSketch& s = manager.Sketches[static_cast<size_t>(i)];
  s.Done = false;
  if (!s.Sprite) return;
  s.Sprite->Visible = true;
  s.Sprite->PositionX = s.X;
  s.Sprite->PositionY = s.Y;
  // At its starting size, so that it does not flash up at the size of the
  // picture it showed before while the panel opens.
  s.Sprite->SetSize(s.Width * (1 + s.Zoom), s.Height * (1 + s.Zoom));
  s.Sprite->Rotation = s.Angle;
  s.Sprite->SetLibMaterialName(s.PictureName);
}

void HideSketches(TqvxSketchManager& manager) {
  for (TSketch& s : manager.Sketches)
    if (s.Sprite) s.Sprite->Visible = false;
}

void AnimateSketch(TSketch& s, float seconds) {
  if (s.Done) return;
  float step = seconds;
  s.ZoomSpeed += step * s.ZoomAccel;
  const float z0 = s.Zoom;
  s.Zoom -= step * s.ZoomSpeed;
  if (s.Zoom <= 0) {
    // The part of the frame before the zoom reached 0. A zoom that did not
    // move (it stood at 0 already) ends with no step at all, rather than 0/0.
    const float fall = z0 - s.Zoom;
    step = fall > 0 ? step * z0 / fall : 0;
    s.Done = true;
  }
  const float scale = 1 + s.Zoom;
  const double dir = s.Direction * kDegToRad;
  s.X += static_cast<float>(std::cos(dir) * s.MoveSpeed * step * s.Zoom);
  s.Y -= static_cast<float>(std::sin(dir) * s.MoveSpeed * step * s.Zoom);
  s.Angle += s.AngleSpeed * step;
  if (!s.Sprite) return;
  s.Sprite->SetSize(s.Width * scale, s.Height * scale);
  s.Sprite->PositionX = s.X;
  s.Sprite->PositionY = s.Y;
  s.Sprite->Rotation = s.Angle;
}

void UpdateSketches(TqvxSketchManager& manager, float seconds) {
  manager.SketchSound.clear();
  manager.StepEnded = false;
  if (manager.SketchTimer <= 0 && manager.CurrentSketch != manager.SketchCount) {
    if (!InTable(manager.CurrentSketch, static_cast<size_t>(manager.SketchCount))) return;
    TSketch& s = manager.Sketches[static_cast<size_t>(manager.CurrentSketch)];
    AnimateSketch(s, seconds);
    if (!s.Done) return;
    manager.SketchTimer = s.Hold;
    manager.SketchSound = s.Sound.empty() ? "_none" : s.Sound;
    ++manager.CurrentSketch;
    if (manager.CurrentSketch < manager.SketchCount) {
      manager.SketchTimer += manager.Sketches[static_cast<size_t>(manager.CurrentSketch)].Delay;
      ShowSketch(manager, manager.CurrentSketch);
    }
    return;
  }
  manager.SketchTimer -= seconds;
  if (manager.SketchTimer <= 0) {
    manager.StepEnded = true;
    manager.SketchTimer = 0;
    if (manager.CurrentSketch >= manager.SketchCount) manager.CurrentSketch = -1;
  }
}

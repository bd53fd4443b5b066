#include "effects/panels.h"

#include <cmath>

#include "effects/sketches.h"
#include "render/materials.h"

namespace {

constexpr float kScreenWidth = 800;

THUDSprite* Picture(TqvxGameLayer& layer, int32_t i) {
  return InTable(i, layer.Pictures.size()) ? layer.Pictures[static_cast<size_t>(i)] : nullptr;
}

bool SlideShown(TqvxGameLayer& layer) {
  const THUDSprite* slide = Picture(layer, layer.SlideIndex);
  return slide && slide->Visible;
}

void ShowSlide(TqvxGameLayer& layer) {
  if (THUDSprite* slide = Picture(layer, layer.SlideIndex)) slide->Visible = true;
}

void SetMaterialAlpha(THUDSprite& sprite, float alpha) {
  if (TGLLibMaterial* m = sprite.ResolvedMaterial()) m->Diffuse[3] = alpha;
}

void Slide(TqvxGameLayer& layer, float step) {
  THUDSprite& slide = *Picture(layer, layer.SlideIndex);
  if (layer.Closing) {
    layer.Progress -= step;
    if (!(layer.Progress > 0)) {
      layer.Progress = 0;
      layer.JustClosed = true;
      slide.Visible = false;
      if (THUDSprite* edge = Picture(layer, layer.EdgeIndex)) {
        edge->PositionX = 400;
        edge->Width = kScreenWidth;
      }
      if (THUDSprite* a = Picture(layer, layer.FollowerA)) a->PositionX = layer.FollowerAX;
      if (THUDSprite* b = Picture(layer, layer.FollowerB)) b->PositionX = layer.FollowerBX;
    }
  } else {
    layer.Progress += step;
    if (layer.Progress >= 1) {
      layer.Progress = 1;
      layer.Running = false;
    }
  }
  slide.Width = layer.SlideWidth * layer.Progress;
  slide.PositionX = slide.Width / 2;
  // The texture is cut rather than squeezed, so the picture is revealed.
  if (layer.Library && InTable(layer.SlideMaterial, static_cast<size_t>(layer.Library->Count())))
    layer.Library->At(layer.SlideMaterial).TextureScale[0] = layer.SlideTexScale * layer.Progress;
  if (THUDSprite* counter = Picture(layer, layer.CounterIndex)) counter->PositionX = slide.PositionX + slide.Width / 2;
  THUDSprite* edge = Picture(layer, layer.EdgeIndex);
  if (edge && edge->Visible) {
    edge->Width = kScreenWidth - layer.SlideWidth * layer.Progress;
    edge->PositionX = kScreenWidth - edge->Width / 2;
  }
  if (THUDSprite* a = Picture(layer, layer.FollowerA)) a->PositionX = kScreenWidth * layer.Progress + layer.FollowerAX;
  if (THUDSprite* b = Picture(layer, layer.FollowerB)) b->PositionX = kScreenWidth * layer.Progress + layer.FollowerBX;
}

void FadeEdge(TqvxGameLayer& layer, float step) {
  THUDSprite& edge = *Picture(layer, layer.EdgeIndex);
  layer.EdgeAlpha -= step;
  if (layer.Instant) layer.EdgeAlpha = -1;
  if (!(layer.EdgeAlpha > 0)) {
    edge.Visible = false;
    layer.Running = false;
  } else {
    SetMaterialAlpha(edge, layer.EdgeAlpha);
  }
}

}  // namespace

void InitPanelLayer(TqvxGameLayer& layer, TDummyCube& parent, TGLMaterialLibrary* library) {
  layer = TqvxGameLayer{};
  layer.Library = library;
  layer.Parent = parent.AddNewChild<TDummyCube>();
}

int32_t AddPanelPicture(TqvxGameLayer& layer, const std::string& name, float x, float y, float width, float height) {
  if (!layer.Parent) return -1;
  THUDSprite* s = layer.Parent->AddNewChild<THUDSprite>();
  s->SetMaterial(layer.Library, name);
  s->PositionX = x;
  s->PositionY = y;
  s->SetSize(width, height);
  layer.Pictures.push_back(s);
  return static_cast<int32_t>(layer.Pictures.size()) - 1;
}

void SetSlidingPicture(TqvxGameLayer& layer, int32_t i) {
  THUDSprite* s = Picture(layer, i);
  if (!s) return;
  if (layer.Library) {
    const int m = layer.Library->IndexOf(s->LibMaterialName());
    if (m >= 0) {
      layer.SlideMaterial = m;
      layer.SlideTexScale = layer.Library->At(m).TextureScale[0];
    }
  }
  layer.SlideWidth = s->Width;
  layer.SlideIndex = i;
  s->Visible = false;
  s->Width = 0;
}

void SetCounterPicture(TqvxGameLayer& layer, int32_t i) {
  if (THUDSprite* s = Picture(layer, i)) {
    layer.CounterIndex = i;
    s->Visible = false;
  }
}

void SetEdgePicture(TqvxGameLayer& layer, int32_t i) {
  if (THUDSprite* s = Picture(layer, i)) {
    layer.EdgeIndex = i;
    s->Visible = false;
  }
}

void SetFollowerA(TqvxGameLayer& layer, int32_t i) {
  if (THUDSprite* s = Picture(layer, i)) {
    layer.FollowerA = i;
    layer.FollowerAX = s->PositionX;
  }
}

void SetFollowerB(TqvxGameLayer& layer, int32_t i) {
  if (THUDSprite* s = Picture(layer, i)) {
    layer.FollowerB = i;
    layer.FollowerBX = s->PositionX;
  }
}

void OpenPanel(TqvxGameLayer& layer) {
  if (!Picture(layer, layer.SlideIndex)) return;
  layer.Running = true;
  layer.Closing = false;
  layer.Progress = 0;
  ShowSlide(layer);
}

void OpenPanelAtOnce(TqvxGameLayer& layer) {
  if (!Picture(layer, layer.SlideIndex)) return;
  layer.Running = true;
  layer.Closing = false;
  layer.Progress = 1;
  ShowSlide(layer);
  UpdatePanel(layer, 0.1f);
}

void ClosePanel(TqvxGameLayer& layer) {
  if (!Picture(layer, layer.SlideIndex)) return;
  layer.Running = true;
  layer.Closing = true;
  layer.Progress = 1;
  ShowSlide(layer);
  if (THUDSprite* edge = Picture(layer, layer.EdgeIndex)) {
    edge->Visible = true;
    edge->Width = 0;
    SetMaterialAlpha(*edge, 1);
    layer.EdgeAlpha = 1;
  }
}

bool UpdatePanel(TqvxGameLayer& layer, float seconds) {
  const float step = 2 * seconds;
  if (layer.Running) {
    if (SlideShown(layer)) {
      Slide(layer, step);
    } else if (Picture(layer, layer.EdgeIndex) && layer.EdgeAlpha > 0) {
      FadeEdge(layer, step);
    }
  }
  if (THUDSprite* counter = Picture(layer, layer.CounterIndex)) {
    if (layer.Running) {
      const std::string name = CounterPictureName(layer.Progress);
      if (counter->LibMaterialName() != name) counter->SetLibMaterialName(name);
    }
    counter->Visible = layer.Running && SlideShown(layer);
  }
  return layer.Running;
}

std::string CounterPictureName(float progress) {
  // nearbyint rounds halves to even in the default rounding mode.
  float n = std::nearbyint(progress * 9) + 1;
  n = n < 1 ? 1 : (n > 10 ? 10 : n);
  const int k = static_cast<int>(n);
  return k < 10 ? "locpa_0" + std::to_string(k) : "locpa_10";
}

void BuildSketchPanel(TqvxScene& scene) {
  TqvxGameLayer& layer = scene.PanelLayers[1];
  if (!layer.Parent) return;
  AddPanelPicture(layer, "mbl_bgr2", 512, 12, 1024, 64);
  AddPanelPicture(layer, "mbl_bgr3", 512, 588, 1024, 64);
  SetSlidingPicture(layer, AddPanelPicture(layer, "mbl_bgr1", 400, 300, 800, 512));
  SetFollowerA(layer, AddPanelPicture(layer, "mbl_shad_01", 382, 18, 836, 52));
  SetFollowerB(layer, AddPanelPicture(layer, "mbl_shad_02", 382, 582, 836, 52));
  InitSketches(scene.Sketches, *layer.Parent, scene.LocationLibrary.get());
  SetEdgePicture(layer, AddPanelPicture(layer, "absblack", 800, 300, 128, 512));
  SetCounterPicture(layer, AddPanelPicture(layer, "locpa_01", 800, 300, 153, 610));
  layer.Parent->Visible = false;
}

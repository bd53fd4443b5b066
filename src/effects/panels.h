// Panel layers: a group of screen sprites whose sliding picture opens from
// the screen's left edge in 0.5 s and closes again, with a ten-step counter
// picture riding the edge, an edge picture covering the rest of the screen
// that fades after a close, and two followers travelling with the slide.
// Layer 0 is filled by scripts; layer 1 is the sketch panel. Positions are
// screen pixels, sprite centres.
#pragma once

#include <cstdint>
#include <string>

#include "render/nodes.h"
#include "state/scene_state.h"

void InitPanelLayer(TqvxGameLayer& layer, TDummyCube& parent, TGLMaterialLibrary* library);
// Appends a picture under the layer's parent; its index, or -1 when the layer
// has no parent.
int32_t AddPanelPicture(TqvxGameLayer& layer, const std::string& name, float x, float y, float width, float height);
void SetSlidingPicture(TqvxGameLayer& layer, int32_t i);
void SetCounterPicture(TqvxGameLayer& layer, int32_t i);
void SetEdgePicture(TqvxGameLayer& layer, int32_t i);
void SetFollowerA(TqvxGameLayer& layer, int32_t i);
void SetFollowerB(TqvxGameLayer& layer, int32_t i);
void OpenPanel(TqvxGameLayer& layer);
void OpenPanelAtOnce(TqvxGameLayer& layer);
void ClosePanel(TqvxGameLayer& layer);
// The frame's step; returns Running.
bool UpdatePanel(TqvxGameLayer& layer, float seconds);
// The counter picture for a progress: "locpa_01" closed .. "locpa_10" open.
std::string CounterPictureName(float progress);
// Fills layer 1 with the sketch panel's pictures and the sketch sprites, then
// hides the layer.
void BuildSketchPanel(TqvxScene& scene);

// Sketch sequences: up to 16 pictures of the location archive shown one after
// the other in the sketch panel (panel layer 1), each zooming down to its own
// size while it drifts and turns, then holding for its time plus the length
// of its voiced line. The scene's frame step drives the manager (the panel,
// the sounds, the next location); here is the manager's own clockwork.
#pragma once

#include <string>

#include "effects/sketch_file.h"
#include "render/nodes.h"
#include "state/scene_state.h"

// Creates the 16 hidden sketch sprites under `parent`.
void InitSketches(TqvxSketchManager& manager, TDummyCube& parent, TGLMaterialLibrary* library);
void SetSketchLibrary(TqvxSketchManager& manager, TGLMaterialLibrary* library);
// Reads a sketch file (a game path). A missing file throws the open error and
// a count the file cannot hold is refused with EGameError; either way the
// manager then holds no sketches. At most 16 sketches are kept.
void LoadSketches(TqvxSketchManager& manager, const std::string& fileName);
// Takes the first 16 records and the next location of a file read.
void SetSketches(TqvxSketchManager& manager, const TSketchFile& file);
void StartSketches(TqvxSketchManager& manager);
void ShowSketch(TqvxSketchManager& manager, int32_t i);
void HideSketches(TqvxSketchManager& manager);
void AnimateSketch(TSketch& sketch, float seconds);
void UpdateSketches(TqvxSketchManager& manager, float seconds);

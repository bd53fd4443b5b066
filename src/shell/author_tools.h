// What authors use to try their content: a trace of every script instruction
// the game runs, and starting straight in one location.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "render/gl_renderer.h"
#include "state/scene_state.h"

// The trace file: one line per instruction a run executes, before it does,
//   FRAME TABLE FUNCTION "NAME" FLAG INSTRUCTION
// TABLE "location", "global" or "addloc:N"; FLAG the condition flag the
// instruction meets (1: scripts execute); INSTRUCTION as the disassembler
// writes it. `frame` is read at each line.
class TScriptTrace {
 public:
  // Throws std::runtime_error naming the file when it cannot be created.
  TScriptTrace(const std::string& file, const int64_t& frame);
  void Install(TqvxScene& scene);
  void Line(const TqvxScene& scene, const TScriptLevel& level, const TScriptInstruction& ins);

 private:
  struct TCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, TCloser> file_;
  const int64_t& frame_;
};

// The outlines the Tab key shows: every region (enabled ones gold, disabled
// ones grey) and every object's hot spots (cyan), fading out in the last
// half second.
std::vector<TOutline> HotZoneOutlines(const TqvxScene& scene);

// After the start location has run: the menu (if it opened) closes and the
// game goes at once to location `name` as a script's change would.
void StartInLocation(TqvxScene& scene, const std::string& name);

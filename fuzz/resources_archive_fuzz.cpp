// Feeds arbitrary bytes to the archive reader, then fills a material library
// and converts every picture to its texture, as the game would.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/game_error.h"
#include "platform/stream.h"
#include "render/materials.h"
#include "resources/matlib.h"
#include "render/texture_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TBinaryReader in(std::span<const uint8_t>(data, size), "fuzz.wgw");
  TqvxMatLib lib;
  try {
    MatLibRead(lib, in);
  } catch (const EGameError&) {
    // Entries read before the error stay and are filled like the others.
  }
  TGLMaterialLibrary library;
  MatLibFill(lib, library);
  for (int i = 0; i < library.Count(); ++i) {
    TGLLibMaterial& m = library.At(i);
    m.ImageAlpha = static_cast<TImageAlpha>(i % 8);
    MakeTextureImage(m);
  }
  MatLibAnimate(lib, library, 0.05f);
  return 0;
}

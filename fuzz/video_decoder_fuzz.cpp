// Feeds arbitrary bytes to the video decoder as a file: open, read every
// packet, convert every picture and take the sound, as the player would.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/video_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TVideoDecoder decoder;
  std::string error;
  if (!decoder.OpenMemory(std::span<const uint8_t>(data, size), error)) return 0;
  std::vector<uint8_t> picture;
  // Bytes can only hold so many packets; the bound keeps a decoder that
  // makes pictures from nothing from running on.
  for (int packets = 0; packets < 2000 && !decoder.Finished(); ++packets) {
    decoder.ReadPacket();
    while (decoder.QueuedPictures() > 0) decoder.TakePicture(picture);
    decoder.Sound().clear();
  }
  return 0;
}

// Voiced comments: the comment table and the subtitle of the line under way.
// A line counts as spoken (SubtitleShown) whether or not subtitles are on, so
// that a right click can end its wait either way.
#include <cstdio>

#include "platform/game_error.h"
#include "platform/paths.h"
#include "render/hud_string.h"
#include "sound/sound_library.h"
#include "sound/sound_manager.h"
#include "sound/sound_set_file.h"

namespace {

constexpr int32_t kSubtitleWidth = 640;
constexpr int32_t kTalkFrame = 4;

}  // namespace

void LoadComments(TqvxScene& scene, const std::string& name) {
  const std::string path = "SFX\\Comments\\" + name;
  scene.Sound.Comments.clear();
  try {
    scene.Sound.Comments = ReadComments(ReadGameFile(path), path);
  } catch (const EGameError& e) {
    std::fprintf(stderr, "ovgame: warning: %s; the spoken lines have no subtitles\n", e.what());
  }
}

std::string CommentText(const TqvxScene& scene, int32_t number) {
  // Number 0 means no comment; numbers past the table are ignored.
  if (number <= 0 || !InTable(number, scene.Sound.Comments.size())) return {};
  return scene.Sound.Comments[size_t(number)];
}

void ShowSubtitle(TqvxScene& scene, int32_t sampleHandle, const std::string& text) {
  if (scene.SubTitles) {
    scene.Sound.SubtitleSample = sampleHandle;
    if (scene.Subtitle) SetTextWrapped(*scene.Subtitle, text, kSubtitleWidth);
    if (scene.SubPanel) scene.SubPanel->Visible = !text.empty();
  }
  scene.SubtitleShown = true;
}

void HideSubtitle(TqvxScene& scene) {
  SampleStop(scene.Sound.SubtitleSample);
  if (scene.Subtitle) SetText(*scene.Subtitle, "");
  if (scene.SubPanel) scene.SubPanel->Visible = false;
  scene.SubtitleShown = false;
  scene.WaitTime = -1;
}

void StartHeroTalking(TqvxScene& scene) {
  scene.HeroTalking = true;
  if (scene.HeroFrameHook) scene.HeroFrameHook(scene, scene.StandFrames[kTalkFrame]);
  if (ValidObject(scene, scene.HeroIndex)) scene.Objects[size_t(scene.HeroIndex)].Animated = true;
}

void SpeakSample(TqvxScene& scene, int32_t sample, bool talk) {
  if (sample < 0 || !InTable(sample, scene.Sound.Samples.size())) return;
  scene.WaitTime = static_cast<float>(SampleLength(scene, sample)) / 1000.0f;
  const TSoundSample& s = scene.Sound.Samples[size_t(sample)];
  if (s.Comment > 0 && s.Comment < kCommentCount) ShowSubtitle(scene, s.Handle, CommentText(scene, s.Comment));
  if (talk) StartHeroTalking(scene);
}

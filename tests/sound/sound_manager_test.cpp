// The sound manager on a scene record over the real library on the frame
// clock: sound-set files and their text, slots and their levels, sequences
// remembered per set, the music's fades and groups, and the save sections.
#include "sound/sound_manager.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/game_error.h"
#include "sound/sound_library.h"
#include "sound/sound_set_file.h"
#include "sound/sound_set_text.h"
#include "support/sound_game.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& source) { return WriteSoundSetData(ParseSoundSetText(source, "t")); }

TSoundSetData Read(const std::vector<uint8_t>& bytes) {
  TBinaryReader in(bytes, "SFX\\broken.set");
  TSoundSetData d;
  ReadSoundSetData(in, d);
  return d;
}

void PutInt(std::vector<uint8_t>& b, size_t at, int32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = static_cast<uint8_t>(uint32_t(v) >> (8 * i));
}

}  // namespace

TEST(SoundSetFile, SourceAndBinaryRoundTripAndDamageIsRefusedNamingTheFile) {
  const std::string source =
      "unused 7 -3\n"
      "sample name=\"вода\" file=\"water.ogg\" loop=1 comment=0\n"
      "sample name=\"q\\\"\\x01\" file=\"a.ogg\" loop=0 comment=2047\n"
      "sequence name=\"hello\" loop=1 items=1,0,5\n"
      "sequence name=\"none\" loop=0 items=\n";
  const std::vector<uint8_t> bytes = Bytes(source);
  ASSERT_EQ(bytes.size(), 12u + 2 * 71 + 4 + 38 + 3 * 4 + 38);
  EXPECT_EQ(Bytes(FormatSoundSetText(Read(bytes))), bytes);
  EXPECT_EQ(Read(bytes).Sequences[0].Items, (std::vector<int32_t>{1, 0, 5}));

  struct Case {
    const char* what;
    size_t at;  // where the count goes; past the end: the file is cut there
    int32_t value;
  };
  const size_t sequences = 12 + 2 * 71;
  const Case cases[] = {
      {"header cut", 6, 0},
      {"negative sample count", 8, -1},
      {"sample count past the end", 8, 1000000000},
      {"cut inside a sample", 100, 0},
      {"negative sequence count", sequences, -5},
      {"sequence count past the end", sequences, 3},
      {"item count past the end", sequences + 4 + 33, 100},
      {"cut inside the items", sequences + 4 + 38 + 5, 0},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> damaged = bytes;
    if (c.value == 0) damaged.resize(c.at);
    else PutInt(damaged, c.at, c.value);
    try {
      Read(damaged);
      ADD_FAILURE() << c.what << " was read";
    } catch (const EGameError& e) {
      EXPECT_NE(std::string(e.what()).find("SFX\\broken.set"), std::string::npos) << c.what << ": " << e.what();
    }
  }
  for (const char* bad : {"sample name=\"a\" colour=1\n", "sequence items=1,x\n", "noise\n", "sample name=\"a\n"})
    EXPECT_THROW(ParseSoundSetText(bad, "t"), EGameError) << bad;
}

TEST(SoundSetFile, CommentTableIsExactlyItsSize) {
  std::vector<std::string> texts(3);
  texts[1] = "Hello";
  texts[2] = std::string(300, 'x');
  const std::vector<uint8_t> bytes = WriteComments(texts);
  const std::vector<std::string> read = ReadComments(bytes, "c.dat");
  EXPECT_EQ(read.size(), size_t(kCommentCount));
  EXPECT_EQ(read[1], "Hello");
  EXPECT_EQ(read[2].size(), 255u);
  EXPECT_THROW(ReadComments(std::span(bytes).first(bytes.size() - 1), "c.dat"), EGameError);
}

class SoundManager : public testing::Test {
 protected:
  void SetUp() override {
    SoundInit(TAudioOutput::FrameClock);
    WriteTone(game_, "a.wav", 100);
    WriteTone(game_, "b.wav", 200);
    WriteTone(game_, "c.wav", 300);
    WriteTone(game_, "long.wav", 5000);
    WriteSoundSet(game_, "lake.set",
                  "sample name=\"a\" file=\"a.wav\" loop=0 comment=1\n"
                  "sample name=\"b\" file=\"b.wav\" loop=0 comment=0\n"
                  "sample name=\"c\" file=\"c.wav\" loop=0 comment=3\n"
                  "sample name=\"water\" file=\"long.wav\" loop=1 comment=0\n"
                  "sequence name=\"once\" loop=0 items=0,1,2\n"
                  "sequence name=\"again\" loop=1 items=0,1\n");
    WriteSoundSet(game_, "forest.set", "sample name=\"b\" file=\"b.wav\" loop=0 comment=0\n");
    WriteCommentTable(game_, {{1, "First"}, {3, "Third"}});
    std::filesystem::current_path(game_.Dir());
    InitSound(scene_);
    LoadSoundSet(scene_, "SFX\\lake.set");
  }
  void TearDown() override {
    std::filesystem::current_path(home_);
    SoundShutdown();
  }
  const TSoundSlot& Slot(int i) const { return scene_.Sound.ChannelSlots[i]; }
  int32_t Sample(const char* name) const { return FindSample(scene_, name); }

  std::filesystem::path home_ = std::filesystem::current_path();
  TTestGameDir game_{"sound_manager"};
  TqvxScene scene_;
};

TEST_F(SoundManager, PositionalAndTimeOfDayLevels) {
  scene_.Sound.SoundVolume = 70;
  struct Case {
    float listenerX, listenerY;
    int volume, pan;  // the pan stays as it was beyond the radius
  };
  // A source at (400, 300) with radius 200.
  const Case positional[] = {
      {500, 300, 35, 45},  // half the radius to the right: heard on the left
      {900, 300, 0, 45},   // beyond the radius
      {350, 300, 52, 52},  // a quarter: 52.5 both, halves to even
      {400, 500, 0, 52},   // exactly at the radius
      {3e38f, 300, 0, 52},  // further than any int32 of distance (a damaged save's listener)
      {400, 300, 70, 50},
  };
  PlayPositional(scene_, Sample("water"), 400, 300, 200);
  EXPECT_EQ(ChannelGetVolume(Slot(0).Channel), 0) << "silent until the listener is known";
  for (const Case& c : positional) {
    UpdateListener(scene_, c.listenerX, c.listenerY);
    EXPECT_EQ(ChannelGetVolume(Slot(0).Channel), c.volume) << c.listenerX << "," << c.listenerY;
    EXPECT_EQ(Slot(0).Pan, c.pan) << c.listenerX << "," << c.listenerY;
  }
  struct DayCase {
    bool inverse;
    int level, volume;
  };
  const DayCase daytimed[] = {{true, 25, 52}, {false, 25, 18}, {true, 150, 0}, {false, 100, 70}, {false, -4, 0}};
  for (const DayCase& c : daytimed) {
    PlayDayTimed(scene_, Sample("water"), c.inverse);
    EXPECT_EQ(ChannelGetVolume(Slot(1).Channel), 0);
    UpdateDayTimed(scene_, c.level);
    EXPECT_EQ(ChannelGetVolume(Slot(1).Channel), c.volume) << c.inverse << " " << c.level;
    EXPECT_EQ(ChannelGetVolume(Slot(0).Channel), 70) << "the positional sound is not day-timed";
    ChannelStop(Slot(1).Channel);
  }
}

TEST_F(SoundManager, EightSlotsAndTheNinthSoundIsDropped) {
  for (int i = 0; i < 9; ++i) PlaySample(scene_, Sample("water"));
  int playing = 0;
  for (int i = 0; i < kSoundSlots; ++i) playing += ChannelStatus(Slot(i).Channel) == 1;
  EXPECT_EQ(playing, 8);
  const int32_t third = Slot(2).Channel;
  ChannelStop(third);
  PlaySample(scene_, Sample("a"));
  EXPECT_NE(Slot(2).Channel, third) << "a stopped slot is free again";
  EXPECT_EQ(Slot(2).Sample, Sample("a"));
  PauseAll(scene_, true);
  EXPECT_EQ(ChannelStatus(Slot(5).Channel), 2);
  StopAll(scene_);
  EXPECT_EQ(ChannelStatus(Slot(5).Channel), 0);
  PlaySample(scene_, -1);
  PlaySample(scene_, 99);
  EXPECT_EQ(ChannelStatus(Slot(0).Channel), 0) << "bad indices play nothing";
}

TEST_F(SoundManager, SequencesPlayInTurnAndKeepTheirPlacePerSet) {
  const int32_t once = FindSequence(scene_, "once"), again = FindSequence(scene_, "again");
  EXPECT_EQ(SequenceNextComment(scene_, once), "First");
  std::vector<int32_t> lengths;
  for (int i = 0; i < 4; ++i) {
    lengths.push_back(PlaySequenceNext(scene_, once));
    EXPECT_EQ(SequenceHasMore(scene_.Sound, "once"), i < 2) << i;
    StopAll(scene_);
  }
  EXPECT_EQ(lengths, (std::vector<int32_t>{100, 200, 300, 0}));
  EXPECT_EQ(SequenceNextHandle(scene_, once), 0);
  for (int32_t expected : {100, 200, 100}) EXPECT_EQ(PlaySequenceNext(scene_, again), expected);
  StopAll(scene_);
  EXPECT_EQ(SequenceNextComment(scene_, again), "") << "sample b has no comment";

  const int32_t handle = scene_.Sound.Samples[0].Handle;
  LoadSoundSet(scene_, "SFX\\lake.set");
  EXPECT_EQ(scene_.Sound.Samples[0].Handle, handle) << "the loaded set is not read again";
  LoadSoundSet(scene_, "SFX\\forest.set");
  EXPECT_FALSE(SequenceHasMore(scene_.Sound, "once")) << "found among the stored positions";
  EXPECT_TRUE(SequenceHasMore(scene_.Sound, "again"));
  EXPECT_FALSE(SequenceHasMore(scene_.Sound, "nowhere"));
  LoadSoundSet(scene_, "SFX\\lake.set");
  EXPECT_EQ(PlaySequenceNext(scene_, once), 0);
  EXPECT_EQ(PlaySequenceNext(scene_, again), 200) << "continues where it stopped";

  game_.WriteFile("SFX/bad.set", "\x01\0\0\0");
  EXPECT_THROW(LoadSoundSet(scene_, "SFX\\bad.set"), EGameError);
  EXPECT_THROW(LoadSoundSet(scene_, "SFX\\missing.set"), EGameError);
  EXPECT_EQ(scene_.Sound.SoundSetName, "SFX\\lake.set") << "the previous set stays";
  EXPECT_EQ(SampleLength(scene_, Sample("c")), 300);
}

TEST_F(SoundManager, MusicCrossFadesAndCyclesItsGroupFromARandomStart) {
  TqvxBackMusic& m = scene_.Sound.BackMusic;
  m.MusicVolume = 70;
  for (const char* t : {"long.wav", "long.wav", "a.wav"}) AddTrack(scene_, t);
  AddMusicGroup(scene_, "lake");
  AddMusicGroup(scene_, "empty");
  AddMusicGroup(scene_, "lake");
  ASSERT_EQ(m.Groups.size(), 2u);
  for (int t : {0, 1, 2}) AddToGroup(scene_, "lake", t);

  SeedRandom(scene_, 12345);
  TqvxScene copy;
  copy.RandomState = scene_.RandomState;
  const int32_t first = (Random(copy, 3) + 1) % 3;
  PlayGroup(scene_, FindMusicGroup(scene_, "lake"));
  EXPECT_EQ(m.Groups[0].Position, first) << "the item after the random position";
  EXPECT_EQ(m.CurrentVoice, 0);
  UpdateMusic(scene_, 1.0f);
  EXPECT_EQ(ChannelGetVolume(m.Channels[0]), 35) << "level 0.5 of volume 70";
  NextTrack(scene_);
  EXPECT_EQ(m.Groups[0].Position, (first + 1) % 3);
  EXPECT_EQ(m.CurrentVoice, 1);
  UpdateMusic(scene_, 0.5f);
  EXPECT_FLOAT_EQ(m.Levels[0], 0.25f) << "the old voice falls at the rate the new one rises";
  EXPECT_FLOAT_EQ(m.Levels[1], 0.25f);
  UpdateMusic(scene_, 1.0f);
  EXPECT_EQ(ChannelStatus(m.Channels[0]), 0) << "faded out and stopped";

  // Track 2 (a.wav) is shorter than four seconds: the next starts once its
  // voice is at full level.
  while (m.Groups[0].Items[size_t(m.Groups[0].Position)] != 2) NextTrack(scene_);
  const int32_t voice = m.CurrentVoice;
  for (int i = 0; i < 45 && m.Levels[voice] < 1; ++i) UpdateMusic(scene_, 0.05f);
  EXPECT_EQ(m.CurrentVoice, voice);
  UpdateMusic(scene_, 0.05f);
  EXPECT_NE(m.CurrentVoice, voice);

  PlayGroup(scene_, FindMusicGroup(scene_, "empty"));
  EXPECT_EQ(m.CurrentVoice, -1);
  EXPECT_TRUE(m.FadingOut[0] && m.FadingOut[1]);
  PlayGroup(scene_, 7);
  EXPECT_EQ(m.CurrentGroup, 1) << "a group that does not exist only fades out";
}

TEST_F(SoundManager, SaveSectionsRoundTrip) {
  PlaySample(scene_, Sample("water"));
  PlayPositional(scene_, Sample("water"), 10, 20, 30);
  PlaySample(scene_, Sample("c"));
  ChannelSetVolume(Slot(0).Channel, 40);
  PlaySequenceNext(scene_, FindSequence(scene_, "once"));
  SoundAdvance(0.05);
  ChannelPause(Slot(2).Channel, true);
  TBinaryWriter saved;
  SaveGroups(scene_, saved);
  SaveChannels(scene_, saved);
  EXPECT_EQ(saved.Size(), 4 + 65 + 4 + (33 + 4 + 1 + 12 + 4) + (33 + 4 + 1 + 8 + 4) + 8 * 39u);

  StopAll(scene_);
  ResetSequences(scene_);
  TBinaryReader in(saved.Bytes(), "quick.save");
  LoadGroups(scene_, in);
  LoadChannels(scene_, in);
  EXPECT_EQ(scene_.Sound.Sequences[0].Position, 1);
  EXPECT_EQ(ChannelStatus(Slot(2).Channel), 1) << "a paused sound comes back playing";
  EXPECT_EQ(ChannelGetVolume(Slot(0).Channel), 40);
  EXPECT_NEAR(ChannelGetPlayPositionMs(Slot(0).Channel), 50, 1);
  EXPECT_TRUE(Slot(1).Positional);
  ChannelPause(Slot(2).Channel, true);
  TBinaryWriter again;
  SaveGroups(scene_, again);
  SaveChannels(scene_, again);
  EXPECT_EQ(again.Bytes(), saved.Bytes());

  std::vector<uint8_t> damaged = saved.Bytes();
  PutInt(damaged, 0, 1000000);
  TBinaryReader bad(damaged, "quick.save");
  EXPECT_THROW(LoadGroups(scene_, bad), EGameError);
}

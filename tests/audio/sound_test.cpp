// Effects and music through real OpenAL Soft (its silent null driver): what starts, how the
// queues are fed, what stops, and how bad entries and a missing device are survived.
#include <gtest/gtest.h>

#include "audio_support.h"

namespace {

const uint32_t Chunk = Sound_chunk_bytes;

std::string Silence(size_t bytes) { return std::string(bytes, '\0'); }

sample* Find(const std::string& what, size_t index) {
  EXPECT_LT(index, sample_list.size()) << what;
  return index < sample_list.size() ? sample_list[index] : nullptr;
}

TEST_F(Audio, SwitchesDecideWhetherEffectsOrMusicStart) {
  Write_pack("music.pak", {{"button.wav", Wav(Silence(1000))},
                           {"music.wav", Wav(Silence(Chunk * 5 / 2))}});
  Open_sound("null");
  ASSERT_EQ(Sound_ptr->failed, 0);

  Sound_ptr->sound_on = 0;
  Play_sound(Sound_ptr, "music.pak", "button.wav");
  EXPECT_TRUE(sample_list.empty());
  Play_music(Sound_ptr, "music.pak", "music.wav");
  ASSERT_EQ(sample_list.size(), 1u);
  EXPECT_EQ(sample_list[0]->looping, 1);
  EXPECT_EQ(Source_int(sample_list[0]->source, AL_SOURCE_STATE), AL_PLAYING);

  Sound_ptr->sound_on = 1;
  Sound_ptr->music_on = 0;
  Play_music(Sound_ptr, "music.pak", "music.wav");
  EXPECT_EQ(sample_list.size(), 1u);
  Play_sound(Sound_ptr, "music.pak", "button.wav");
  ASSERT_EQ(sample_list.size(), 2u);
  EXPECT_EQ(sample_list[1]->looping, 0);
  EXPECT_EQ(Source_int(sample_list[1]->source, AL_SOURCE_STATE), AL_PLAYING);
}

TEST_F(Audio, StartQueuesUpToFourChunksStraightFromTheEntry) {
  Write_pack("music.pak", {{"long.wav", Wav(Silence(Chunk * 6 + 100))},
                           {"music.wav", Wav(Silence(Chunk * 5 / 2))}});
  Open_sound("null");
  Play_sound(Sound_ptr, "music.pak", "long.wav");
  Play_music(Sound_ptr, "music.pak", "music.wav");
  ASSERT_EQ(sample_list.size(), 2u);

  // No copy: the sample points into the data store's entry.
  const Raw_data& entry = Global_data["music.pak"]["long.wav"];
  sample* effect = sample_list[0];
  EXPECT_EQ(effect->wav, entry.pos);
  EXPECT_EQ(effect->pcm, entry.pos + 44);
  EXPECT_EQ(Source_int(effect->source, AL_BUFFERS_QUEUED), 4);
  EXPECT_EQ(effect->pcm_pos, 4 * Chunk);
  for (ALuint buffer : effect->buffers) EXPECT_EQ(Buffer_int(buffer, AL_SIZE), ALint(Chunk));

  // Two and a half chunks: two full buffers, one half, the fourth unused.
  sample* music = sample_list[1];
  EXPECT_EQ(Source_int(music->source, AL_BUFFERS_QUEUED), 3);
  EXPECT_EQ(music->pcm_pos, Chunk * 5 / 2);
  EXPECT_EQ(Buffer_int(music->buffers[0], AL_SIZE), ALint(Chunk));
  EXPECT_EQ(Buffer_int(music->buffers[1], AL_SIZE), ALint(Chunk));
  EXPECT_EQ(Buffer_int(music->buffers[2], AL_SIZE), ALint(Chunk / 2));
  EXPECT_EQ(Buffer_int(music->buffers[3], AL_SIZE), 0);

  // The first refill of the music starts over at byte 0; the effect goes on at chunk 5.
  ASSERT_TRUE(Update_until([&] { return music->pcm_pos != Chunk * 5 / 2; }));
  EXPECT_EQ(music->pcm_pos, Chunk);
  EXPECT_EQ(Source_int(music->source, AL_BUFFERS_QUEUED), 3);
  ASSERT_TRUE(Update_until([&] { return effect->pcm_pos != 4 * Chunk; }));
  EXPECT_EQ(effect->pcm_pos, 5 * Chunk);
  EXPECT_EQ(Source_int(effect->source, AL_BUFFERS_QUEUED), 4);
}

TEST_F(Audio, FormatFollowsBitsAndChannels) {
  struct Case {
    const char* name;
    uint16_t channels, bits;
    uint32_t rate;
    ALint al_channels;
  };
  const std::vector<Case> cases = {{"m8.wav", 1, 8, 11025, 1},  {"s8.wav", 2, 8, 22050, 2},
                                   {"m16.wav", 1, 16, 22050, 1}, {"s16.wav", 2, 16, 44100, 2},
                                   {"zero.wav", 0, 16, 22050, 2}, {"six.wav", 6, 8, 22050, 2}};
  std::vector<std::pair<std::string, std::string>> records;
  for (const Case& c : cases) records.push_back({c.name, Wav(Silence(4000), c.channels, c.rate, c.bits)});
  records.push_back({"b24.wav", Wav(Silence(4000), 1, 22050, 24)});
  records.push_back({"b12.wav", Wav(Silence(4000), 2, 22050, 12)});
  Write_pack("music.pak", records);
  Open_sound("null");

  for (const Case& c : cases) {
    Play_sound(Sound_ptr, "music.pak", c.name);
    sample* s = Find(c.name, sample_list.size() - 1);
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(Source_int(s->source, AL_BUFFERS_QUEUED), 1) << c.name;
    EXPECT_EQ(Buffer_int(s->buffers[0], AL_BITS), c.bits) << c.name;
    EXPECT_EQ(Buffer_int(s->buffers[0], AL_CHANNELS), c.al_channels) << c.name;
    EXPECT_EQ(Buffer_int(s->buffers[0], AL_FREQUENCY), ALint(c.rate)) << c.name;
    EXPECT_EQ(Buffer_int(s->buffers[0], AL_SIZE), 4000) << c.name;
  }
  Stop_sounds();

  // Other widths queue nothing; the sample goes at the next update.
  Play_sound(Sound_ptr, "music.pak", "b24.wav");
  Play_music(Sound_ptr, "music.pak", "b12.wav");
  ASSERT_EQ(sample_list.size(), 2u);
  EXPECT_EQ(Source_int(sample_list[0]->source, AL_BUFFERS_QUEUED), 0);
  EXPECT_EQ(Source_int(sample_list[1]->source, AL_BUFFERS_QUEUED), 0);
  Update_sounds();
  EXPECT_TRUE(sample_list.empty());
}

TEST_F(Audio, StopSoundsAndStopMusicEachLeaveTheOtherKindPlaying) {
  Write_pack("music.pak", {{"short.wav", Wav(Silence(2000))},
                           {"long.wav", Wav(Silence(Chunk * 8))},
                           {"music.wav", Wav(Silence(Chunk * 5 / 2))}});
  Open_sound("null");
  Play_sound(Sound_ptr, "music.pak", "long.wav");
  Play_music(Sound_ptr, "music.pak", "music.wav");
  Play_sound(Sound_ptr, "music.pak", "short.wav");  // one buffer queued, still playing
  Play_music(Sound_ptr, "music.pak", "music.wav");  // a second piece of music is allowed
  Play_sound(Sound_ptr, "music.pak", "long.wav");   // and an effect over itself
  ASSERT_EQ(sample_list.size(), 5u);
  const std::vector<sample*> started = sample_list;
  std::vector<ALuint> effect_names;
  for (sample* s : {started[0], started[2], started[4]}) {
    effect_names.push_back(s->source);
    effect_names.insert(effect_names.end(), s->buffers, s->buffers + 4);
  }
  EXPECT_EQ(Source_int(started[2]->source, AL_BUFFERS_QUEUED), 1);

  alGetError();
  Stop_sounds();
  // Only what was queued is unqueued, so OpenAL raises nothing and really frees everything.
  EXPECT_EQ(alGetError(), AL_NO_ERROR);
  for (size_t i = 0; i < effect_names.size(); ++i) {
    if (i % 5 == 0)
      EXPECT_FALSE(alIsSource(effect_names[i])) << i;
    else
      EXPECT_FALSE(alIsBuffer(effect_names[i])) << i;
  }
  ASSERT_EQ(sample_list, (std::vector<sample*>{started[1], started[3]}));
  sample* music = started[1];
  EXPECT_EQ(Source_int(music->source, AL_SOURCE_STATE), AL_PLAYING);
  ASSERT_TRUE(Update_until([&] { return music->pcm_pos != Chunk * 5 / 2; }));

  Play_sound(Sound_ptr, "music.pak", "long.wav");
  sample* effect = sample_list.back();
  const ALuint music_source = music->source;
  alGetError();
  Stop_music();
  EXPECT_EQ(alGetError(), AL_NO_ERROR);
  EXPECT_FALSE(alIsSource(music_source));
  ASSERT_EQ(sample_list, std::vector<sample*>{effect});
  EXPECT_EQ(Source_int(effect->source, AL_SOURCE_STATE), AL_PLAYING);
  ASSERT_TRUE(Update_until([&] { return effect->pcm_pos != 4 * Chunk; }));

  // Shutdown deletes what is left and closes the device.
  Close_sound_system(Sound_ptr);
  EXPECT_TRUE(sample_list.empty());
  EXPECT_EQ(Sound_ptr->device, nullptr);
  EXPECT_EQ(alcGetCurrentContext(), nullptr);
}

TEST_F(Audio, QueueThatRanDryIsRestartedWithOnlyTheNewChunk) {
  // 8-bit mono at eight times the output rate: four chunks last a third of a second.
  Write_pack("music.pak", {{"fast.wav", Wav(Silence(Chunk * 5), 1, 176400, 8)}});
  Open_sound("null");
  Play_sound(Sound_ptr, "music.pak", "fast.wav");
  ASSERT_EQ(sample_list.size(), 1u);
  sample* s = sample_list[0];
  // A frame that lasts longer than the queue: no update until the source has stopped.
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (Source_int(s->source, AL_SOURCE_STATE) == AL_PLAYING &&
         std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_EQ(Source_int(s->source, AL_SOURCE_STATE), AL_STOPPED);
  ASSERT_EQ(Source_int(s->source, AL_BUFFERS_PROCESSED), 4);

  Update_sounds();
  ASSERT_EQ(sample_list.size(), 1u);
  EXPECT_EQ(s->pcm_pos, 5 * Chunk);
  // The spent buffers are gone before the restart, so only the fifth chunk plays.
  EXPECT_EQ(Source_int(s->source, AL_BUFFERS_QUEUED), 1);
  EXPECT_EQ(Source_int(s->source, AL_SOURCE_STATE), AL_PLAYING);
  EXPECT_TRUE(Update_until([] { return sample_list.empty(); }));
}

TEST_F(Audio, DamagedOrMissingEntriesPlayOnlyWhatIsThere) {
  std::string overclaiming = Wav(Silence(Chunk + 3000));
  Put_u32(overclaiming, 4, 36 + Chunk * 10);
  std::string past_end = Wav(Silence(100));
  Put_u32(past_end, 16, 5000);
  Write_pack("music.pak", {{"short.wav", Wav(Silence(100)).substr(0, 43)},
                           {"over.wav", overclaiming},
                           {"past.wav", past_end}});
  Open_sound("null");

  testing::internal::CaptureStdout();
  Play_sound(Sound_ptr, "music.pak", "short.wav");
  Play_music(Sound_ptr, "music.pak", "nothere.wav");
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "(Get_data_from_data_store)) In pack <music.pak> data <nothere.wav> no found!\n");
  EXPECT_TRUE(sample_list.empty());

  // Only the bytes the entry holds are queued: one full chunk and the 3000 after it.
  Play_music(Sound_ptr, "music.pak", "over.wav");
  ASSERT_EQ(sample_list.size(), 1u);
  sample* music = sample_list[0];
  EXPECT_EQ(music->pcm_size, Chunk + 3000);
  EXPECT_EQ(Source_int(music->source, AL_BUFFERS_QUEUED), 2);
  EXPECT_EQ(Buffer_int(music->buffers[1], AL_SIZE), 3000);
  Stop_music();

  // PCM that would start past the end: nothing queued, gone at the next update.
  Play_sound(Sound_ptr, "music.pak", "past.wav");
  ASSERT_EQ(sample_list.size(), 1u);
  EXPECT_EQ(Source_int(sample_list[0]->source, AL_BUFFERS_QUEUED), 0);
  Update_sounds();
  EXPECT_TRUE(sample_list.empty());
}

TEST_F(Audio, WithoutADeviceEverythingStaysSilent) {
  if (Openal_used()) GTEST_SKIP() << "OpenAL read its driver list earlier in this process";
  Write_pack("music.pak", {{"button.wav", Wav(Silence(1000))}});
  testing::internal::CaptureStdout();
  Open_sound("no-such-driver");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Can't open sound device.\n");
  EXPECT_EQ(Sound_ptr->failed, 1);
  EXPECT_EQ(Sound_ptr->device, nullptr);
  EXPECT_EQ(Sound_ptr->context, nullptr);

  // Nothing starts, not even a look into the data store; the rest does nothing.
  testing::internal::CaptureStdout();
  Play_sound(Sound_ptr, "music.pak", "button.wav");
  Play_music(Sound_ptr, "music.pak", "music.wav");
  Update_sounds();
  Stop_sounds();
  Stop_music();
  Close_sound_system(Sound_ptr);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_TRUE(sample_list.empty());
  EXPECT_TRUE(Global_data.empty());
  EXPECT_EQ(Sound_ptr->failed, 1);
}

}  // namespace

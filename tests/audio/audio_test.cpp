// The WAV reader, effects and music through real OpenAL Soft, and the game's sounds as heard.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "audio/loudness.h"
#include "audio/sound.h"
#include "audio/wav.h"
#include "resources/formats.h"
#include "resources/names.h"
#include "support/heard.h"
#include "support/packs.h"

namespace {

TEST(Wav, PcmFollowsTheFormatChunkClampedToTheEntryInTheFormatAndPeakOfItsBitsAndChannels) {
  const float x16 = 30584 / 32768.0f, x8 = 8 / 128.0f;  // 0x88 bytes: 16 bits signed, 8 not
  struct Case {
    uint32_t format_size, riff_extra;  // format chunk size; RIFF size beyond the real one
    uint16_t channels, bits;
    size_t cut;  // bytes missing from the end of the entry
    long start;
    uint32_t size;
    int format;
    float peak;  // the channels of a frame summed; 0: no peak table
  } cases[] = {{16, 0, 1, 16, 0, 44, 300, Wav_format_mono16, x16},
               {18, 0, 2, 16, 0, 46, 300, Wav_format_stereo16, 2 * x16},
               {40, 0, 1, 8, 0, 68, 300, Wav_format_mono8, x8},
               {16, 0, 2, 8, 0, 44, 300, Wav_format_stereo8, 2 * x8},
               {16, 5000, 1, 16, 101, 44, 198, Wav_format_mono16, x16},  // whole frames only
               {16, 5000, 2, 8, 1, 44, 298, Wav_format_stereo8, 2 * x8},
               {16, 0, 1, 24, 0, 44, 300, 0, 0},
               {400, 0, 1, 16, 600, 428, 0, Wav_format_mono16, 0}};  // format past the end
  for (const Case& c : cases) {
    std::string wav = Wav_bytes(std::string(300, '\x88'), c.channels, 22050, c.bits);
    wav.insert(36, c.format_size - 16, '\0');
    auto* bytes = reinterpret_cast<unsigned char*>(&wav[0]);
    Write_u32(bytes + 16, c.format_size);
    Write_u32(bytes + 4, static_cast<uint32_t>(wav.size() - 8 + c.riff_extra));
    wav.resize(wav.size() - c.cut);
    wav_info info;
    ASSERT_TRUE(Read_wav_header(bytes, static_cast<uint32_t>(wav.size()), info));
    SCOPED_TRACE(testing::Message() << c.format_size << " " << c.channels << "x" << c.bits);
    EXPECT_EQ(info.pcm - bytes, std::min<long>(c.start, static_cast<long>(wav.size())));
    EXPECT_EQ(info.pcm_size, c.size);
    EXPECT_EQ(info.format, c.format);
    EXPECT_EQ(Peaks_to_end(info), std::vector<float>(c.peak > 0, c.peak));
  }
}

// The loudest a game gets, on the real clock (16 ms frames, one slow, that update the sounds
// before starting any): music under a landing; under three pieces lifted, sent home and landing
// at once, a click, the fanfare; under 60 pick-ups in a second. A mono output without limiter:
// only our gains keep it under -1 dBFS, losing no sound. First to open OpenAL in this suite.
TEST(Heard, PileUpsOfEffectsOverTheMusicStayUnderMinusOneDbfsAndEachIsHeard) {
  const std::string file = Listen("channels = mono\nfrequency = 48000\noutput-limiter = false");
  Resource_dir = SHOREBOUND_BINARY_DIR "/Resources/";
  Start_sound_system();
  const std::tuple<int, int, int, const char*> starts[] = {
      {50, 1, 1, Land_sound},     {110, 1, 3, Pick_up_sound}, {111, 1, 3, Send_home_sound},
      {112, 1, 3, Land_sound},    {113, 1, 1, Button_sound},  {118, 1, 1, Fanfare_sound},
      {220, 60, 1, Pick_up_sound}};
  std::vector<std::pair<double, std::string>> heard_at;  // (seconds into the file, sound)
  Play_music(Sound_ptr, Sound_pack, Music_sound);
  const auto begin = std::chrono::steady_clock::now();
  for (int frame = 0; frame < 330; ++frame) {
    const int slow = frame > 112 ? 100 : 0;  // the frame after the landings lasts 116 ms
    std::this_thread::sleep_until(begin + std::chrono::milliseconds(16 * frame + slow));
    Update_sounds();
    for (const auto& [first, frames, count, sound] : starts)
      for (int i = 0; frame >= first && frame < first + frames && i < count; ++i) {
        heard_at.emplace_back(Mixed_ns() / 1e9, sound);
        Play_sound(Sound_ptr, Sound_pack, sound);
      }
  }
  End_sound_system();
  const heard output = Read_heard(file);
  EXPECT_LE(Peak_and_rms_db(output).first, -1.0);
  const double music_alone = Peak_and_rms_db(output, 0.2, heard_at[0].first).second;
  EXPECT_GT(music_alone, -40) << "the music unheard, or nothing at all";
  for (const auto& [at, sound] : heard_at)
    EXPECT_GT(Peak_and_rms_db(output, at, at + 0.25).second, music_alone + 6)
        << sound << " at " << at;
}

// Runs the per-frame update until `done` holds; false after three seconds.
template <class Done>
bool Update_until(Done done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  for (; !done(); std::this_thread::sleep_for(std::chrono::milliseconds(2))) {
    if (std::chrono::steady_clock::now() > end) return false;
    Update_sounds();
  }
  return true;
}

TEST(Sound, AStartWaitsForRoomNothingStartsSwitchedOffAndMusicStartsOverAndLoops) {
  Use_temp_resources();
  // 8-bit mono at eight times the output rate: a chunk lasts 93 ms.
  const std::string music(Sound_chunk_bytes * 13 / 2, 'a');
  Write_pack("music.pak", {{"music.wav", Wav_bytes(music, 1, 176400, 8)},
                           {"button.wav", Wav_bytes(std::string(8000, '\0'), 1, 22050, 8)}});
  Start_sound_system();
  ASSERT_EQ(Sound_ptr->failed, 0);
  Play_sound(Sound_ptr, "music.pak", "button.wav");
  ASSERT_EQ(sample_list.size(), 1u);
  // A second, for which the first must play quieter, starts once the device has made it so.
  Play_sound(Sound_ptr, "music.pak", "button.wav");
  const ALuint second = sample_list[1]->source;
  ALint state = 0;
  alGetSourcei(second, AL_SOURCE_STATE, &state);
  EXPECT_EQ(state, AL_INITIAL);
  ASSERT_TRUE(Update_until(
      [&] { return alGetSourcei(second, AL_SOURCE_STATE, &state), state == AL_PLAYING; }));
  Stop_sounds();
  Play_music(Sound_ptr, "music.pak", "music.wav");
  ASSERT_EQ(sample_list.size(), 1u);
  ASSERT_TRUE(Update_until([] { return sample_list[0]->pcm_pos > 5 * Sound_chunk_bytes; }));
  Stop_music();
  Sound_ptr->music_on = Sound_ptr->sound_on = 0;
  Play_music(Sound_ptr, "music.pak", "music.wav");
  Play_sound(Sound_ptr, "music.pak", "button.wav");
  EXPECT_TRUE(sample_list.empty());
  Sound_ptr->music_on = 1;
  Play_music(Sound_ptr, "music.pak", "music.wav");
  ASSERT_EQ(sample_list.size(), 1u);
  sample* playing = sample_list[0];
  EXPECT_EQ(playing->pcm, Get_data_from_data_store("music.pak", "music.wav").pos + 44);
  EXPECT_EQ(playing->pcm_pos, 4 * Sound_chunk_bytes);  // four chunks queued from the start
  // Past the end, refills start over at byte 0 with the queue whole, whatever one update took.
  uint32_t was = playing->pcm_pos;
  ASSERT_TRUE(
      Update_until([&] { return playing->pcm_pos < std::exchange(was, playing->pcm_pos); }));
  EXPECT_EQ(playing->pcm_pos % Sound_chunk_bytes, 0u);
  ALint queued = 0;
  alGetSourcei(playing->source, AL_BUFFERS_QUEUED, &queued);
  EXPECT_EQ(queued, 4);
  End_sound_system();
}

// The grown-ups' volumes turn the music and the effects down apart, to silence at 0: they scale
// each source's own gain, under the factor that all share.
TEST(Sound, TheVolumesScaleTheMusicsAndTheEffectsGainsApart) {
  Use_temp_resources();
  Write_pack("music.pak", {{"music.wav", Wav_bytes(std::string(8000, 'a'), 1, 22050, 8)},
                           {"button.wav", Wav_bytes(std::string(8000, 'a'), 1, 22050, 8)}});
  Start_sound_system();
  for (const auto& [music, effects] : {std::pair{1.0f, 1.0f}, {0.5f, 1.0f}, {1.0f, 0.25f}, {0.0f, 0.6f}}) {
    Music_volume = music, Effect_volume = effects;
    Play_music(Sound_ptr, "music.pak", "music.wav");
    Play_sound(Sound_ptr, "music.pak", "button.wav");
    ALfloat heard[2] = {0, 0};
    for (int i = 0; i < 2; ++i) alGetSourcef(sample_list[i]->source, AL_GAIN, &heard[i]);
    EXPECT_NEAR(heard[0] * Effect_gain * effects, heard[1] * Music_gain * music, 1e-6) << music << " " << effects;
    EXPECT_GT(heard[1], 0.0f);
    Stop_music(), Stop_sounds();
  }
  Music_volume = Effect_volume = 1.0f;
  End_sound_system();
}

}  // namespace

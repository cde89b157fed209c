// The WAV reader on made-up headers, and effects and music through real OpenAL Soft.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "audio/sound.h"
#include "audio/wav.h"
#include "resources/formats.h"
#include "support/packs.h"

namespace {

TEST(Wav, PcmFollowsTheFormatChunkClampedToTheEntryInTheFormatOfItsBitsAndChannels) {
  struct Case {
    uint32_t format_size, riff_extra;  // format chunk size; RIFF size beyond the real one
    uint16_t channels, bits;
    size_t cut;  // bytes missing from the end of the entry
    long start;
    uint32_t size;
    int format;
  } cases[] = {{16, 0, 1, 16, 0, 44, 300, Wav_format_mono16},
               {18, 0, 2, 16, 0, 46, 300, Wav_format_stereo16},
               {40, 0, 1, 8, 0, 68, 300, Wav_format_mono8},
               {16, 0, 2, 8, 0, 44, 300, Wav_format_stereo8},
               {16, 5000, 1, 16, 101, 44, 198, Wav_format_mono16},  // whole frames only
               {16, 5000, 2, 8, 1, 44, 298, Wav_format_stereo8},
               {16, 0, 1, 24, 0, 44, 300, 0},
               {400, 0, 1, 16, 600, 428, 0, Wav_format_mono16}};  // format past the end
  for (const Case& c : cases) {
    std::string wav = Wav_bytes(std::string(300, 'x'), c.channels, 22050, c.bits);
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
  }
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

TEST(Sound, SwitchedOffNothingStartsAndMusicSwitchedOnAgainStartsOverAndLoops) {
  Use_temp_resources();
  // 8-bit mono at eight times the output rate: a chunk lasts 93 ms.
  const std::string music(Sound_chunk_bytes * 13 / 2, 'a');
  Write_pack("music.pak", {{"music.wav", Wav_bytes(music, 1, 176400, 8)},
                           {"button.wav", Wav_bytes(std::string(1000, 'b'), 1, 22050, 8)}});
  Start_sound_system();
  ASSERT_EQ(Sound_ptr->failed, 0);
  Play_sound(Sound_ptr, "music.pak", "button.wav");
  ASSERT_EQ(sample_list.size(), 1u);
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
  // The last half chunk queued, the next refill starts over at byte 0.
  ASSERT_TRUE(Update_until([=] { return playing->pcm_pos < 4 * Sound_chunk_bytes; }));
  EXPECT_EQ(playing->pcm_pos, Sound_chunk_bytes);
  End_sound_system();
}

}  // namespace

// What is actually heard: OpenAL Soft's wave driver writes the mixed output to a file, mono
// 16-bit at the context's 22050 Hz without dither, so the played samples can be compared
// with the PCM that was queued.
#include <gtest/gtest.h>

#include <algorithm>

#include "audio_support.h"

namespace {

// Opens the sound system on the wave driver writing to `out`.
void Open_wave_writer(const std::string& folder, const std::string& out) {
  Write_file(folder + "alsoft.conf",
             "[general]\ndrivers = wave\nchannels = mono\nsample-type = int16\ndither = false\n"
             "[wave]\nfile = " + out + "\n");
  setenv("ALSOFT_CONF", (folder + "alsoft.conf").c_str(), 1);
  Open_sound("wave");
}

// The 16-bit samples of the wave driver's file (its data chunk, up to the end of the file).
std::vector<int16_t> Played_samples(const std::string& path) {
  const std::string bytes = Read_file(path);
  auto u32 = [&](size_t at) {
    return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
           uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
  };
  std::vector<int16_t> samples;
  if (bytes.size() < 12) return samples;
  EXPECT_EQ(u32(24), 22050u) << "output rate";
  size_t at = 12;
  while (at + 8 <= bytes.size() && bytes.compare(at, 4, "data") != 0) at += 8 + u32(at + 4);
  for (at += 8; at + 2 <= bytes.size(); at += 2)
    samples.push_back(int16_t(uint16_t(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8)));
  return samples;
}

size_t First_sound(const std::vector<int16_t>& played) {
  return size_t(std::find_if(played.begin(), played.end(), [](int16_t v) { return v != 0; }) -
                played.begin());
}

class Played : public Audio {
 protected:
  void SetUp() override {
    Audio::SetUp();
    if (Openal_used()) GTEST_SKIP() << "OpenAL read its configuration earlier in this process";
    folder = Make_temp_folder() + "/";
    out = folder + "played.wav";
    Open_wave_writer(folder, out);
    ASSERT_EQ(Sound_ptr->failed, 0);
  }
  // Closes the device so that the file is complete, and reads it.
  std::vector<int16_t> Close_and_read() {
    Close_sound_system(Sound_ptr);
    return Played_samples(out);
  }
  std::string folder, out;
};

TEST_F(Played, ShortEffectPlaysOnceAndGoesAtTheFirstUpdateAfterItsBuffer) {
  const std::vector<int16_t> effect = Noise(600, 1);
  Write_pack("music.pak", {{"button.wav", Wav(Pcm16(effect))}});
  Play_sound(Sound_ptr, "music.pak", "button.wav");
  ASSERT_EQ(sample_list.size(), 1u);
  const ALuint source = sample_list[0]->source;
  EXPECT_EQ(Source_int(source, AL_BUFFERS_QUEUED), 1);

  // Until its buffer is processed the effect stays; the update after that removes it.
  bool removed_in_time = false;
  const bool gone = Update_until([&] {
    if (sample_list.empty()) return true;
    if (Source_int(source, AL_BUFFERS_PROCESSED) == 1) {
      Update_sounds();
      removed_in_time = sample_list.empty();
      return true;
    }
    return false;
  });
  ASSERT_TRUE(gone);
  EXPECT_TRUE(removed_in_time);
  // Let the device mix a little silence behind it before closing.
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
  Update_until([&] { return std::chrono::steady_clock::now() > until; });

  const std::vector<int16_t> played = Close_and_read();
  const size_t start = First_sound(played);
  ASSERT_LT(start + effect.size(), played.size()) << "the effect was not heard in full";
  EXPECT_TRUE(std::equal(effect.begin(), effect.end(), played.begin() + long(start)));
  EXPECT_TRUE(std::all_of(played.begin() + long(start + effect.size()), played.end(),
                          [](int16_t v) { return v == 0; }))
      << "something played after the effect";
}

TEST_F(Played, MusicWrapsToItsStartWithoutAGap) {
  // Two and a half chunks of 16-bit mono.
  const std::vector<int16_t> music = Noise(Sound_chunk_bytes * 5 / 4, 2);
  Write_pack("music.pak", {{"music.wav", Wav(Pcm16(music))}});
  Play_music(Sound_ptr, "music.pak", "music.wav");
  ASSERT_EQ(sample_list.size(), 1u);
  sample* s = sample_list[0];

  // Refills: byte 0 again (the wrap), then the second and the half chunk, then byte 0 and the
  // second chunk again, by which time the first pass and the first chunk of the second have
  // surely been mixed and written.
  std::vector<uint32_t> refills;
  ASSERT_TRUE(Update_until(
      [&] {
        if (refills.empty() ? s->pcm_pos != Sound_chunk_bytes * 5 / 2 : s->pcm_pos != refills.back())
          refills.push_back(s->pcm_pos);
        return refills.size() == 5;
      },
      8.0));
  const uint32_t chunk = Sound_chunk_bytes;
  EXPECT_EQ(refills, (std::vector<uint32_t>{chunk, 2 * chunk, chunk * 5 / 2, chunk, 2 * chunk}));

  const std::vector<int16_t> played = Close_and_read();
  const size_t start = First_sound(played);
  const size_t chunk_samples = chunk / 2;
  ASSERT_LE(start + music.size() + chunk_samples, played.size()) << "too little was played";
  EXPECT_TRUE(std::equal(music.begin(), music.end(), played.begin() + long(start)))
      << "the first pass differs from the PCM";
  // The last sample of the loop is followed directly by its first one.
  EXPECT_TRUE(std::equal(music.begin(), music.begin() + long(chunk_samples),
                         played.begin() + long(start + music.size())))
      << "the second pass does not follow the first without a gap";
}

}  // namespace

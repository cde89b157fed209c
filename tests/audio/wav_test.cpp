// The WAV header reader: the PCM it hands out always lies inside the entry, whatever the
// header claims.
#include <gtest/gtest.h>

#include "audio/wav.h"
#include "audio_support.h"

namespace {

const unsigned char* Bytes(const std::string& s) {
  return reinterpret_cast<const unsigned char*>(s.data());
}

// Reads `wav` as an entry of its own length; gives the PCM's offset and length.
std::pair<long, uint32_t> Pcm_of(const std::string& wav) {
  wav_info info;
  EXPECT_TRUE(Read_wav_header(Bytes(wav), static_cast<uint32_t>(wav.size()), info));
  return {static_cast<long>(info.pcm - Bytes(wav)), info.pcm_size};
}

TEST(Wav_header, EntryShorterThanTheHeaderGivesNothing) {
  const std::string wav = Wav(std::string(100, 'x'));
  wav_info info;
  EXPECT_FALSE(Read_wav_header(Bytes(wav), 0, info));
  EXPECT_FALSE(Read_wav_header(Bytes(wav), 43, info));
  EXPECT_EQ(info.pcm_size, 0u);
  EXPECT_EQ(info.format, 0);
  // The bare header (its RIFF size still claiming 100 PCM bytes) holds no PCM at all.
  EXPECT_EQ(Pcm_of(wav.substr(0, 44)), std::make_pair(44L, 0u));
}

TEST(Wav_header, PcmFollowsTheFormatChunkWhateverItsSize) {
  EXPECT_EQ(Pcm_of(Wav(std::string(300, 'x'))), std::make_pair(44L, 300u));
  // An 18-byte format chunk (with its extension size field) moves the PCM two bytes on.
  std::string wav = Wav(std::string(300, 'x'));
  wav.insert(36, 2, '\0');
  Put_u32(wav, 4, 36 + 2 + 300);
  Put_u32(wav, 16, 18);
  EXPECT_EQ(Pcm_of(wav), std::make_pair(46L, 300u));
}

TEST(Wav_header, PcmIsClampedToTheEntry) {
  // Claims 1000 PCM bytes, holds 300.
  std::string wav = Wav(std::string(300, 'x'));
  Put_u32(wav, 4, 36 + 1000);
  EXPECT_EQ(Pcm_of(wav), std::make_pair(44L, 300u));
  // The largest RIFF size: still only what is there.
  Put_u32(wav, 4, 0xffffffffu);
  EXPECT_EQ(Pcm_of(wav), std::make_pair(44L, 300u));
  // RIFF size too small for the chunks it must hold: no PCM rather than 4 GB of it.
  Put_u32(wav, 4, 16 + 19);
  EXPECT_EQ(Pcm_of(wav).second, 0u);
  Put_u32(wav, 4, 0);
  EXPECT_EQ(Pcm_of(wav).second, 0u);
  // A format chunk reaching past the end: the PCM would start outside the entry.
  Put_u32(wav, 4, 0xffffffffu);
  Put_u32(wav, 16, 400);
  EXPECT_EQ(Pcm_of(wav), std::make_pair(static_cast<long>(wav.size()), 0u));
  // Sizes at which 32-bit sums wrap around (28 + F and F + 20).
  Put_u32(wav, 16, 0xffffffffu);
  EXPECT_EQ(Pcm_of(wav), std::make_pair(static_cast<long>(wav.size()), 0u));
  Put_u32(wav, 16, 0xfffffff0u);
  Put_u32(wav, 4, 0x10u);
  EXPECT_EQ(Pcm_of(wav), std::make_pair(static_cast<long>(wav.size()), 0u));
}

TEST(Wav_header, CutOffPcmKeepsWholeFramesOnly) {
  // 301 bytes where the header promises more: 16-bit stereo frames are 4 bytes, 16-bit mono
  // 2, 8-bit mono 1.
  struct Case {
    uint16_t channels, bits;
    uint32_t expected;
  };
  for (const Case& c : {Case{2, 16, 300}, Case{1, 16, 300}, Case{2, 8, 300}, Case{1, 8, 301}}) {
    std::string wav = Wav(std::string(301, 'x'), c.channels, 22050, c.bits);
    Put_u32(wav, 4, 36 + 4000);
    EXPECT_EQ(Pcm_of(wav).second, c.expected) << c.channels << " channels, " << c.bits << " bits";
  }
}

TEST(Wav_header, OnlyEightOrSixteenBitsAndAUsableRateArePlayable) {
  const std::string pcm(64, 'x');
  wav_info info;
  struct Case {
    uint16_t channels, bits;
    uint32_t rate;
    int format;
  };
  for (const Case& c : {Case{1, 8, 22050, Wav_format_mono8}, Case{2, 8, 8000, Wav_format_stereo8},
                        Case{1, 16, 44100, Wav_format_mono16},
                        Case{2, 16, 22050, Wav_format_stereo16},
                        Case{0, 16, 22050, Wav_format_stereo16},  // not 1: stereo
                        Case{6, 8, 22050, Wav_format_stereo8}, Case{1, 24, 22050, 0},
                        Case{1, 0, 22050, 0}, Case{2, 32, 22050, 0}, Case{1, 16, 0, 0},
                        Case{1, 16, 0x80000000u, 0}}) {
    const std::string wav = Wav(pcm, c.channels, c.rate, c.bits);
    ASSERT_TRUE(Read_wav_header(Bytes(wav), static_cast<uint32_t>(wav.size()), info));
    EXPECT_EQ(info.format, c.format) << c.channels << " channels, " << c.bits << " bits, "
                                     << c.rate << " Hz";
    if (c.format != 0) {
      EXPECT_EQ(static_cast<uint32_t>(info.rate), c.rate);
    }
  }
}

}  // namespace

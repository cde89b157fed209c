// The synthesised sounds: their lengths, loudness and quiet edges, the music loop's seamless
// wrap, key and level below the effects, and the same bytes on every run.
#include "synth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

const double kPi = 3.14159265358979323846;
const double kRate = 22050;
const double kFull_scale = 32767;
const int kMinus_1_dbfs = 29204;
const int kOne_percent = 328;  // of full scale

struct Effect {
  const char* name;
  double shortest, longest;  // seconds
};
const Effect kEffects[] = {{"button.wav", 0.06, 0.09},
                           {"puzzle_up.wav", 0.15, 0.25},
                           {"puzzle_move.wav", 0.5, 0.7},
                           {"insert.wav", 0.3, 0.45},
                           {"final.wav", 2.0, 3.0}};
const char* const kMusic = "music.wav";

// The samples of a synthesised sound, made once per test process.
const std::vector<int>& Samples(const std::string& name) {
  static std::map<std::string, std::vector<int>> made;
  auto found = made.find(name);
  if (found != made.end()) return found->second;
  const std::string pcm = Synthesize_sound(name);
  std::vector<int> samples;
  for (size_t i = 0; i + 1 < pcm.size(); i += 2) {
    const auto low = static_cast<uint8_t>(pcm[i]);
    const auto high = static_cast<uint8_t>(pcm[i + 1]);
    samples.push_back(static_cast<int16_t>(static_cast<uint16_t>(low | high << 8)));
  }
  return made.emplace(name, samples).first->second;
}

int Peak(const std::vector<int>& s) {
  int peak = 0;
  for (int v : s) peak = std::max(peak, std::abs(v));
  return peak;
}

double Rms(const std::vector<int>& s, size_t from, size_t count) {
  double sum = 0;
  for (size_t i = from; i < from + count; ++i) sum += double(s[i]) * s[i];
  return std::sqrt(sum / count);
}

double Dbfs(double amplitude) { return 20 * std::log10(amplitude / kFull_scale); }

size_t Samples_in(double seconds) { return static_cast<size_t>(seconds * kRate); }

void Fft(std::vector<std::complex<double>>& a) {
  const size_t n = a.size();
  for (size_t i = 1, j = 0; i < n; ++i) {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(a[i], a[j]);
  }
  for (size_t length = 2; length <= n; length <<= 1) {
    const std::complex<double> step = std::polar(1.0, -2 * kPi / length);
    for (size_t start = 0; start < n; start += length) {
      std::complex<double> w = 1;
      for (size_t k = 0; k < length / 2; ++k, w *= step) {
        const std::complex<double> even = a[start + k], odd = w * a[start + k + length / 2];
        a[start + k] = even + odd;
        a[start + k + length / 2] = even - odd;
      }
    }
  }
}

// Power per frequency bin (bin k at k * 22050 / size Hz), summed over half-overlapping
// Hann-windowed frames of `size` samples, a power of two.
std::vector<double> Power_spectrum(const std::vector<int>& s, size_t size) {
  std::vector<double> power(size / 2 + 1, 0.0);
  std::vector<std::complex<double>> frame(size);
  for (size_t start = 0; start < s.size(); start += size / 2) {
    for (size_t i = 0; i < size; ++i) {
      const double window = 0.5 - 0.5 * std::cos(2 * kPi * i / size);
      frame[i] = start + i < s.size() ? window * s[start + i] : 0.0;
    }
    Fft(frame);
    for (size_t k = 0; k < power.size(); ++k) power[k] += std::norm(frame[k]);
  }
  return power;
}

TEST(Synth_effects, AreShortAndOfTheirOwnLength) {
  for (const Effect& effect : kEffects) {
    SCOPED_TRACE(effect.name);
    const std::string pcm = Synthesize_sound(effect.name);
    ASSERT_FALSE(pcm.empty());
    EXPECT_EQ(pcm.size() % 2, 0u);
    const double seconds = pcm.size() / 2 / kRate;
    EXPECT_GE(seconds, effect.shortest);
    EXPECT_LE(seconds, effect.longest);
  }
}

TEST(Synth_effects, AreLoudButNeverClipped) {
  int loudest = 0;
  for (const Effect& effect : kEffects) {
    SCOPED_TRACE(effect.name);
    const std::vector<int>& s = Samples(effect.name);
    const int peak = Peak(s);
    EXPECT_LE(peak, kMinus_1_dbfs);
    EXPECT_GE(Dbfs(peak), -12) << "too quiet to hear over the music";
    loudest = std::max(loudest, peak);
    // A waveform held at a limit shows flat tops: runs of samples at the peak.
    int run = 0, longest_run = 0;
    for (int v : s) {
      run = std::abs(v) == peak ? run + 1 : 0;
      longest_run = std::max(longest_run, run);
    }
    EXPECT_LT(longest_run, 3);
  }
  EXPECT_GE(Dbfs(loudest), -4);
}

TEST(Synth_effects, StartAndEndAtRest) {
  for (const Effect& effect : kEffects) {
    SCOPED_TRACE(effect.name);
    const std::vector<int>& s = Samples(effect.name);
    ASSERT_GE(s.size(), 4u);
    for (size_t i : {size_t{0}, size_t{1}, s.size() - 2, s.size() - 1}) {
      EXPECT_LE(std::abs(s[i]), kOne_percent) << "sample " << i;
    }
    // ... and rest only at the edges: each has a body loud enough to be heard.
    EXPECT_GT(Dbfs(Rms(s, 0, s.size())), -30);
  }
}

// Children's ears: the energy lies where a soft tone lives, not in hiss or sizzle above 5 kHz.
TEST(Synth_effects, AreSoftRatherThanHarsh) {
  for (const Effect& effect : kEffects) {
    SCOPED_TRACE(effect.name);
    const std::vector<double> power = Power_spectrum(Samples(effect.name), 1024);
    double total = 0, high = 0;
    for (size_t k = 1; k < power.size(); ++k) {
      total += power[k];
      if (k * kRate / 1024 > 5000) high += power[k];
    }
    ASSERT_GT(total, 0);
    EXPECT_LT(high / total, 0.01);
  }
}

TEST(Synth_sounds, HaveNoDcOffset) {
  for (const char* name :
       {"button.wav", "puzzle_up.wav", "puzzle_move.wav", "insert.wav", "final.wav", "music.wav"}) {
    SCOPED_TRACE(name);
    const std::vector<int>& s = Samples(name);
    ASSERT_FALSE(s.empty());
    double sum = 0;
    for (int v : s) sum += v;
    EXPECT_LT(std::abs(sum / s.size()), 0.002 * kFull_scale);
  }
}

TEST(Synth_sounds, AreTheSameBytesEveryTime) {
  for (const std::string& name : Synthesized_sound_names()) {
    SCOPED_TRACE(name);
    const std::string first = Synthesize_sound(name);
    EXPECT_FALSE(first.empty());
    EXPECT_TRUE(first == Synthesize_sound(name));
  }
}

TEST(Synth_sounds, NamesAreExactlyTheGameEntries) {
  std::vector<std::string> expected;
  for (const Effect& effect : kEffects) expected.push_back(effect.name);
  expected.push_back(kMusic);
  std::vector<std::string> listed = Synthesized_sound_names();
  std::sort(expected.begin(), expected.end());
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, expected);
  for (const char* unknown : {"", "music", "MUSIC.WAV", "button.wav ", " insert.wav", "final.ogg",
                              "click.wav", "music.wav/"}) {
    EXPECT_TRUE(Synthesize_sound(unknown).empty()) << '"' << unknown << '"';
  }
}

TEST(Synth_music, IsALoopOfAtLeast45Seconds) {
  const std::string pcm = Synthesize_sound(kMusic);
  EXPECT_EQ(pcm.size() % 2, 0u);
  const double seconds = pcm.size() / 2 / kRate;
  EXPECT_GE(seconds, 45);
  EXPECT_LE(seconds, 90);
}

TEST(Synth_music, IsClearlyQuieterThanTheEffectsYetPlaysThroughout) {
  const std::vector<int>& music = Samples(kMusic);
  int loudest_effect = 0;
  for (const Effect& effect : kEffects)
    loudest_effect = std::max(loudest_effect, Peak(Samples(effect.name)));
  const double music_peak = Dbfs(Peak(music));
  EXPECT_LE(music_peak, Dbfs(loudest_effect) - 6);
  EXPECT_LE(music_peak, -9);
  EXPECT_GE(music_peak, -16);
  // No second of the loop falls silent: the tune and its accompaniment never drop out.
  const size_t second = Samples_in(1);
  for (size_t start = 0; start + second <= music.size(); start += second) {
    EXPECT_GT(Dbfs(Rms(music, start, second)), -45) << "second " << start / second;
  }
}

// The end runs straight into the start: the step across the joint is like its neighbours and
// small, the joint falls at a quiet moment, and nothing was faded out to hide a click.
TEST(Synth_music, WrapsWithoutAClick) {
  const std::vector<int>& s = Samples(kMusic);
  ASSERT_GT(s.size(), Samples_in(1));
  const size_t n = s.size();
  const int jump = std::abs(s[0] - s[n - 1]);
  EXPECT_LE(jump, kOne_percent);
  EXPECT_LE(jump, 2 * std::max(std::abs(s[n - 1] - s[n - 2]), std::abs(s[1] - s[0])) + 2);
  std::vector<int> steps;
  for (size_t i = 0; i + 1 < n; ++i) steps.push_back(std::abs(s[i + 1] - s[i]));
  std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
  EXPECT_LE(jump, steps[steps.size() / 2]) << "larger than the loop's typical step";
  EXPECT_LE(std::abs(s[0]), kOne_percent);
  EXPECT_LE(std::abs(s[n - 1]), kOne_percent);

  const size_t ten_ms = Samples_in(0.01), five_ms = Samples_in(0.005);
  EXPECT_GT(Dbfs(Rms(s, 0, ten_ms)), -60);
  EXPECT_GT(Dbfs(Rms(s, n - ten_ms, ten_ms)), -60);
  EXPECT_GT(Rms(s, 0, five_ms), 0.5 * Rms(s, five_ms, five_ms)) << "faded in";
  EXPECT_GT(Rms(s, n - five_ms, five_ms), 0.5 * Rms(s, n - 2 * five_ms, five_ms)) << "faded out";
}

// The notes are those of F major: energy near the seven scale notes (B3 .. C7), almost none
// near the five others, and more on F than on D.
TEST(Synth_music, PlaysInFMajor) {
  const size_t size = 8192;
  const std::vector<double> power = Power_spectrum(Samples(kMusic), size);
  double by_pitch_class[12] = {};
  for (size_t k = 1; k < power.size(); ++k) {
    const double hz = k * kRate / size;
    if (hz < 240 || hz > 2100) continue;
    const double midi = 69 + 12 * std::log2(hz / 440);
    const long nearest = std::lround(midi);
    if (std::abs(midi - nearest) <= 0.3) by_pitch_class[nearest % 12] += power[k];
  }
  const int in_key[] = {5, 7, 9, 10, 0, 2, 4};
  const int out_of_key[] = {1, 3, 6, 8, 11};
  double weakest_in_key = by_pitch_class[5];
  for (int pc : in_key) weakest_in_key = std::min(weakest_in_key, by_pitch_class[pc]);
  for (int pc : out_of_key) {
    EXPECT_LT(by_pitch_class[pc], 0.1 * weakest_in_key) << "pitch class " << pc;
  }
  // D minor has the same notes; a major tune comes home to F.
  EXPECT_GT(by_pitch_class[5], 2 * by_pitch_class[2]);
}

}  // namespace

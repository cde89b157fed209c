// The game's sounds, synthesised: struck bell and marimba tones, gliding pops, a filtered-noise
// whoosh, and a music loop whose ringing tails are folded round so that its end runs into its
// start.
#include "synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "resources/names.h"

namespace {

const double kPi = 3.14159265358979323846;
const double kRate = Synth_rate;
// Partials above this are left out rather than folded back down as harsh aliases.
const double kHighest_partial_hz = 0.45 * kRate;

using Signal = std::vector<double>;

size_t Samples(double seconds) { return static_cast<size_t>(std::lround(seconds * kRate)); }

double Note_hz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

double Db_gain(double db) { return std::pow(10.0, db / 20.0); }

// 0 before t = 0, then up to 1 at t = length along half a cosine.
double Smooth_rise(double t, double length) {
  if (t <= 0) return 0;
  if (t >= length) return 1;
  return 0.5 - 0.5 * std::cos(kPi * t / length);
}

// White noise in -1..1 (xorshift32 from a fixed seed: the same bytes every run).
class Noise {
 public:
  explicit Noise(uint32_t seed) : state_(seed) {}
  double Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_ / 2147483647.5 - 1.0;
  }

 private:
  uint32_t state_;
};

// Sine phase that follows a changing frequency. Never wrapped, so that sin(r * phase) stays a
// smooth overtone at r times the frequency.
class Phase {
 public:
  double Advance(double hz) {
    const double now = value_;
    value_ += 2 * kPi * hz / kRate;
    return now;
  }

 private:
  double value_ = 0;
};

struct Partial {
  double ratio;  // of the note's frequency
  double level;
  double decay;  // seconds to fall to 1/e
};

// A struck tone: each partial dies away at its own rate; the note is damped out over `damp`
// seconds after `hold` seconds (or once it has all but died away, if sooner).
void Add_struck(Signal& out, double start, double hz, double level,
                const std::vector<Partial>& partials, double attack, double hold = 1e9,
                double damp = 0.08) {
  double longest = 0;
  for (const Partial& p : partials) longest = std::max(longest, p.decay);
  hold = std::min(hold, attack + 7 * longest);
  const size_t first = Samples(start);
  const size_t count = Samples(hold + damp);
  if (out.size() < first + count) out.resize(first + count, 0.0);
  for (size_t i = 0; i < count; ++i) {
    const double t = i / kRate;
    const double envelope = Smooth_rise(t, attack) * (1 - Smooth_rise(t - hold, damp));
    double value = 0;
    for (const Partial& p : partials) {
      const double partial_hz = hz * p.ratio;
      if (partial_hz > kHighest_partial_hz) continue;
      value += p.level * std::exp(-t / p.decay) * std::sin(2 * kPi * partial_hz * t);
    }
    out[first + i] += level * envelope * value;
  }
}

// Music box / celesta: a clear fundamental, soft harmonics and a brief inharmonic "ting".
std::vector<Partial> Bell(double ring) {
  return {{1, 1, ring}, {2, 0.22, ring * 0.45}, {3, 0.07, ring * 0.25}, {5.4, 0.03, 0.04}};
}
// How long a bell of this pitch rings: low ones longer.
double Bell_ring(double hz) { return std::clamp(1.2 * std::sqrt(523.0 / hz), 0.4, 1.6); }

// Wooden bar: the fundamental with the bar's tuned 4th and 10th overtones, which die fast.
std::vector<Partial> Marimba(double hz) {
  const double ring = std::clamp(0.55 * std::sqrt(440.0 / hz), 0.15, 1.0);
  return {{1, 1, ring}, {4, 0.2, ring * 0.2}, {10, 0.05, ring * 0.07}};
}

std::vector<Partial> Bass(double ring) {
  return {{1, 1, ring}, {2, 0.3, ring * 0.45}, {3, 0.08, ring * 0.25}};
}

// A warm sustained tone: two slightly detuned triangle-like waves (odd harmonics, falling
// fast) that swell in over `attack` and fade over `release` after `length` seconds.
void Add_pad(Signal& out, double start, double length, double hz, double level) {
  const double attack = 0.45, release = 0.7;
  const size_t first = Samples(start);
  const size_t count = Samples(length + release);
  if (out.size() < first + count) out.resize(first + count, 0.0);
  for (size_t i = 0; i < count; ++i) {
    const double t = i / kRate;
    const double envelope = Smooth_rise(t, attack) * (1 - Smooth_rise(t - length, release));
    double value = 0;
    for (double detune : {0.9977, 1.0023}) {
      const double w = 2 * kPi * hz * detune * t;
      value += std::sin(w) - std::sin(3 * w) / 9 + std::sin(5 * w) / 25;
    }
    out[first + i] += level * envelope * value;
  }
}

void Low_pass(Signal& s, double cutoff_hz) {
  const double a = 1 - std::exp(-2 * kPi * cutoff_hz / kRate);
  double y = 0;
  for (double& x : s) {
    y += a * (x - y);
    x = y;
  }
}

// Feedback echo: repeats every `delay` seconds, each `feedback` times the one before, mixed
// in at `wet`.
void Add_echo(Signal& s, double delay, double feedback, double wet) {
  const size_t d = Samples(delay);
  Signal echo(s.size(), 0.0);
  for (size_t i = d; i < s.size(); ++i) echo[i] = s[i - d] + feedback * echo[i - d];
  for (size_t i = 0; i < s.size(); ++i) s[i] += wet * echo[i];
}

void Mix_into(Signal& into, const Signal& add) {
  if (into.size() < add.size()) into.resize(add.size(), 0.0);
  for (size_t i = 0; i < add.size(); ++i) into[i] += add[i];
}

// Takes out the average, in proportion to `shape` (all ones when empty), so that samples
// where the shape is zero stay zero.
void Remove_dc(Signal& s, const Signal& shape = {}) {
  double sum = 0, weight = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    sum += s[i];
    weight += shape.empty() ? 1 : shape[i];
  }
  if (weight == 0) return;
  for (size_t i = 0; i < s.size(); ++i) s[i] -= sum / weight * (shape.empty() ? 1 : shape[i]);
}

// Fades in and out so that the first and last samples are exactly zero, then takes out the
// average in the same shape.
void Fade_edges(Signal& s, double fade_in, double fade_out) {
  Signal shape(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    shape[i] = Smooth_rise(i / kRate, fade_in) * Smooth_rise((s.size() - 1 - i) / kRate, fade_out);
    s[i] *= shape[i];
  }
  Remove_dc(s, shape);
}

// Scales so that the highest peak lies at `peak_db` dBFS.
void Normalise(Signal& s, double peak_db) {
  double peak = 0;
  for (double x : s) peak = std::max(peak, std::abs(x));
  if (peak == 0) return;
  const double gain = Db_gain(peak_db) / peak;
  for (double& x : s) x *= gain;
}

void Finish_effect(Signal& s, double fade_in, double fade_out, double peak_db) {
  Fade_edges(s, fade_in, fade_out);
  Normalise(s, peak_db);
}

std::string Pcm(const Signal& s) {
  std::string bytes;
  bytes.reserve(s.size() * 2);
  for (double x : s) {
    const long v = std::clamp(std::lround(x * 32767.0), -32768L, 32767L);
    const uint16_t u = static_cast<uint16_t>(static_cast<int16_t>(v));
    bytes.push_back(static_cast<char>(u & 0xff));
    bytes.push_back(static_cast<char>(u >> 8));
  }
  return bytes;
}

// ---- Effects ------------------------------------------------------------------------------

// A soft wooden "tock": a short tone whose pitch sags a little as it dies, with a faint
// hollow overtone at the very start.
Signal Button() {
  Signal s(Samples(0.075));
  Phase phase;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = i / kRate;
    const double p = phase.Advance(560 * (1 + 0.15 * std::exp(-t / 0.012)));
    s[i] = std::exp(-t / 0.016) * (std::sin(p) + 0.3 * std::exp(-t / 0.006) * std::sin(2.7 * p));
  }
  Finish_effect(s, 0.0015, 0.012, -2);
  return s;
}

// A step of the one-switch scan: a soft, short wooden tick, quieter than a button.
Signal Tick() {
  Signal s(Samples(0.05));
  Phase phase;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = i / kRate;
    const double p = phase.Advance(1250);
    s[i] = std::exp(-t / 0.008) * (std::sin(p) + 0.25 * std::sin(2.3 * p));
  }
  Finish_effect(s, 0.001, 0.01, -12);
  return s;
}

// Lifting a piece: a round "bloop" gliding up an octave, with a small bell ping at the top.
Signal Puzzle_up() {
  Signal s(Samples(0.21));
  Phase phase;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = i / kRate;
    const double p = phase.Advance(330 * std::pow(2.0, Smooth_rise(t, 0.11)));
    s[i] = Smooth_rise(t, 0.006) * std::exp(-t / 0.07) * (std::sin(p) + 0.18 * std::sin(2 * p));
  }
  Add_struck(s, 0.08, Note_hz(84), 0.18, Bell(0.08), 0.003);
  s.resize(Samples(0.21));
  Finish_effect(s, 0.003, 0.03, -2);
  return s;
}

// The piece gliding home: breathy noise through a band-pass whose centre sweeps upwards,
// under a faint rising whistle; it swells and fades away.
Signal Puzzle_move() {
  const double length = 0.6;
  Signal s(Samples(length));
  Noise noise(0x5eed1234u);
  Phase whistle;
  double low = 0, band = 0;  // state-variable filter
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = i / kRate;
    const double progress = t / length;
    const double f = 2 * std::sin(kPi * 350 * std::pow(2.0, 2.2 * progress) / kRate);
    const double high = noise.Next() - low - 1.2 * band;
    band += f * high;
    low += f * band;
    const double envelope = Smooth_rise(t, 0.3) * (1 - Smooth_rise(t - 0.3, 0.3));
    const double tone = std::sin(whistle.Advance(520 * std::pow(2.0, 0.8 * progress)));
    s[i] = envelope * (band + 0.05 * tone);
  }
  Low_pass(s, 2500);
  Low_pass(s, 2500);
  Finish_effect(s, 0.005, 0.02, -8);
  return s;
}

// The piece settles in its slot: a soft low thunk with a small wooden click on top, then two
// bell notes that sparkle and fade.
Signal Insert() {
  Signal s(Samples(0.42));
  Phase thunk, click;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = i / kRate;
    const double p = thunk.Advance(110 * (1 + 0.6 * std::exp(-t / 0.025)));
    const double q = click.Advance(1400);
    s[i] = Smooth_rise(t, 0.002) *
           (std::exp(-t / 0.055) * (std::sin(p) + 0.25 * std::sin(2 * p)) +
            0.25 * std::exp(-t / 0.004) * (std::sin(q) + 0.3 * std::sin(2.7 * q)));
  }
  Add_struck(s, 0.05, Note_hz(84), 0.3, Bell(0.12), 0.002);
  Add_struck(s, 0.11, Note_hz(89), 0.25, Bell(0.12), 0.002);
  s.resize(Samples(0.42));
  Finish_effect(s, 0.002, 0.05, -2);
  return s;
}

// The puzzle is done: a quick rising F major arpeggio on bells, then the whole chord on bells
// and marimba over a low F, a twinkle on top and a soft echo.
Signal Final() {
  const double length = 2.6;
  Signal s(Samples(length));
  const int arpeggio[] = {72, 77, 81, 84};
  for (int i = 0; i < 4; ++i) {
    Add_struck(s, 0.1 * i, Note_hz(arpeggio[i]), 0.45, Bell(Bell_ring(Note_hz(arpeggio[i]))),
               0.003);
  }
  const double chord = 0.45;
  for (int note : {77, 81, 84, 89})
    Add_struck(s, chord, Note_hz(note), 0.3, Bell(Bell_ring(Note_hz(note))), 0.003);
  for (int note : {65, 69, 72})
    Add_struck(s, chord, Note_hz(note), 0.35, Marimba(Note_hz(note)), 0.004);
  Add_struck(s, chord, Note_hz(53), 0.5, Bass(1.0), 0.01);
  const int twinkle[] = {93, 96, 101};
  for (int i = 0; i < 3; ++i) {
    Add_struck(s, 0.75 + 0.13 * i, Note_hz(twinkle[i]), 0.1, Bell(0.3), 0.002);
  }
  s.resize(Samples(length));
  Add_echo(s, 0.16, 0.3, 0.25);
  Finish_effect(s, 0.002, 0.4, -2);
  return s;
}

// ---- Music --------------------------------------------------------------------------------
// F major, 80 beats a minute, 4/4: sixteen bars of 3 s make a 48 s loop. An eight-bar tune
// on a music box, played twice (the second time varied), over warm pads, a soft marimba
// accompaniment and a light bass.

const double kBeat = 0.75;
const int kBars = 16;
const double kLoop = kBars * 4 * kBeat;

struct Tone {
  int midi;  // MIDI note number (60 is middle C, 69 the A at 440 Hz); 0 is a rest
  double beats;
};

// The tune, bar by bar.
const std::vector<std::vector<Tone>> kTune = {
    {{72, 1}, {77, 1}, {81, 1}, {79, .5}, {77, .5}},  // F
    {{81, 1.5}, {77, .5}, {74, 2}},                   // Dm
    {{74, 1}, {77, 1}, {82, 1}, {81, .5}, {79, .5}},  // Bb
    {{79, 1.5}, {76, .5}, {72, 2}},                   // C
    {{72, 1}, {77, 1}, {81, 1}, {84, 1}},             // F
    {{84, 1.5}, {81, .5}, {76, 2}},                   // Am
    {{74, 1}, {77, 1}, {76, 1}, {79, 1}},             // Bb C
    {{77, 2}, {0, 1}, {69, .5}, {70, .5}},            // F, and a pick-up
    {{72, 1}, {77, 1}, {81, 1}, {79, .5}, {77, .5}},  // F
    {{81, 1}, {79, .5}, {77, .5}, {74, 2}},           // Dm
    {{82, 1.5}, {81, .5}, {79, 1}, {74, 1}},          // Gm
    {{76, 1}, {79, 1}, {84, 2}},                      // C
    {{81, 1}, {84, 1}, {81, 1}, {77, 1}},             // F
    {{82, 1.5}, {81, .5}, {79, 1}, {77, 1}},          // Bb
    {{79, 1}, {82, 1}, {79, .5}, {72, .5}, {76, 1}},  // Gm C
    {{77, 3}, {0, 1}},                                // F, left to ring before it begins again
};

// Pitch classes of the chord roots.
enum Root { C = 0, D = 2, F = 5, G = 7, A = 9, Bb = 10 };
enum Quality { kMajor, kMinor };

struct Chord {
  Root root;
  Quality quality;
  double beats;
};

// The chords under the tune, bar by bar.
const std::vector<std::vector<Chord>> kHarmony = {
    {{F, kMajor, 4}},
    {{D, kMinor, 4}},
    {{Bb, kMajor, 4}},
    {{C, kMajor, 4}},
    {{F, kMajor, 4}},
    {{A, kMinor, 4}},
    {{Bb, kMajor, 2}, {C, kMajor, 2}},
    {{F, kMajor, 4}},
    {{F, kMajor, 4}},
    {{D, kMinor, 4}},
    {{G, kMinor, 4}},
    {{C, kMajor, 4}},
    {{F, kMajor, 4}},
    {{Bb, kMajor, 4}},
    {{G, kMinor, 2}, {C, kMajor, 2}},
    {{F, kMajor, 3}},
};

// The chord's three notes, each placed in the octave from `lowest` up.
std::vector<int> Voicing(const Chord& chord, int lowest) {
  std::vector<int> notes;
  for (int interval : {0, chord.quality == kMinor ? 3 : 4, 7}) {
    const int pitch_class = (chord.root + interval) % 12;
    notes.push_back(lowest + (pitch_class - lowest % 12 + 12) % 12);
  }
  std::sort(notes.begin(), notes.end());
  return notes;
}

void Add_melody(Signal& out) {
  double beat = 0;
  for (const std::vector<Tone>& bar : kTune) {
    for (const Tone& tone : bar) {
      if (tone.midi != 0) {
        const double hz = Note_hz(tone.midi);
        Add_struck(out, beat * kBeat, hz, 0.5, Bell(Bell_ring(hz)), 0.003, tone.beats * kBeat + 0.4,
                   0.15);
      }
      beat += tone.beats;
    }
  }
  Add_echo(out, 0.75 * kBeat, 0.28, 0.3);  // a dotted eighth behind
}

// A light bass from E2 to Eb3: the root held through the chord, or, the second time
// through, the root and then the fifth.
void Add_bass(Signal& out, const Chord& chord, double start, bool second_time) {
  const int root = 40 + (chord.root - 4 + 12) % 12;
  const int fifth = root + 7 > 51 ? root - 5 : root + 7;
  if (second_time && chord.beats >= 4) {
    Add_struck(out, start, Note_hz(root), 0.35, Bass(0.8), 0.012, 1.5 * kBeat, 0.12);
    Add_struck(out, start + 2 * kBeat, Note_hz(fifth), 0.3, Bass(0.8), 0.012, 1.5 * kBeat, 0.12);
  } else {
    Add_struck(out, start, Note_hz(root), 0.35, Bass(0.9), 0.012, (chord.beats - 0.5) * kBeat,
               0.12);
  }
}

// The chord broken on a soft marimba: on beats two to four the first time through, rolling
// in eighths the second. Each step is (beat within the chord, note of the chord from below).
void Add_marimba(Signal& out, const Chord& chord, double start, bool second_time) {
  using Pattern = std::vector<std::pair<double, int>>;
  static const Pattern kFirst = {{1, 0}, {2, 1}, {3, 2}};
  static const Pattern kSecond = {{.5, 0}, {1, 1}, {1.5, 2}, {2, 1}, {2.5, 0}, {3, 1}, {3.5, 2}};
  const std::vector<int> notes = Voicing(chord, 60);
  for (const auto& [offset, index] : second_time ? kSecond : kFirst) {
    if (offset >= chord.beats) continue;
    const double hz = Note_hz(notes[index]);
    Add_struck(out, start + offset * kBeat, hz, 0.16, Marimba(hz), 0.004);
  }
}

// Warm pads, bass and marimba under the tune.
void Add_accompaniment(Signal& pads, Signal& bass_and_marimba) {
  for (int bar = 0; bar < kBars; ++bar) {
    const bool second_time = bar >= kBars / 2;
    double beat = bar * 4.0;
    for (const Chord& chord : kHarmony[bar]) {
      const double start = beat * kBeat;
      for (int note : Voicing(chord, 55)) {
        Add_pad(pads, start, chord.beats * kBeat, Note_hz(note), 0.07);
      }
      Add_bass(bass_and_marimba, chord, start, second_time);
      Add_marimba(bass_and_marimba, chord, start, second_time);
      beat += chord.beats;
    }
  }
  Low_pass(pads, 1000);
}

// Everything that rings past the end of the loop is added back onto its start, so the loop
// sounds as if it had always been playing.
Signal Fold_into_loop(const Signal& long_take, size_t loop_samples) {
  Signal loop(loop_samples, 0.0);
  for (size_t i = 0; i < long_take.size(); ++i) loop[i % loop_samples] += long_take[i];
  return loop;
}

Signal Music() {
  const size_t loop_samples = Samples(kLoop);
  const size_t with_tails = loop_samples + Samples(6);
  Signal melody(with_tails, 0.0), pads(with_tails, 0.0), take(with_tails, 0.0);
  Add_melody(melody);
  Add_accompaniment(pads, take);
  Mix_into(take, melody);
  Mix_into(take, pads);
  Signal loop = Fold_into_loop(take, loop_samples);
  Remove_dc(loop);
  Normalise(loop, -12);
  return loop;
}

}  // namespace

const std::vector<std::string>& Synthesized_sound_names() {
  static const std::vector<std::string> names = {Button_sound, Pick_up_sound, Send_home_sound,
                                                 Land_sound,   Fanfare_sound, Music_sound, Scan_sound};
  return names;
}

std::string Synthesize_sound(const std::string& entry_name) {
  static const std::map<std::string, std::function<Signal()>> makers = {
      {Button_sound, Button}, {Pick_up_sound, Puzzle_up}, {Send_home_sound, Puzzle_move},
      {Land_sound, Insert},   {Fanfare_sound, Final},     {Music_sound, Music}, {Scan_sound, Tick}};
  const auto found = makers.find(entry_name);
  if (found == makers.end()) return {};
  return Pcm(found->second());
}

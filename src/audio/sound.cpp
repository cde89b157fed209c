// Sound effects and music: OpenAL sources streamed in 16384-byte chunks straight from the
// WAV entries of the data store.
#include "audio/sound.h"

#include <AL/alext.h>

#include <algorithm>
#include <limits>

#include "audio/loudness.h"
#include "audio/wav.h"
#include "resources/pack.h"
#include "runtime/report.h"

static_assert(Wav_format_mono8 == AL_FORMAT_MONO8 && Wav_format_mono16 == AL_FORMAT_MONO16 &&
                  Wav_format_stereo8 == AL_FORMAT_STEREO8 &&
                  Wav_format_stereo16 == AL_FORMAT_STEREO16,
              "the WAV reader's format numbers are OpenAL's");

Sound_system* Sound_ptr = nullptr;
std::vector<sample*> sample_list;
// The factor on every source's own gain, as last set.
static float heard_factor = 1.0f;
// A gain set lower fades over the next mixing pass of the device, while a source that starts
// plays at its gain at once: a sound that starts after gains were lowered waits until the
// device's clock shows the pass under way then and the next one mixed. Without a clock
// (pass_ns 0) nothing waits.
static LPALCGETINTEGER64VSOFT read_clock = nullptr;
static ALCdevice* clock_device = nullptr;
static int64_t pass_ns = 0;
static int64_t quieter_from_ns = 0;  // every gain lowered so far is heard from here on

int64_t Mixed_ns() {
  ALCint64SOFT ns = 0;
  if (read_clock != nullptr && clock_device != nullptr)
    read_clock(clock_device, ALC_DEVICE_CLOCK_SOFT, 1, &ns);
  return ns;
}

// Takes the next chunk of the sample and queues it in `buffer`; false when there was nothing
// to queue (the PCM is used up, or the sample cannot be played).
static bool Queue_next_chunk(sample* s, ALuint buffer) {
  if (s->format == 0) return false;
  const uint32_t length = std::min(Sound_chunk_bytes, s->pcm_size - s->pcm_pos);
  if (length == 0) return false;
  alBufferData(buffer, s->format, s->pcm + s->pcm_pos, static_cast<ALsizei>(length), s->rate);
  s->pcm_pos += length;
  alSourceQueueBuffers(s->source, 1, &buffer);
  return true;
}

// Stops the source and frees it with its buffers and the sample. Only the buffers that are
// really queued are unqueued; once stopped, all of them count as processed.
static void Delete_sample(sample* s) {
  alSourceStop(s->source);
  ALint queued = 0;
  alGetSourcei(s->source, AL_BUFFERS_QUEUED, &queued);
  if (queued > 0) {
    ALuint unqueued[4];
    alSourceUnqueueBuffers(s->source, std::min<ALint>(queued, 4), unqueued);
  }
  alDeleteSources(1, &s->source);
  alDeleteBuffers(4, s->buffers);
  delete s;
}

void Open_sound_system(Sound_system* system) {
  system->music_on = 1;
  system->sound_on = 1;
  system->failed = 0;
  system->device = alcOpenDevice(nullptr);
  if (system->device == nullptr) {
    system->failed = 1;
    Report("Can't open sound device.");
    return;
  }
  // The library's own limiter, where it has one and the user's configuration allows it, is a
  // backstop only: it holds the output at 0 dBFS, and the gains keep it under -1 dBFS.
  const ALCint attributes[] = {ALC_FREQUENCY, 22050, ALC_OUTPUT_LIMITER_SOFT, ALC_TRUE, 0};
  system->context = alcCreateContext(system->device, attributes);
  if (system->context == nullptr) {
    system->failed = 1;
    Report("Can't create sound context device.");
    // Nothing stays open: Close_sound_system does nothing once `failed` is set.
    alcCloseDevice(system->device);
    system->device = nullptr;
    return;
  }
  alcMakeContextCurrent(system->context);
  read_clock = reinterpret_cast<LPALCGETINTEGER64VSOFT>(
      alcGetProcAddress(system->device, "alcGetInteger64vSOFT"));
  ALCint passes = 0;  // a second
  alcGetIntegerv(system->device, ALC_REFRESH, 1, &passes);
  pass_ns = read_clock != nullptr && passes > 0 ? 1000000000 / passes : 0;
  quieter_from_ns = 0;
  clock_device = system->device;
  alDistanceModel(AL_NONE);
  alDopplerFactor(0.0f);
}

// The highest magnitude the sample can still play: from the block its source plays now on (the
// whole sound for music, which starts over).
static float Peak_to_come(const sample* s) {
  if (s->peaks->empty()) return 0.0f;
  if (s->looping) return s->peaks->front();
  ALint queued = 0, offset = 0;
  alGetSourcei(s->source, AL_BUFFERS_QUEUED, &queued);
  alGetSourcei(s->source, AL_BYTE_OFFSET, &offset);
  // The queue holds the last `queued` chunks handed over; the offset counts from its first.
  const uint64_t handed = (uint64_t{s->pcm_pos} + Sound_chunk_bytes - 1) / Sound_chunk_bytes;
  const uint64_t first = handed - std::min<uint64_t>(handed, static_cast<uint32_t>(queued));
  const uint64_t block =
      (first * Sound_chunk_bytes + static_cast<uint32_t>(offset)) / Peak_block_bytes;
  return block < s->peaks->size() ? (*s->peaks)[block] : 0.0f;
}

// Sets every source to its own gain times one common factor, the largest that keeps the sum of
// gain x peak still to come under the ceiling. Peaks to come only fall until another sound
// starts, so the factor mostly rises each frame and falls when a sound starts.
static void Fit_gains() {
  float load = 0.0f;
  for (const sample* s : sample_list) load += s->gain * Peak_to_come(s);
  const float factor = load > Sum_ceiling ? Sum_ceiling / load : 1.0f;
  if (factor == heard_factor) return;
  if (factor < heard_factor && pass_ns > 0) quieter_from_ns = Mixed_ns() + 2 * pass_ns;
  heard_factor = factor;
  for (const sample* s : sample_list) alSourcef(s->source, AL_GAIN, s->gain * factor);
}

// Plays a sample that waits, once the others are heard at the gains it was given room by.
static void Play_when_heard_quieter(sample* s) {
  if (s->play_from_ns < 0 || Mixed_ns() < s->play_from_ns) return;
  alSourcePlay(s->source);
  s->play_from_ns = -1;
}

static void Start_sample(const std::string& pack_name, const std::string& entry_name,
                         unsigned char looping) {
  Raw_data& entry = Get_data_from_data_store(pack_name, entry_name);
  if (entry.size == 0) return;
  wav_info info;
  if (!Read_wav_header(entry.pos, entry.size, info)) return;

  sample* s = new sample;
  s->wav = entry.pos;
  s->pcm = info.pcm;
  s->pcm_size = info.pcm_size;
  s->looping = looping;
  s->format = info.format;
  s->rate = info.rate;
  static uint64_t started = 0;
  s->serial = ++started;
  s->gain = looping ? Music_gain * Music_volume : Effect_gain * Effect_volume;
  s->peaks = &Entry_peaks(pack_name, entry_name, info);
  alGenBuffers(4, s->buffers);
  alGenSources(1, &s->source);
  // Heard at the listener at full gain, with no distance or direction effect. (OpenAL Soft
  // keeps the source type read-only and ignores the request.)
  const ALfloat zero[3] = {0.0f, 0.0f, 0.0f};
  alSourcei(s->source, AL_SOURCE_TYPE, AL_STATIC);
  alSourcefv(s->source, AL_POSITION, zero);
  alSourcefv(s->source, AL_VELOCITY, zero);
  alSourcefv(s->source, AL_DIRECTION, zero);
  alSourcef(s->source, AL_ROLLOFF_FACTOR, 0.0f);
  alSourcei(s->source, AL_SOURCE_RELATIVE, AL_TRUE);
  for (ALuint buffer : s->buffers) Queue_next_chunk(s, buffer);
  // The others make room before it plays.
  sample_list.push_back(s);
  Fit_gains();
  alSourcef(s->source, AL_GAIN, s->gain * heard_factor);
  s->play_from_ns = quieter_from_ns;
  Play_when_heard_quieter(s);
}

static bool Is_open(const Sound_system* system) {
  return system != nullptr && system->failed == 0 && system->context != nullptr;
}

void Play_sound(Sound_system* system, const std::string& pack_name, const std::string& entry_name) {
  if (!Is_open(system) || system->sound_on == 0) return;
  Start_sample(pack_name, entry_name, 0);
}

void Play_music(Sound_system* system, const std::string& pack_name, const std::string& entry_name) {
  if (!Is_open(system) || system->music_on == 0) return;
  Start_sample(pack_name, entry_name, 1);
}

void Update_sounds() {
  for (sample* s : sample_list) Play_when_heard_quieter(s);
  size_t index = 0;
  while (index < sample_list.size()) {
    sample* s = sample_list[index];
    ALint processed = 0;
    alGetSourcei(s->source, AL_BUFFERS_PROCESSED, &processed);
    bool refilled = false;
    for (ALint n = 0; n < processed; ++n) {
      ALuint buffer = 0;
      alSourceUnqueueBuffers(s->source, 1, &buffer);
      bool queued = Queue_next_chunk(s, buffer);
      if (!queued && s->looping) {
        s->pcm_pos = 0;  // the music starts over, right behind its last chunk
        queued = Queue_next_chunk(s, buffer);
      }
      refilled = refilled || queued;
    }
    // A queue that ran dry is restarted only once every spent buffer is out of it: played
    // earlier, the stopped source would start again from those stale buffers.
    if (refilled) {
      ALint state = 0;
      alGetSourcei(s->source, AL_SOURCE_STATE, &state);
      if (state != AL_PLAYING) alSourcePlay(s->source);
    }
    ALint queued = 0;
    alGetSourcei(s->source, AL_BUFFERS_QUEUED, &queued);
    if (queued == 0) {
      Delete_sample(s);
      sample_list.erase(sample_list.begin() + static_cast<long>(index));
    } else {
      ++index;
    }
  }
  Fit_gains();
}

double Sound_refill_ms() {
  double soonest = std::numeric_limits<double>::infinity();
  for (const sample* s : sample_list) {
    if (s->play_from_ns >= 0) {
      soonest = std::min(soonest, std::max(0.0, (s->play_from_ns - Mixed_ns()) / 1e6));
      continue;
    }
    const bool stereo = s->format == AL_FORMAT_STEREO8 || s->format == AL_FORMAT_STEREO16;
    const bool wide = s->format == AL_FORMAT_MONO16 || s->format == AL_FORMAT_STEREO16;
    const double bytes_per_ms = s->rate * (stereo ? 2 : 1) * (wide ? 2 : 1) / 1000.0;
    if (bytes_per_ms > 0) soonest = std::min(soonest, Sound_chunk_bytes / bytes_per_ms);
  }
  return soonest;
}

// Deletes every sample whose `looping` matches; the others keep their order.
static void Stop_samples(unsigned char looping) {
  auto kept = sample_list.begin();
  for (sample* s : sample_list) {
    if (s->looping == looping)
      Delete_sample(s);
    else
      *kept++ = s;
  }
  sample_list.erase(kept, sample_list.end());
}

void Stop_sounds() { Stop_samples(0); }

void Stop_music() { Stop_samples(1); }

void Close_sound_system(Sound_system* system) {
  if (system->failed == 1 || system->context == nullptr) return;
  for (sample* s : sample_list) Delete_sample(s);
  sample_list.clear();
  alcMakeContextCurrent(nullptr);
  alcDestroyContext(system->context);
  alcCloseDevice(system->device);
  clock_device = nullptr;
  system->context = nullptr;
  system->device = nullptr;
}

void Start_sound_system() {
  Sound_ptr = new Sound_system();
  Open_sound_system(Sound_ptr);
}

void End_sound_system() {
  Stop_music();
  Stop_sounds();
  if (Sound_ptr == nullptr) return;
  Close_sound_system(Sound_ptr);
  delete Sound_ptr;
  Sound_ptr = nullptr;
}

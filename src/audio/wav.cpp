// WAV header reader, bounded by the entry it is given.
#include "audio/wav.h"

#include "resources/formats.h"

bool Read_wav_header(const unsigned char* bytes, uint32_t size, wav_info& info) {
  info = wav_info();
  if (bytes == nullptr || size < Wav_header_bytes) return false;
  const uint64_t riff_size = Read_u32(bytes + Wav_riff_size_offset);
  const uint64_t format_size = Read_u32(bytes + Wav_format_size_offset);
  const uint16_t channels = Read_u16(bytes + Wav_channels_offset);
  const uint32_t rate = Read_u32(bytes + Wav_rate_offset);
  const uint16_t bits = Read_u16(bytes + Wav_bits_offset);

  // 64-bit arithmetic: neither the start nor the length can wrap around.
  uint64_t start = Wav_pcm_start_base + format_size;
  if (start > size) start = size;
  uint64_t length = 0;
  if (riff_size > format_size + Wav_pcm_size_base)
    length = riff_size - format_size - Wav_pcm_size_base;
  if (length > size - start) length = size - start;

  const bool stereo = channels != 1;
  if ((bits == 8 || bits == 16) && rate >= 1 && rate <= 0x7fffffffu) {
    if (bits == 8)
      info.format = stereo ? Wav_format_stereo8 : Wav_format_mono8;
    else
      info.format = stereo ? Wav_format_stereo16 : Wav_format_mono16;
    info.rate = static_cast<int>(rate);
    // OpenAL takes whole frames only; a cut-off last frame is dropped.
    const uint64_t frame = (stereo ? 2 : 1) * (bits / 8);
    length -= length % frame;
  }
  info.pcm = bytes + start;
  info.pcm_size = static_cast<uint32_t>(length);
  return true;
}

// Peak tables of the sounds, from their PCM.
#include "audio/loudness.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "resources/formats.h"

float Music_volume = 1.0f;
float Effect_volume = 1.0f;

std::vector<float> Peaks_to_end(const wav_info& info) {
  if (info.format == 0) return {};
  const bool wide = info.format == Wav_format_mono16 || info.format == Wav_format_stereo16;
  const bool stereo = info.format == Wav_format_stereo8 || info.format == Wav_format_stereo16;
  const uint32_t sample_bytes = wide ? 2 : 1, frame_bytes = sample_bytes * (stereo ? 2 : 1);
  std::vector<float> peaks((uint64_t{info.pcm_size} + Peak_block_bytes - 1) / Peak_block_bytes);
  for (uint64_t at = 0; at + frame_bytes <= info.pcm_size; at += frame_bytes) {
    float sum = 0;
    for (uint64_t i = at; i < at + frame_bytes; i += sample_bytes) {
      const unsigned char* p = info.pcm + i;
      sum += wide ? std::fabs(static_cast<int16_t>(Read_u16(p)) / 32768.0f)
                  : std::fabs((p[0] - 128) / 128.0f);
    }
    float& block = peaks[at / Peak_block_bytes];
    block = std::max(block, sum);
  }
  for (size_t i = peaks.size(); i-- > 1;) peaks[i - 1] = std::max(peaks[i - 1], peaks[i]);
  return peaks;
}

namespace {
struct peak_table {
  const unsigned char* pcm = nullptr;
  uint32_t pcm_size = 0;
  std::vector<float> peaks;
};
}  // namespace

const std::vector<float>& Entry_peaks(const std::string& pack_name, const std::string& entry_name,
                                      const wav_info& info) {
  static std::map<std::pair<std::string, std::string>, peak_table> tables;
  peak_table& table = tables[{pack_name, entry_name}];
  if (table.pcm != info.pcm || table.pcm_size != info.pcm_size || table.peaks.empty()) {
    table.pcm = info.pcm;
    table.pcm_size = info.pcm_size;
    table.peaks = Peaks_to_end(info);
  }
  return table.peaks;
}

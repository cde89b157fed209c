// Sound system. Placeholder until streaming arrives: keeps the switches, plays nothing.
#include "audio/sound.h"

Sound_system* Sound_ptr = nullptr;

void Open_sound_system(Sound_system* system) {
  system->music_on = 1;
  system->sound_on = 1;
  system->failed = 0;
}
void Play_sound(Sound_system*, const std::string&, const std::string&) {}
void Play_music(Sound_system*, const std::string&, const std::string&) {}
void Update_sounds() {}
void Stop_sounds() {}
void Stop_music() {}
void Close_sound_system(Sound_system*) {}

// Sound effects and looping music, streamed from the pack bytes through OpenAL.
#pragma once
#include <string>

struct Sound_system {
  unsigned char music_on = 1;
  unsigned char sound_on = 1;
  unsigned char failed = 0;
  void* device = nullptr;
  void* context = nullptr;
};

// The one audio system of the run, created by the boot scene.
extern Sound_system* Sound_ptr;

void Open_sound_system(Sound_system* system);
void Play_sound(Sound_system* system, const std::string& pack_name, const std::string& entry_name);
void Play_music(Sound_system* system, const std::string& pack_name, const std::string& entry_name);
void Update_sounds();
void Stop_sounds();
void Stop_music();
void Close_sound_system(Sound_system* system);

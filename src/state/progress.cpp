// The half-built pictures' file, read at start and written by a thread of its own.
#include "state/progress.h"

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include "platform/platform.h"
#include "state/kept_file.h"

Progress_record Progress;

namespace {

// The file beside the settings file, known once it was read (none without a home folder:
// then, and before the file was read, nothing is saved).
std::string progress_path;

// The writer: the newest bytes asked for, and whether they or older ones are being written.
// Made once and never destroyed, so that the thread may wait on it until the process ends.
struct Writer {
  std::mutex lock;
  std::condition_variable asked, written;
  std::string path, bytes;
  bool waiting = false, writing = false, told = false;
};
Writer* writer_made = nullptr;  // none until the first save
Writer& The_writer() {
  static Writer* writer = writer_made = [] {
    Writer* made = new Writer;
    std::thread([made] {
      std::unique_lock<std::mutex> hold(made->lock);
      for (;;) {
        made->asked.wait(hold, [made] { return made->waiting; });
        const std::string path = made->path, bytes = made->bytes;
        made->waiting = false, made->writing = true;
        hold.unlock();
        std::string error;
        const bool saved = Write_kept_file(path, bytes, error);
        hold.lock();
        if (!saved && !made->told) {
          made->told = true;
          std::fprintf(stderr, "shorebound: cannot save the half-built pictures to %s: %s\n", path.c_str(), error.c_str());
        }
        made->writing = false;
        made->written.notify_all();
      }
    }).detach();
    return made;
  }();
  return *writer;
}

}  // namespace

void Load_progress() {
  Progress = Progress_record();
  const std::string settings = Settings_file_paths().save;
  progress_path = settings.empty() ? "" : settings.substr(0, settings.rfind('.')) + ".pieces";
  std::string bytes;
  if (progress_path.empty() || Read_kept_file(progress_path, 1 << 20, bytes) != Kept_read_whole) return;
  Progress = Read_progress(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

void Save_progress() {
  const std::string path = progress_path;
  if (path.empty()) return;
  Writer& writer = The_writer();
  {
    std::lock_guard<std::mutex> hold(writer.lock);
    writer.path = path;
    writer.bytes = Progress_bytes(Progress);
    writer.waiting = true;
  }
  writer.asked.notify_one();
}

void Finish_progress_saves() {
  if (writer_made == nullptr) return;
  Writer& writer = *writer_made;
  std::unique_lock<std::mutex> hold(writer.lock);
  writer.written.wait(hold, [&] { return !writer.waiting && !writer.writing; });
}

void Reset_progress() {
  Finish_progress_saves();
  Progress = Progress_record();
  progress_path.clear();
  if (writer_made == nullptr) return;
  std::lock_guard<std::mutex> hold(writer_made->lock);
  writer_made->told = false;
}

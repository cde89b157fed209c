// The half-built pictures of the run (state/progress_file.h), kept in a file beside the
// settings: read at start, saved after every change in the background, so that a frame never
// waits for the disk, and finished by the shutdown. A kill leaves the last whole file.
#pragma once
#include "state/progress_file.h"

extern Progress_record Progress;

// Reads the file; without one, or from a damaged one, pictures start afresh.
void Load_progress();
// Saves the record as it is now, in the background (the newest bytes win).
void Save_progress();
// Returns once everything asked to be saved is written (the shutdown).
void Finish_progress_saves();
// Forgets the record and the trouble said (tests).
void Reset_progress();

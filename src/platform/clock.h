// The millisecond clock that times every animation, the steady clock that times the waits
// between frames, and the moments a still screen must be drawn again by.
#pragma once

// Stores the current time of day as the clock origin.
void Start_clock();
// Milliseconds since Start_clock (the absolute time of day before it ran).
double Clock_ms();

// Source of the time of day in milliseconds. Tests point it at a clock of their own to run
// timed behaviours frame by frame.
extern double (*Time_of_day_ms)();
double Real_time_of_day_ms();

// Milliseconds of a clock that never steps (unlike the time of day, which a person or the
// network may set back): what the frame loop measures its waits with.
double Monotonic_ms();

// A behaviour that waits on the clock while nothing it draws changes (the loader's stay, a
// window's delayed fade-in) asks for a frame soon after this Clock_ms reading, or a resting
// screen would not be drawn again. It asks again each time it runs while it still waits. Take_wake_time hands the frame loop the earliest
// reading asked for since the last call (infinity: none) and forgets them.
void Wake_by(double clock_ms);
double Take_wake_time();

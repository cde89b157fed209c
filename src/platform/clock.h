// The millisecond clock that times every animation.
#pragma once

// Stores the current time of day as the clock origin.
void Start_clock();
// Milliseconds since Start_clock (the absolute time of day before it ran).
double Clock_ms();

// Source of the time of day in milliseconds. Tests point it at a clock of their own to run
// timed behaviours frame by frame.
extern double (*Time_of_day_ms)();
double Real_time_of_day_ms();

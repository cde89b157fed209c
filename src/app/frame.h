// The program's spine: start-up, the event loop, one frame, and the orderly shutdown.
#pragma once

// One frame: clear, camera, sounds, the object tree, late pass, picking, sweeps.
void Run_frame();
// The parts of Run_frame, in its order: Begin_frame (render/draw.h) clears and sets the
// camera; Frame_work is the game's own work, from the sounds to the release of idle textures;
// Input_frame_done (platform/input.h) ends the frame.
void Frame_work();
// Saves the settings and the half-built pictures, destroys every object, frees the textures
// and closes audio.
void Shut_down();
// One turn of the event loop: every pending event into the mouse record, then one frame and the
// buffer swap, and the wait for the next frame (60 a second; an input event ends the wait). A
// still screen rests: no frame is drawn until input comes, the moment a behaviour asked to be
// woken by (Wake_by) or a change to the objects made outside a frame; the wait lasts until
// then, and the turns between only keep the sounds streaming. True when a quit was asked for.
bool Run_loop_step();
// The interval of a moving screen in ms; 0 waits for nothing, each turn comes at once (tests
// that step a clock of their own).
extern double Frame_interval_ms;
// How long after this moment the next turn of the loop is due: the rest of a frame at the frame
// interval (at rest, `still`: when the sounds need their queues refilled), but no later than a
// millisecond after the earliest moment a behaviour asked to be woken by (Wake_by,
// platform/clock.h).
double Next_frame_delay_ms(bool still);
// Runs Run_loop_step until it asks to quit (it returns after the frame that follows the quit).
void Run_event_loop();
// Start-up, the loop and the shutdown; returns the exit status.
int Main_routine(int argc, char** argv);

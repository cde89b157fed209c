// Entry point of the game.
#include "app/frame.h"

int main(int argc, char** argv) { return Main_routine(argc, argv); }

// Boot scene. For now it starts the clock and creates the root object.
#include "scenes/boot.h"

#include "shell/clock.h"
#include "shell/frame.h"

void Build_boot_scene() {
  Start_clock();
  Main_object = new Object("Main_store", "main");
}

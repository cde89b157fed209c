// The first scene of the program.
#pragma once

void Build_boot_scene();

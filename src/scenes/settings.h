// The player's settings and progress, kept in one small file.
#pragma once

void Save_settings();

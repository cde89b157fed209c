// Settings file. Placeholder: nothing is loaded yet, so nothing is written.
#include "scenes/settings.h"

void Save_settings() {}

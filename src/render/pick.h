// Mouse picking of the models drawn in a frame.
#pragma once

// The pick pass: sets hover and click flags on the model under the pointer.
void Pick_mause_objs();

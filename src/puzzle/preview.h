// The small framed picture of the whole puzzle in the upper left corner.
#pragma once

// FUN of the preview button: opens the preview, or fades it out when it is open.
void Toggle_picture_preview();

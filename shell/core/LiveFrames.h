// Pictures swapped while in use: after the picture library's substitutes change (the bubbles
// drawn with symbols, or plain), every frame list still in use shows the picture its name now
// stands for, so sprites on the stage change at once. The applet sees no difference: the same
// objects, frames, frame counts and timing.
#pragma once

namespace shell {

class ImageLibrary;
class ObjectSpace;

// Gives every live frame list loaded by a name the picture the library now has for it;
// returns how many changed.
int RepictureLiveFrames(ObjectSpace& space, ImageLibrary& images);

}  // namespace shell

// The page's sound output: the worklet web/page/sound-output.js plays the sound bank's mix. The
// page's requests (open the output at a rate, the next block of the mix) arrive as records in
// the page's queue and are answered from the module's own wait (WebFrontend): the module is
// never entered from outside while it sleeps, which would overwrite its sleeping stack.
#pragma once

namespace shell {

class SoundBank;

// The bank whose mix the page plays (null: none, silence). Tells the page whether to open its
// output on the player's first click or key.
void UseWebSound(SoundBank* bank);
// The page's output plays `rate` frames a second in stereo; 0: the page has none to offer.
void WebSoundFormat(int rate);
// Posts the next `frames` frames of the mix to the page's output.
void WebSoundBlock(int frames);

}  // namespace shell

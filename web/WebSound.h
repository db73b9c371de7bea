// The page's sound output: the worklet web/page/sound-output.js plays the sound bank's mix,
// which the page asks for block by block through the functions exported here.
#pragma once

namespace shell {

class SoundBank;

// The bank whose mix the page plays (null: none, silence).
void UseWebSound(SoundBank* bank);

}  // namespace shell

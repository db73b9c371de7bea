// Reading the game's fonts and decoding its pictures on other threads while the window opens,
// so that the first text and the first pictures the game asks for are ready by then.
#pragma once

namespace shell {

class Host;

// Starts both; the host's first picture waits for the pictures, and the host waits for both
// before its fonts and pictures go.
void PrefetchOnThreads(Host& host);

}  // namespace shell

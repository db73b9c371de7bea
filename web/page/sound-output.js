// The page's sound output, an AudioWorklet: plays the game's mix (interleaved stereo blocks
// the page posts) and asks the page for the next block while what it holds still lasts, so the
// output never waits on the page. Silence while nothing is held (a hidden tab, a busy page).
'use strict';

const BLOCK_FRAMES = 1024;   // what one request asks for (about 23 ms at 44.1 kHz)
const LOW_FRAMES = 2048;     // ask for more below this much held

class SpheroletteOutput extends AudioWorkletProcessor {
  constructor() {
    super();
    this.blocks = [];        // Float32Arrays of interleaved left/right samples
    this.offset = 0;         // samples of blocks[0] already played
    this.held = 0;           // frames held, less those played
    this.asked = 0;          // frames asked for and not yet come
    this.port.onmessage = (message) => {
      const block = message.data;
      this.blocks.push(block);
      this.held += block.length / 2;
      this.asked = Math.max(0, this.asked - block.length / 2);
    };
  }

  process(inputs, outputs) {
    const [left, right] = outputs[0];
    for (let i = 0; i < left.length; ++i) {
      const block = this.blocks[0];
      if (!block) {
        left[i] = 0;
        right[i] = 0;
        continue;
      }
      left[i] = block[this.offset];
      right[i] = block[this.offset + 1];
      this.offset += 2;
      this.held -= 1;
      if (this.offset >= block.length) {
        this.blocks.shift();
        this.offset = 0;
      }
    }
    if (this.held + this.asked < LOW_FRAMES) {
      this.asked += BLOCK_FRAMES;
      this.port.postMessage(BLOCK_FRAMES);
    }
    return true;
  }
}

registerProcessor('spherolette-output', SpheroletteOutput);

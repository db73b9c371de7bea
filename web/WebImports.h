// What the WebAssembly side imports from the page (web/page/WebLibrary.js).
#pragma once

#include <cstdint>

extern "C" {
// Sleeps (ASYNCIFY) until a record is queued or, for ms >= 0, the frame ending the wait.
void web_wait(int ms);
int web_ending();
// The next record: type, x, y, held, key, character, mods, text length; 0 when none.
int web_next_event(int32_t* record, char* text, int capacity);
void web_drawable_size(int* width, int* height);
void web_put_pixels(const void* rgba, int x, int y, int width, int height);
// Fills a rectangle of the canvas with one colour.
void web_fill(int x, int y, int width, int height, int red, int green, int blue);
void web_first_frame();
void web_set_title(const char* title);
void web_text_input(int on);
int web_fullscreen();
void web_toggle_fullscreen();
void web_message(const char* text);
// The run is over with this exit code (0: the ledger is clean and the bot's checks passed).
void web_finished(int code);
// localStorage, one character a byte. Sizes and results: -1 nothing stored, -2 the browser
// refuses storage, -3 it is full; write, move and remove give 0 when done.
int web_storage_size(const char* key);
int web_storage_read(const char* key, char* out, int size);
int web_storage_write(const char* key, const char* text, int size);
int web_storage_move(const char* from, const char* to);
int web_storage_remove(const char* key);
// The single-writer lock other tabs see: 1 when taken, 0 when another tab holds it.
int web_storage_lock(const char* key);
void web_storage_unlock(const char* key);
// Whether the page should open its sound output on the player's first click or key.
void web_sound_wanted(int wanted);
// Hands `frames` frames of interleaved 16-bit stereo to the page's sound output.
void web_sound_post(const int16_t* samples, int frames);
int web_font_count();
int web_font_size(int index);
void web_font_copy(int index, uint8_t* out);
void web_font_release();
}

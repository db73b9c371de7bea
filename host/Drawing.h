// Drawing objects: canvases, fonts, frame lists, animations, sprites and buttons.
// Coordinates are pixels from the top-left; colours are three 8-bit components.
#pragma once

#include "host/Object.h"

namespace host {

class Font;

struct Size {
    int32_t width;
    int32_t height;
};

// A drawing surface: stage backgrounds, offscreen canvases, still pictures and frames.
class Canvas : public Object {
public:
    // Fills the whole canvas with the colour.
    virtual void Clear(uint8_t r, uint8_t g, uint8_t b) = 0;
    // Sets the colour used by FrameRect and FillRect.
    virtual void SetColor(uint8_t r, uint8_t g, uint8_t b) = 0;
    // Draws a 1-pixel outline just inside x in [left, right), y in [top, bottom).
    virtual void FrameRect(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
    // Fills x in [left, right), y in [top, bottom).
    virtual void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
    // Sets the text colour; it stays until changed, for every later caller.
    virtual void SetTextColor(uint8_t r, uint8_t g, uint8_t b) = 0;
    // Makes the font current; the canvas keeps its own reference until another is set.
    virtual void SetFont(Font* font) = 0;
    // Gives a new reference to the current font (never null: a fresh canvas has a default).
    virtual void GetFont(Font** font) = 0;
    // Reports the canvas's size in pixels.
    virtual void GetSize(int32_t* width, int32_t* height) = 0;
    // Measures the first `length` characters of `text` in `font` (the canvas is unchanged).
    virtual void MeasureText(Font* font, const char* text, int32_t length, Size* size) = 0;
    // Draws the first `length` characters with the current font and text colour;
    // (x, y) is the top-left of the text's line box.
    virtual void DrawText(const char* text, int32_t length, int32_t x, int32_t y) = 0;
    // Blends `picture` with its alpha, its top-left at (x, y). `flags` is 0.
    virtual void DrawImage(Canvas* picture, int32_t x, int32_t y, int32_t flags) = 0;
};

// A face at a pixel size with style bits (kStyleBold, kStyleItalic, kStyleUnderline).
class Font : public Object {
public:
    // Reports the face (into kFaceCapacity characters), pixel size, size step and style.
    virtual void GetInfo(char* face, int32_t* size, int32_t* step, int32_t* style) = 0;
};

// The frames of an animated picture.
class FrameList : public Object {
public:
    // Gives a new reference to frame `index` as a canvas.
    virtual void GetFrame(int32_t index, Canvas** frame) = 0;
    // With 0, animations made from this list stop on the last frame; otherwise they repeat.
    virtual void SetLooping(int32_t looping) = 0;
};

// A current frame over a frame list.
class Animation : public Object {
public:
    // Shows frame `index`.
    virtual void SetFrame(int32_t index) = 0;
    // Gives a new reference to the frame list.
    virtual void GetFrames(FrameList** frames) = 0;
};

// A picture shown on a stage with its top-left at a position.
class Sprite : public Object {
public:
    // Moves the top-left to (x, y) in stage coordinates. `flags` is 0.
    virtual void MoveTo(int32_t x, int32_t y, int32_t flags) = 0;
    // Reports the top-left in stage coordinates.
    virtual void GetPosition(int32_t* x, int32_t* y) = 0;
    // Starts playing the animation from its current frame.
    virtual void StartAnimation() = 0;
    // Gives a new reference to the sprite's animation.
    virtual void GetAnimation(Animation** animation) = 0;
    // Gives a new reference to the sprite's current picture as a canvas.
    virtual void GetBitmap(Canvas** picture) = 0;
};

// A sprite with two looks (left half normal, right half highlighted) that reports clicks.
class Button : public Sprite {};

}  // namespace host

// The game's pictures, each built as a Picture ready for the GIF encoder.
#pragma once

#include <string>

#include "Canvas.h"
#include "Encoders.h"

namespace assetgen {

constexpr int kBubbleColors = 8;
constexpr int kBubbleSize = 32;
constexpr int kTileSize = 36;

// The base colour of bubble kind 0..7: far apart in hue and in lightness.
Color BubbleColor(int kind);

// Paints a glossy bubble of `base` colour centred at (cx, cy). `phase` (0..1) moves the
// highlight; `symbol` 0..7 puts that kind's symbol on it (-1: none).
void DrawBubble(Image& img, float cx, float cy, float radius, Color base, float phase, int symbol);

// Within this distance of a tile's centre both tile looks are the same.
constexpr float kSharedRadius = 17.2f;

// The board tile: false for the plain look, true for the look while free moves are left.
Image BoardTile(bool freeMoves);
// The colour partly covered bubble edges are mixed over: the middle of the tiles' well.
Color TileMatte();

Picture MakeBubble(int kind, bool withSymbol);  // kinds 0..7
Picture MakeSpawnBubble();                      // kind 8: a soap bubble blown up
Picture MakePop();                              // kind 9: the pop over a cleared bubble
Picture MakeBoardTiles();
Picture MakeMiniBubble();
Picture MakeCheckBox();
Picture MakeSampler();
Picture MakeLogo(const std::string& fontPath);
Picture MakeGameLogo(const std::string& fontPath);

// The desktop icon, `size` pixels square, transparent around a rounded tile.
Image MakeIcon(int size);

// The stored names of the bubble pictures: plain ("P-IMG-BUBBLE3.GIF") and with symbols.
std::string BubbleName(int kind);
std::string SymbolBubbleName(int kind);

}  // namespace assetgen

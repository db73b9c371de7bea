// A bubble on the board: a sprite the player presses, drags and releases over another cell.
// Kind 9 is the pop animation laid over a cleared bubble; it takes no input.
#pragma once

#include <cstdint>

#include "host/Services.h"

namespace sph {

class GameScreen;

class BubblePiece {
public:
    // Makes the sprite over the kind's frame set and puts it on the stage; kinds below 8 also
    // listen for press, move and release. The creator calls MoveToCell right after.
    BubblePiece(GameScreen* ownerScreen, int pieceKind);
    ~BubblePiece();
    BubblePiece(const BubblePiece&) = delete;
    BubblePiece& operator=(const BubblePiece&) = delete;

    // Shows the sprite on the cell and records it; the caller keeps the board in step.
    void MoveToCell(int toCol, int toRow);
    // Snaps back to the recorded cell (a refused drop).
    void ReturnToCell();
    void GetCell(int* outCol, int* outRow) const;

    int OnPickUp(const host::Event* event);
    int OnDrag(const host::Event* event);
    int OnDrop(const host::Event* event);

    // Moves the sprite by an offset, keeping its top-left within the drag range.
    void DragBy(int dx, int dy);

    int32_t kind = 0;
    host::Sprite* sprite = nullptr;
    host::Subscription* pickUpSubscription = nullptr;
    host::Subscription* dragSubscription = nullptr;
    host::Subscription* dropSubscription = nullptr;
    bool dragging = false;
    GameScreen* owner = nullptr;
    int32_t col = 0;
    int32_t row = 0;
    int32_t grabX = 0;
    int32_t grabY = 0;
    bool cleared = false;
};

}  // namespace sph

// Bubble pieces: creation, placement, and the press / drag / release that hands a drop to the
// game screen.
#include "game/BubblePiece.h"

#include "applet/Globals.h"
#include "game/Board.h"
#include "gamescreen/GameScreen.h"

namespace sph {

namespace {

constexpr int32_t kBubbleSpriteMode = 3;

int PickUpThunk(const host::Event* event) {
    return static_cast<BubblePiece*>(event->context)->OnPickUp(event);
}

int DragThunk(const host::Event* event) {
    return static_cast<BubblePiece*>(event->context)->OnDrag(event);
}

int DropThunk(const host::Event* event) {
    return static_cast<BubblePiece*>(event->context)->OnDrop(event);
}

// A pointer offset held within a range far beyond the stage, so that no sum overflows;
// the drag range clamps it to the stage anyway.
int Offset(int32_t to, int32_t from) {
    constexpr int64_t kFar = 1 << 20;
    int64_t d = static_cast<int64_t>(to) - from;
    if (d > kFar) d = kFar;
    if (d < -kFar) d = -kFar;
    return static_cast<int>(d);
}

}  // namespace

BubblePiece::BubblePiece(GameScreen* ownerScreen, int pieceKind) : owner(ownerScreen) {
    host::Animation* animation = factory->CreateAnimation(bubbleFrames[pieceKind]);
    sprite = factory->CreateSprite(animation, kBubbleSpriteMode);
    // The pop (and the unused kind 8) always plays; colours follow the player's option.
    if (animatedBubbles || pieceKind >= kFirstStillKind) sprite->StartAnimation();
    animation->Release();

    cleared = false;
    stage->AddSprite(sprite);
    dragging = false;
    kind = pieceKind;

    if (kind < kFirstStillKind) {
        pickUpSubscription =
            factory->Subscribe(sprite, host::kEventPointerPressed, this, PickUpThunk);
        dragSubscription = factory->Subscribe(sprite, host::kEventPointerMoved, this, DragThunk);
        dropSubscription =
            factory->Subscribe(sprite, host::kEventPointerReleased, this, DropThunk);
    }
}

BubblePiece::~BubblePiece() {
    if (kind < kFirstStillKind) {
        pickUpSubscription->Release();
        dragSubscription->Release();
        dropSubscription->Release();
    }
    stage->RemoveSprite(sprite);
    sprite->Release();
}

void BubblePiece::MoveToCell(int toCol, int toRow) {
    sprite->MoveTo(kTileLeft + kBubbleInset + kTilePitch * toCol,
                   kTileTop + kBubbleInset + kTilePitch * toRow, 0);
    row = toRow;
    col = toCol;
}

void BubblePiece::ReturnToCell() {
    MoveToCell(col, row);
}

void BubblePiece::GetCell(int* outCol, int* outRow) const {
    *outCol = col;
    *outRow = row;
}

// ---- Event handlers ----------------------------------------------------------------------

int BubblePiece::OnPickUp(const host::Event* event) {
    stage->RaiseSprite(sprite);
    grabX = event->value;
    grabY = event->y;
    dragging = true;
    return 0;
}

int BubblePiece::OnDrag(const host::Event* event) {
    // The grab point stays fixed within the sprite, so the sprite follows the pointer.
    if (dragging) DragBy(Offset(event->value, grabX), Offset(event->y, grabY));
    return 0;
}

int BubblePiece::OnDrop(const host::Event*) {
    if (!dragging) return 0;
    int32_t x = 0;
    int32_t y = 0;
    sprite->GetPosition(&x, &y);
    dragging = false;
    // The drop may end the game, which destroys this piece: nothing of it is touched after.
    owner->DropPiece(this, x + kDropOffset, y + kDropOffset);
    return 0;
}

void BubblePiece::DragBy(int dx, int dy) {
    int32_t x = 0;
    int32_t y = 0;
    sprite->GetPosition(&x, &y);
    // Widen before adding: pointer values come from the host and may be anything.
    int64_t nx = static_cast<int64_t>(x) + dx;
    int64_t ny = static_cast<int64_t>(y) + dy;
    if (nx >= kDragMaxX) {
        nx = kDragMaxX;
    } else if (nx <= 0) {
        nx = 0;
    }
    if (ny >= kDragMaxY) {
        ny = kDragMaxY;
    } else if (ny <= 0) {
        ny = 0;
    }
    sprite->MoveTo(static_cast<int32_t>(nx), static_cast<int32_t>(ny), 0);
}

}  // namespace sph

// A stage: a background canvas with sprites above it in the order they were added. It keeps
// track of what changed since it was last composed, so only those areas are drawn again.
#pragma once

#include <unordered_map>
#include <vector>

#include "host/Services.h"
#include "shell/core/HostCanvas.h"
#include "shell/core/HostSprite.h"
#include "shell/core/ObjectBase.h"

namespace shell {

class HostStage : public HostObject<host::Stage> {
public:
    HostStage(ObjectSpace& space, FontCache& fonts, int width, int height, const char* label);

    HostCanvas* Background() const { return background_; }
    const std::vector<HostSprite*>& Sprites() const { return sprites_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The topmost sprite whose pixel under the point is not fully transparent, or null.
    HostSprite* SpriteAt(int x, int y) const;

    // Brings `frame` (the stage's size) up to date and adds the areas redrawn to `changed`.
    void Compose(Pixmap& frame, DirtyRegion* changed);
    // Composes everything into a fresh picture (screenshots).
    Pixmap ComposeAll();
    // The next Compose redraws the whole stage.
    void Invalidate();
    // True when something changed since the last Compose.
    bool Changed();

    void AddSprite(host::Sprite* sprite) override;
    void RemoveSprite(host::Sprite* sprite) override;
    void RaiseSprite(host::Sprite* sprite) override;
    void GetCanvas(host::Canvas** canvas) override;

    // The same operations for the shell's own use (no trace).
    void Add(HostSprite* sprite);
    void Remove(HostSprite* sprite);
    void Raise(HostSprite* sprite);

private:
    struct Shown {
        Rect bounds;
        const HostCanvas* picture = nullptr;
        uint64_t version = 0;
        uint64_t seen = 0;  // the CollectChanges round that last found it on the stage
    };
    void CollectChanges();
    void Draw(Pixmap& frame, const Rect& area) const;

    HostCanvas* background_;
    int width_, height_;
    std::vector<HostSprite*> sprites_;       // bottom to top; each holds a reference
    DirtyRegion pending_;                    // drawn on the background, raised, removed
    std::unordered_map<const HostSprite*, Shown> shown_;  // as last composed
    uint64_t generation_ = 0;
};

}  // namespace shell

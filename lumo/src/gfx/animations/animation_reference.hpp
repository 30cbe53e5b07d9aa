#pragma once
// One user's playing position in an animation: an image that advances with the elapsed time
// and draws the current frame's image. Owned by whoever asked for it (a sprite); must not
// outlive its animation or the image bank. Main thread only.

#include <GL/gl.h>
#include <SDL_types.h>

#include "gfx/animations/animation.hpp"
#include "gfx/images/image.hpp"

namespace lumo {
namespace gfx {

class AnimationReference : public Image {
  public:
    /// No animation, no frame; performs and draws nothing.
    AnimationReference() = default;
    /// Starts at frame 0 of `animation` (not owned; may be null or have no frames, in which
    /// case there is no frame and nothing is played). `speed` scales every frame's delay: 2
    /// shows each frame twice as long.
    AnimationReference(Animation* animation, float speed);

    /// Adds `ticks` to the time spent in the current frame and leaves as many frames as that
    /// time covers: a frame is left when the time exceeds its delay x speed, and the delay of
    /// the frame entered is then subtracted (so the carried time can become negative). Stops at
    /// the last frame unless the animation loops.
    void perform(float ticks) override;
    /// Draw the current frame's image (nothing when the frame has none).
    void draw(const Vector2D& pos) override;
    void draw(const Rect& rect) override;
    void drawStretched(const Rect& rect) override;

    /// True once the last frame is reached, for animations that do not loop.
    bool isFinished() const;

    /// Makes `f` the current frame and copies its image's size, hotspot, bitmask pointer
    /// (shared, not owned) and bounding boxes; null clears the frame and its image.
    void setFrame(AnimationFrame* f);

    AnimationFrame* getFrame() const { return frame; }
    /// The current frame's image, or null.
    Image* getImage() const { return image; }
    Animation* getAnimation() const { return animation; }
    Uint32 getIndex() const { return index; }
    GLfloat getTimeIndex() const { return timeIndex; }
    GLfloat getSpeed() const { return speed; }

  private:
    /// The current frame's delay x speed, never below 0.
    GLfloat scaledDelay() const;
    /// Moves one frame towards `target`, wrapping past the last frame.
    void step();

    AnimationFrame* frame = nullptr;
    Image* image = nullptr;
    Animation* animation = nullptr;
    GLfloat speed = 1.0f;
    Uint32 index = 0;
    GLfloat timeIndex = 0;
    /// The frame position at which playing stops: the number of frames for a looping animation
    /// (never reached), the last position otherwise.
    Uint32 target = 0;
};

}  // namespace gfx
}  // namespace lumo

#include "gfx/animations/animation_reference.hpp"

#include <algorithm>
#include <cmath>

#include "debug/message_stack.hpp"

namespace lumo {
namespace gfx {

AnimationReference::AnimationReference(Animation* a, float s) : animation(a), speed(s) {
    debug::MessageScope scope("AnimationReference::AnimationReference()");
    // An animation without frames has nothing to play: no frame, and a target of 0 that a
    // non-looping animation has reached already.
    if (animation && !animation->frames.empty()) {
        const Uint32 count = static_cast<Uint32>(animation->frames.size());
        target = animation->loop ? count : count - 1;
        setFrame(&animation->frames[0]);
    }
}

void AnimationReference::setFrame(AnimationFrame* f) {
    debug::MessageScope scope("AnimationReference::setFrame()");
    frame = f;
    image = f ? f->image : nullptr;
    if (!image)
        return;
    width = image->getWidth();
    height = image->getHeight();
    bitmask = image->getBitmask();
    hotspot = image->getHotspot();
    outerBoundingBox = image->getOuterBoundingBox();
    innerBoundingBox = image->getInnerBoundingBox();
}

GLfloat AnimationReference::scaledDelay() const {
    // Zero, negative or NaN delays from a data file all count as 0, which keeps the time
    // always moving towards the end of the frame.
    return std::max(0.0f, speed * frame->delay);
}

void AnimationReference::step() {
    if (target >= index)
        ++index;
    else
        --index;
    if (index >= animation->frames.size())
        index = 0;
    setFrame(&animation->frames[index]);
}

namespace {

// Takes `delay` (>= 0) from `time`. A delay too small to change the time at its magnitude
// (1e-17 from 16) would leave it where it was forever; then the time left in the frame is the
// remainder, which is below one delay and so ends the walk. An infinite delay (a huge delay
// times a huge speed) is a frame that never ends: its time starts at 0.
void useUp(GLfloat& time, GLfloat delay) {
    const GLfloat before = time;
    time -= delay;
    if (!std::isfinite(time))
        time = 0;
    else if (delay > 0 && !(time < before))
        time = std::fmod(before, delay);
}

}  // namespace

void AnimationReference::perform(float ticks) {
    debug::MessageScope scope("AnimationReference::perform()");
    if (!frame || index == target)
        return;
    timeIndex += ticks;
    if (!std::isfinite(timeIndex)) {
        timeIndex = 0;
        return;
    }
    const std::size_t count = animation->frames.size();
    std::size_t steps = 0;
    while (timeIndex > scaledDelay()) {
        if (index == target) {
            // Playing has stopped; only the remainder is still reduced, as steps in place
            // would, but many delays at once. Rounding can only make this take fewer delays,
            // never more; the loop takes the rest.
            const GLfloat d = scaledDelay();
            if (d <= 0) {
                timeIndex = 0;
                break;
            }
            useUp(timeIndex, d * std::max(1.0f, std::floor((timeIndex - d) / d)));
            continue;
        }
        step();
        useUp(timeIndex, scaledDelay());
        // Only a looping animation gets this far: a whole cycle has passed in this call, so
        // the time left may span many more. Whole cycles change nothing but the time, so they
        // are skipped at once, leaving at most two more cycles to step through (after each
        // further cycle when rounding left more).
        if (++steps % count == 0) {
            GLfloat cycle = 0, longest = 0;
            for (const AnimationFrame& f : animation->frames) {
                const GLfloat d = std::max(0.0f, speed * f.delay);
                cycle += d;
                longest = std::max(longest, d);
            }
            if (cycle <= 0) {
                timeIndex = 0;
                break;
            }
            if (timeIndex > cycle + longest)
                useUp(timeIndex, cycle * (std::ceil((timeIndex - longest) / cycle) - 1));
        }
    }
}

bool AnimationReference::isFinished() const {
    return index == target && !(animation && animation->loop);
}

void AnimationReference::draw(const Vector2D& pos) {
    debug::MessageScope scope("AnimationReference::draw(const Vector2D&)");
    if (image)
        image->draw(pos);
}

void AnimationReference::draw(const Rect& rect) {
    debug::MessageScope scope("AnimationReference::draw(const Rect&)");
    if (image)
        image->draw(rect);
}

void AnimationReference::drawStretched(const Rect& rect) {
    debug::MessageScope scope("AnimationReference::drawStretched(const Rect&)");
    if (image)
        image->drawStretched(rect);
}

}  // namespace gfx
}  // namespace lumo

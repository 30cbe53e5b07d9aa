#pragma once
// Closing the SDL window the way a window manager does when the user clicks its close box.

namespace lumo {
namespace testing {

/// Sends the window's WM_DELETE_WINDOW request over a connection of its own; SDL turns it into a
/// quit event. False when there is no X11 window to send it to.
bool requestWindowClose();

}  // namespace testing
}  // namespace lumo

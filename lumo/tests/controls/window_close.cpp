#include "controls/window_close.hpp"

// Kept apart from the tests: Xlib's macros (None, Bool, Status...) clash with other headers.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

namespace lumo {
namespace testing {

bool requestWindowClose() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) != 1 || info.subsystem != SDL_SYSWM_X11)
        return false;
    // The protocol is set on SDL's outer (window manager) window.
    Window target = info.info.x11.wmwindow;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = target;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    Status sent = XSendEvent(display, target, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return sent != 0;
}

}  // namespace testing
}  // namespace lumo

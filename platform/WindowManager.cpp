#include "platform/WindowManager.h"

#ifdef TINTORIX_HAS_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>

bool X11WindowManagerRuns() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        return true;
    }
    Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    bool found = false;
    if (check != None) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        found = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type,
                                   &format, &count, &after, &data) == Success &&
                count == 1;
        if (data) {
            XFree(data);
        }
    }
    XCloseDisplay(display);
    return found;
}
#else
bool X11WindowManagerRuns() {
    return true;
}
#endif

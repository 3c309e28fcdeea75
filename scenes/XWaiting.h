#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gfx/ZAscii.h"
#include "scenes/XFrontEnd.h"

class XAppData;

// A computer that joined another's online match waits here, in the game's own letters, until the host
// starts a match; Escape leaves for the title. When the host is gone it says why.
class XWaiting {
public:
    explicit XWaiting(XAppData* app);
    XWaiting(const XWaiting&) = delete;
    XWaiting& operator=(const XWaiting&) = delete;
    virtual ~XWaiting();

    void UpdateFrame();
    // What the screen says, a line each.
    std::vector<std::string> GetLines() const;

private:
    XAppData* app;
    std::unique_ptr<XFrontEnd> frontEnd;
    std::unique_ptr<ZAscii> text;
};

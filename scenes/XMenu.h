#pragma once

class XAppData;

class XMenu {
public:
    explicit XMenu(XAppData* app);
    XMenu(const XMenu&) = delete;
    XMenu& operator=(const XMenu&) = delete;
    virtual ~XMenu();

    void UpdateFrame();

private:
    XAppData* app;
};

#pragma once

class XAppData;

class XTitle {
public:
    explicit XTitle(XAppData* app);
    XTitle(const XTitle&) = delete;
    XTitle& operator=(const XTitle&) = delete;
    virtual ~XTitle();

    void UpdateFrame();

private:
    XAppData* app;
};

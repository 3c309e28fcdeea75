#pragma once

class XAppData;

class XWinner {
public:
    explicit XWinner(XAppData* app);
    XWinner(const XWinner&) = delete;
    XWinner& operator=(const XWinner&) = delete;
    virtual ~XWinner();

    void UpdateFrame();

private:
    XAppData* app;
};

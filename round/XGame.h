#pragma once

class XAppData;

class XGame {
public:
    explicit XGame(XAppData* app);
    XGame(const XGame&) = delete;
    XGame& operator=(const XGame&) = delete;
    virtual ~XGame();

    void UpdateFrame();

private:
    XAppData* app;
};

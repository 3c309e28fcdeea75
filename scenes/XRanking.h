#pragma once

class XAppData;

class XRanking {
public:
    explicit XRanking(XAppData* app);
    XRanking(const XRanking&) = delete;
    XRanking& operator=(const XRanking&) = delete;
    virtual ~XRanking();

    void UpdateFrame();

private:
    XAppData* app;
};

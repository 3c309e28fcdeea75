#pragma once

#include "base/ZString.h"

// Registry roots; the game only uses the current user's.
enum class RegistryRoot { CurrentUser };

// One open registry key with typed value access. The key is a per-user file (see ZWinReg.cpp).
class ZWinReg {
public:
    ZWinReg();
    ZWinReg(const ZWinReg&) = delete;
    ZWinReg& operator=(const ZWinReg&) = delete;
    virtual ~ZWinReg();

    bool Create(RegistryRoot root, const char* path);
    bool Close();
    bool SetString(const char* name, const ZString& value);
    bool GetString(const char* name, ZString& value);
};

#include "base/ZWinReg.h"

// Placeholder until the per-user registry file lands: no key can be opened.
ZWinReg::ZWinReg() = default;
ZWinReg::~ZWinReg() { Close(); }
bool ZWinReg::Create(RegistryRoot, const char*) { return false; }
bool ZWinReg::Close() { return false; }
bool ZWinReg::SetString(const char*, const ZString&) { return false; }
bool ZWinReg::GetString(const char*, ZString&) { return false; }

#include "base/ZStringList.h"

ZStringList::~ZStringList() { Clear(); }

void ZStringList::Add(const ZString& text) { strings.Add(new ZString(text)); }

ZString& ZStringList::GetAt(uint32_t index) const { return *static_cast<ZString*>(strings.GetAt(index)); }

void ZStringList::Clear() {
    for (uint32_t i = 0; i < strings.GetCount(); ++i) {
        delete static_cast<ZString*>(strings.GetAt(i));
    }
    strings.Clear();
}

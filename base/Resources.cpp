#include "base/Resources.h"

#include <algorithm>
#include <map>
#include <utility>

namespace {

struct ResourceEntry {
    uint32_t type;
    uint32_t id;
    const uint8_t* bytes;
    uint64_t size;
};

std::map<std::pair<uint32_t, uint32_t>, std::vector<uint8_t>>& Overrides() {
    static std::map<std::pair<uint32_t, uint32_t>, std::vector<uint8_t>> overrides;
    return overrides;
}

uint32_t generation = 0;

}  // namespace

extern "C" const ResourceEntry tintorix_resource_table[];
extern "C" const uint32_t tintorix_resource_count;

bool FindResource(ResourceType type, uint32_t id, ResourceData* out) {
    auto key = std::make_pair(static_cast<uint32_t>(type), id);
    auto found = Overrides().find(key);
    if (found != Overrides().end()) {
        if (found->second.empty()) {
            return false;
        }
        *out = ResourceData{found->second.data(), found->second.size()};
        return true;
    }
    for (uint32_t i = 0; i < tintorix_resource_count; ++i) {
        const ResourceEntry& entry = tintorix_resource_table[i];
        if (entry.type == key.first && entry.id == id) {
            *out = ResourceData{entry.bytes, static_cast<size_t>(entry.size)};
            return true;
        }
    }
    return false;
}

std::vector<uint32_t> ListResources(ResourceType type) {
    std::vector<uint32_t> ids;
    for (uint32_t i = 0; i < tintorix_resource_count; ++i) {
        if (tintorix_resource_table[i].type == static_cast<uint32_t>(type)) {
            ids.push_back(tintorix_resource_table[i].id);
        }
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

void OverrideResource(ResourceType type, uint32_t id, std::vector<uint8_t> bytes) {
    Overrides()[std::make_pair(static_cast<uint32_t>(type), id)] = std::move(bytes);
    ++generation;
}

void ClearResourceOverrides() {
    Overrides().clear();
    ++generation;
}

uint32_t ResourceGeneration() {
    return generation;
}

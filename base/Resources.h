#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Resource types, as the executable's resource section knew them.
enum class ResourceType : uint32_t { Bitmap = 2, Wave = 100 };

struct ResourceData {
    const uint8_t* bytes = nullptr;
    size_t size = 0;
};

// Finds a resource compiled into the executable (or one a test put in its place).
bool FindResource(ResourceType type, uint32_t id, ResourceData* out);
// Every resource number of a type that the executable carries, ascending.
std::vector<uint32_t> ListResources(ResourceType type);

// Tests put their own bytes in place of (or beside) the embedded resources; an empty block hides one.
void OverrideResource(ResourceType type, uint32_t id, std::vector<uint8_t> bytes);
void ClearResourceOverrides();
// Changes whenever resources are put in place or cleared, so that what was made from them can be remade.
uint32_t ResourceGeneration();

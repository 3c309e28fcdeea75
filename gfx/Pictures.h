#pragma once

#include <cstdint>

#include "gfx/Surface.h"

// The picture of a bitmap resource decoded into a surface, top row first: each resource is decoded once
// per run and kept, so that sprites made again and again (effects, every round's field) only copy it.
// Null when the resource is missing or no 8-bit bitmap.
const Surface* FindPicture(uint16_t bitmapId);

#include "gfx/Maths.h"

#include <cmath>
#include <ctime>

namespace {

uint32_t randomState = 1;
float sineTable[256];
float cosineTable[256];
bool tablesBuilt = false;

}  // namespace

void SeedRandom() {
    // Milliseconds since boot, so that every run plays differently.
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    SeedRandomWith(static_cast<uint32_t>(now.tv_sec * 1000u + now.tv_nsec / 1000000));
}

void SeedRandomWith(uint32_t seed) { randomState = seed; }

uint32_t GetRandomState() { return randomState; }

int Random(int n) {
    if (n <= 0) {
        return 0;
    }
    randomState = randomState * 214013u + 2531011u;
    int output = static_cast<int>((randomState >> 16) & 32767u);
    return output % n;
}

int RoundToInt(double x) {
    // Out-of-range values saturate instead of being undefined.
    if (!(x == x)) {
        return 0;
    }
    if (x >= 2147483647.0) {
        return 2147483647;
    }
    if (x <= -2147483648.0) {
        return -2147483647 - 1;
    }
    if (x >= 0.0) {
        return static_cast<int>(x + 0.5);
    }
    return static_cast<int>(x - 0.5);
}

void BuildDirectionTables() {
    for (int i = 0; i < 256; ++i) {
        double a = i * (kTwoPi / 256);
        sineTable[i] = static_cast<float>(RoundToInt(std::sin(a) * 100000.0)) / 100000.0f;
        cosineTable[i] = static_cast<float>(RoundToInt(std::cos(a) * 100000.0)) / 100000.0f;
    }
    tablesBuilt = true;
}

float Sin256(int direction) {
    if (direction < 0) {
        return 0.0f;
    }
    if (!tablesBuilt) {
        BuildDirectionTables();
    }
    return sineTable[direction % 256];
}

float Cos256(int direction) {
    if (direction < 0) {
        return 0.0f;
    }
    if (!tablesBuilt) {
        BuildDirectionTables();
    }
    return cosineTable[direction % 256];
}

namespace {

// Wide arithmetic, so that extreme directions cannot overflow on their way into 0 to 255.
int Normalise(int64_t d) {
    int64_t r = d % 256;
    return static_cast<int>(r < 0 ? r + 256 : r);
}

}  // namespace

int NormaliseDirection(int d) { return Normalise(d); }

int AddDirection(int d, int n) {
    if (d == -1) {
        return -1;
    }
    return Normalise(static_cast<int64_t>(d) + n);
}

int SubtractDirection(int d, int n) {
    if (d == -1) {
        return -1;
    }
    return Normalise(static_cast<int64_t>(d) - n + 256);
}

int ReflectAtVerticalWall(int d) {
    if (d == -1) {
        return -1;
    }
    return Normalise(384 - static_cast<int64_t>(d));
}

int ReflectAtHorizontalWall(int d) {
    if (d == -1) {
        return -1;
    }
    return Normalise(256 - static_cast<int64_t>(d));
}

int TurnToward(int current, int target, int step) {
    if (current == target) {
        return current;
    }
    int left;
    int right;
    if (target > current) {
        left = target - current;
        right = 256 - target + current;
    } else {
        left = 256 - current + target;
        right = current - target;
    }
    if (left < right) {
        return AddDirection(current, step);
    }
    return SubtractDirection(current, step);
}

int DirectionBetween(int x1, int y1, int x2, int y2) {
    double a = std::atan2(static_cast<double>(y1 - y2), static_cast<double>(x2 - x1));
    if (a < 0) {
        a += kTwoPi;
    }
    a += (kTwoPi / 256) / 2;
    if (a >= kTwoPi) {
        a -= kTwoPi;
    }
    int d = static_cast<int>(a / (kTwoPi / 256));
    return d > 255 ? 255 : d;
}

int DirectionTo32(int d) {
    if (d == -1) {
        return -1;
    }
    return NormaliseDirection(RoundToInt(d / 8.0)) % 32;
}

double Distance(int x1, int y1, int x2, int y2) {
    // Squares in doubles: far-apart points must not overflow.
    double dx = static_cast<double>(x1) - x2;
    double dy = static_cast<double>(y1) - y2;
    return std::sqrt(dx * dx + dy * dy);
}

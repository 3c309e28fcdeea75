#pragma once

#include <cstdint>

// Directions are 1/256 of a turn, counter-clockwise from right with screen y growing down:
// 0 right, 64 up, 128 left, 192 down, -1 none.
constexpr double kTwoPi = 6.2831853071796;

void SeedRandom();
void SeedRandomWith(uint32_t seed);
uint32_t GetRandomState();
// 0 to n - 1; 0 without drawing when n is 0 or negative.
int Random(int n);

// Halves round away from zero.
int RoundToInt(double x);

void BuildDirectionTables();
float Sin256(int direction);
float Cos256(int direction);

int NormaliseDirection(int d);
int AddDirection(int d, int n);
int SubtractDirection(int d, int n);
int ReflectAtVerticalWall(int d);
int ReflectAtHorizontalWall(int d);
int TurnToward(int current, int target, int step);
int DirectionBetween(int x1, int y1, int x2, int y2);
int DirectionTo32(int d);

double Distance(int x1, int y1, int x2, int y2);

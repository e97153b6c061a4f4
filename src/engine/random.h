#pragma once
#include <cstdint>

// The game's random generator: Park-Miller minimal standard (multiplier 48271) by Schrage's method,
// and the degree-based trigonometry the game uses.

// state = seed AND 0x7FFFFFFF; a seed whose double (in 32 bits) is 0 or -2 gives 4660 instead.
void SeedRandom(int seed);
// The raw state, for tests and for saving a sequence position.
int RandomState();
void SetRandomState(int state);

double RandomReal();                   // [0, 1), two steps
double RandomReal(double a, double b); // between a and b, whichever is larger
int RandomInt(int a, int b);           // both ends included; reversed bounds allowed
float RandomFloat();                   // [0, 1), one step

double SinDeg(double degrees);
double CosDeg(double degrees);
double ATan2Deg(double y, double x); // (-180, 180]

// Real to integer by truncation toward zero; NaN gives 0 and values beyond int saturate instead of
// being undefined.
int TruncInt(double value);

// Maths whose results reach the picture and must be the same on every
// target and every installation: computed by our own code from the basic
// operations only, instead of by the C library of the system at hand.
#pragma once

// The arc sine of s (in [-1, 1]) rounded to float: for every float in
// [-1, 1] the same value as float(asin(double(s))) with the GNU C library.
float maths_arc_sine(float s);

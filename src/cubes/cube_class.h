#pragma once

// The cube code is compiled once per width class: cubes of a fixed number of 64-bit words, so a
// narrow function runs on one input word and a wide one still fits (cubes/width_classes.h lists the
// classes). The build passes the class of each copy, whose declarations live in an inline namespace
// of that name; code that includes the cube headers without one gets the narrowest.
#ifndef VORMEL_CUBE_CLASS
#define VORMEL_CUBE_IN_WORDS 1
#define VORMEL_CUBE_OUT_WORDS 2
#define VORMEL_CUBE_CLASS w1x2
#endif

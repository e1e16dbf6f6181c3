// The arithmetic of generated node names: the next number from the current one, asking for a
// seed only when the counter stands at 0 (the first name of a process, or the counter has run
// up to 0 from a negative seed).
#pragma once

#include <windows.h>

#include <functional>

// The number of the next name. readSeed is called only when nCounter is 0; a seed of 0 starts
// the names at 1. Past INT_MAX the numbers wrap to INT_MIN instead of overflowing.
int NextNameNumber(int nCounter, const std::function<LONG()>& readSeed);

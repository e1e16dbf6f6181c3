#include "scene/NameCounter.h"

int NextNameNumber(int nCounter, const std::function<LONG()>& readSeed) {
    if (nCounter != 0)
        return static_cast<int>(static_cast<unsigned>(nCounter) + 1u);
    const LONG nSeed = readSeed();
    return nSeed != 0 ? nSeed : 1;
}

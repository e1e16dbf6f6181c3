#include "ComObject.h"

namespace engine_detail {
std::atomic<LONG> g_nLiveObjects{0};
} // namespace engine_detail

LONG LiveEngineObjects() {
    return engine_detail::g_nLiveObjects;
}

#include "base/random.h"

namespace orv {
uint32_t& Random::State() {
    static uint32_t state = 0;
    return state;
}
} // namespace orv

#include "csv2pnp/carrier_frequency.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace csv2pnp {

std::uint32_t parseCarrierFrequency(const char* text) {
    long long value = std::strtoll(text, nullptr, 10);
    long long clamped = std::clamp<long long>(value, std::numeric_limits<std::int32_t>::min(),
                                              std::numeric_limits<std::int32_t>::max());
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(clamped));
}

}  // namespace csv2pnp

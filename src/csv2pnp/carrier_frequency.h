// The -i value, read as atol reads it where a long has 32 bits, and held unsigned.
#pragma once

#include <cstdint>

namespace csv2pnp {

// Leading white space skipped, a sign and digits read, 0 without digits, clamped to the
// signed 32-bit range; a negative n becomes n + 2^32.
std::uint32_t parseCarrierFrequency(const char* text);

}  // namespace csv2pnp

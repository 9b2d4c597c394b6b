// Expands "*" and "?" in file operands where the command prompt hands them over as typed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/host.h"

namespace csv2pnp {

// Whether name matches pattern, "*" standing for any run of characters and "?" for one,
// ASCII letters compared without regard to case, as Windows compares file names.
bool matchesWildcard(std::string_view name, std::string_view pattern);

// An operand whose last path component holds "*" or "?" becomes the regular files of its
// directory that match, sorted by name, each behind the operand's directory part as typed.
// Any other operand, and a pattern that matches nothing, stays as it is.
std::vector<std::string> expandWildcards(const std::string& operand, const Host& host);

}  // namespace csv2pnp

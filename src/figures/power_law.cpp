#include "figures/power_law.h"

#include "numeric/numeric.h"
#include "numeric/portable_math.h"

namespace csv2pnp {

namespace {

const double ln10 = math::log(10.0);

}  // namespace

double levelBetween(const TracePoint& a, const TracePoint& b, double offset) {
    return a.level + (b.level - a.level) * logRatio(a.offset, offset) / logRatio(a.offset, b.offset);
}

double powerLawExponent(const TracePoint& a, const TracePoint& b) {
    return (b.level - a.level) * ln10 / (10 * logRatio(a.offset, b.offset));
}

}  // namespace csv2pnp

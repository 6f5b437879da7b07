#pragma once
// ΔT = TT - UT in seconds: what the earth's irregular rotation adds to the ephemeris clock.

namespace cal {

// ΔT at a decimal year (2024.5 is mid-2024). Observed values for the past, an extrapolation
// for the years after the last observed one.
double deltaTSeconds(double decimal_year);

}  // namespace cal

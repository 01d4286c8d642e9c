#pragma once

#include "Instant.h"

// Where the sun stands as seen from the earth: its apparent ecliptic longitude from a truncated VSOP87
// earth series with nutation and aberration, and the step between terrestrial and universal time.
// Good to about a second of arc, a few seconds of time, between 1900 and 2100.
namespace TovikSolarLongitude {

// Degrees in [0, 360) at a Julian ephemeris day (terrestrial time).
double apparentLongitude(double julianEphemerisDay);

// TT − UT in seconds for a year with fraction (1900.0 … 2150.0 from the Espenak–Meeus polynomials,
// a long-term parabola outside).
double deltaT(double year);

// The instant at which the apparent longitude reaches `degrees`, searched from `estimate` (a Julian
// ephemeris day within a few days of it).
Instant instantOfLongitude(double degrees, double estimate);

} // namespace TovikSolarLongitude

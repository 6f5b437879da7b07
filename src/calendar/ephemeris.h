#pragma once
// The real sun and moon, through the IAU's SOFA routines (ERFA). Moments are Beijing-time day
// numbers: the count of equivalentDays (civil_date.h) of the day, plus the time of day in
// Beijing time as fraction: UTC+8, except 1912..1928, when the almanacs reckoned Beijing local
// mean time (UTC+7:45:40).

namespace cal {

// Beijing-time day number of a civil date and clock time.
double localDayNumber(int y, int m, int d, int hour = 0, int minute = 0, double second = 0);

// Apparent geocentric ecliptic longitude of the sun (true equinox of date, with nutation and
// aberration) in degrees 0..360 at a moment.
double apparentSolarLongitude(double local_day);

// The moment near `guess` (within a few days) when the sun's apparent longitude is
// `longitude_deg` (a multiple of 15 for the solar terms).
double solarLongitudeMoment(double longitude_deg, double guess);

// The new moon (apparent conjunction in longitude) nearest to `guess` (within ten days).
double newMoonMoment(double guess);

// The equation of time (apparent minus mean solar time) in seconds at a UTC moment given as
// civil date and seconds of the day: the Greenwich hour angle of the true sun (apparent sidereal
// time less its apparent right ascension) against mean time.
double equationOfTimeSeconds(int y, int m, int d, double utcSeconds);

// Mean new moon number `lunation` (0 the one of 6 January 2000) as a first guess.
double meanNewMoon(int lunation);
// Number of the mean new moon nearest to a moment.
int lunationNear(double local_day);

}  // namespace cal

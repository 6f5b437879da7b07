#include "calendar/ephemeris.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

#include "calendar/civil_date.h"
#include "calendar/delta_t.h"

namespace cal {
namespace {

// equivalentDays counts 2000-01-01 as 730120; that midnight is JD 2451544.5 (UT).
constexpr double kJulianDayOfDayZero = 1721424.5;
constexpr double kDaySeconds = 86400;
constexpr double kJ2000 = 2451545.0;
constexpr double kBeijingOffsetDays = 8.0 / 24;
// From 1912 to the end of 1928 the almanacs of the Central Observatory reckoned days by the
// mean sun at Beijing's meridian (116°25′E, UTC+7:45:40); the new moons and terms of those
// years are placed on their days as those almanacs placed them.
constexpr double kBeijingMeanTimeOffsetDays = (7 * 3600 + 45 * 60 + 40) / kDaySeconds;
double utcOffsetDays(double local_day) {
    static const double first_mean_time_day = double(equivalentDays(1912, 1, 1));
    static const double first_zone_time_day = double(equivalentDays(1929, 1, 1));
    const bool mean_time = local_day >= first_mean_time_day && local_day < first_zone_time_day;
    return mean_time ? kBeijingMeanTimeOffsetDays : kBeijingOffsetDays;
}

// The two-part Terrestrial Time ERFA takes: J2000 plus days from it.
struct TT {
    double base = kJ2000;
    double days = 0;
};

TT terrestrialTime(double local_day) {
    const double jd_ut = local_day - utcOffsetDays(local_day) + kJulianDayOfDayZero;
    const double year = 2000 + (jd_ut - 2451544.5) / 365.2425;
    return {kJ2000, jd_ut - kJ2000 + deltaTSeconds(year) / kDaySeconds};
}

double wrapDegrees(double d) {  // into -180..180
    d = std::fmod(d, 360.0);
    if (d > 180) d -= 360;
    if (d < -180) d += 360;
    return d;
}

// Longitude (degrees) and its rate (degrees per day) in the mean ecliptic of date of a
// position and velocity given in ICRS axes.
struct EclipticMotion {
    double longitude = 0;
    double rate = 0;
};

EclipticMotion eclipticMotion(double rm[3][3], double p[3], double v[3]) {
    double q[3], w[3];
    eraRxp(rm, p, q);
    eraRxp(rm, v, w);
    const double r2 = q[0] * q[0] + q[1] * q[1];
    return {std::atan2(q[1], q[0]) * ERFA_DR2D, (q[0] * w[1] - q[1] * w[0]) / r2 * ERFA_DR2D};
}

// The sun as seen from the earth's centre: light time and annual aberration applied, in the
// mean ecliptic of date (nutation is added by the caller where it matters).
EclipticMotion sunOfDate(const TT& tt, double rm[3][3]) {
    double helio[2][3], bary[2][3];
    eraEpv00(tt.base, tt.days, helio, bary);
    double geo[3], velocity[3];
    for (int i = 0; i < 3; ++i) {
        geo[i] = -helio[0][i];
        velocity[i] = -helio[1][i];
    }
    const double light_days = eraPm(geo) * ERFA_AULT / kDaySeconds;
    double sun[3];
    for (int i = 0; i < 3; ++i) sun[i] = geo[i] - light_days * (bary[1][i] - helio[1][i]);  // the sun's own motion
    double distance = 0, direction[3];
    eraPn(sun, &distance, direction);
    double v_over_c[3];
    for (int i = 0; i < 3; ++i) v_over_c[i] = bary[1][i] * ERFA_AULT / kDaySeconds;
    const double speed = eraPm(v_over_c);
    double apparent[3];
    eraAb(direction, v_over_c, distance, std::sqrt(1 - speed * speed), apparent);
    for (double& c : apparent) c *= distance;  // the rate needs the true distance beside the velocity
    return eclipticMotion(rm, apparent, velocity);
}

// The sun from ERFA's cheap planetary theory (arcseconds): good enough to get near a moment.
EclipticMotion roughSunOfDate(const TT& tt, double rm[3][3]) {
    double emb[2][3];
    eraPlan94(tt.base, tt.days, 3, emb);
    double geo[3], velocity[3];
    for (int i = 0; i < 3; ++i) {
        geo[i] = -emb[0][i];
        velocity[i] = -emb[1][i];
    }
    EclipticMotion sun = eclipticMotion(rm, geo, velocity);
    sun.longitude -= 20.4955 / 3600;  // annual aberration, its mean value
    return sun;
}

// The moon as seen from the earth's centre, at the moment its light left it.
EclipticMotion moonOfDate(const TT& tt, double rm[3][3]) {
    double pv[2][3];
    eraMoon98(tt.base, tt.days, pv);
    const double light_days = eraPm(pv[0]) * ERFA_AULT / kDaySeconds;
    double p[3];
    for (int i = 0; i < 3; ++i) p[i] = pv[0][i] - light_days * pv[1][i];
    return eclipticMotion(rm, p, pv[1]);
}

double nutationInLongitudeDegrees(const TT& tt) {
    double dpsi = 0, deps = 0;
    eraNut00b(tt.base, tt.days, &dpsi, &deps);
    return dpsi * ERFA_DR2D;
}

}  // namespace

double localDayNumber(int y, int m, int d, int hour, int minute, double second) {
    return double(equivalentDays(y, m, d)) + (hour * 3600 + minute * 60 + second) / kDaySeconds;
}

double apparentSolarLongitude(double local_day) {
    const TT tt = terrestrialTime(local_day);
    double rm[3][3];
    eraEcm06(tt.base, tt.days, rm);
    const double lon = sunOfDate(tt, rm).longitude + nutationInLongitudeDegrees(tt);
    return std::fmod(std::fmod(lon, 360.0) + 360.0, 360.0);
}

double solarLongitudeMoment(double longitude_deg, double guess) {
    // Newton steps with the sun's true rate; from a guess within an hour one step leaves
    // milliseconds, so a second one is only taken after a poor guess.
    double t = guess;
    for (int step = 0; step < 8; ++step) {
        const TT tt = terrestrialTime(t);
        double rm[3][3];
        eraEcm06(tt.base, tt.days, rm);
        const EclipticMotion sun = sunOfDate(tt, rm);
        const double miss = wrapDegrees(longitude_deg - sun.longitude - nutationInLongitudeDegrees(tt));
        const double dt = miss / sun.rate;
        t += dt;
        if (std::fabs(dt) < 0.05) break;  // the next step would move it by less than a tenth of a second
    }
    return t;
}

namespace {

using SunModel = EclipticMotion (*)(const TT&, double[3][3]);

// One Newton step toward the conjunction from moment t: the days to add.
double conjunctionStep(double t, SunModel sunModel) {
    const TT tt = terrestrialTime(t);
    double rm[3][3];
    eraEcm06(tt.base, tt.days, rm);
    const EclipticMotion sun = sunModel(tt, rm);
    const EclipticMotion moon = moonOfDate(tt, rm);
    return wrapDegrees(sun.longitude - moon.longitude) / (moon.rate - sun.rate);
}

}  // namespace

double newMoonMoment(double guess) {
    // Nutation moves both longitudes alike and drops out of the elongation. The cheap sun brings
    // the moment within seconds, one step with the full one finishes it.
    double t = guess;
    for (int step = 0; step < 10; ++step) {
        const double dt = conjunctionStep(t, roughSunOfDate);
        t += dt;
        if (std::fabs(dt) < 1e-4) break;
    }
    for (int step = 0; step < 3; ++step) {
        const double dt = conjunctionStep(t, sunOfDate);
        t += dt;
        if (std::fabs(dt) < 0.01) break;
    }
    return t;
}

double equationOfTimeSeconds(int y, int m, int d, double utcSeconds) {
    const double dayFraction = utcSeconds / kDaySeconds;
    const double jdUtMidnight = double(equivalentDays(y, m, d)) + kJulianDayOfDayZero;
    const double year = 2000 + (jdUtMidnight + dayFraction - 2451544.5) / 365.2425;
    const TT tt{kJ2000, jdUtMidnight + dayFraction - kJ2000 + deltaTSeconds(year) / kDaySeconds};
    double rm[3][3];
    eraEcm06(tt.base, tt.days, rm);
    double dpsi = 0, deps = 0;
    eraNut00b(tt.base, tt.days, &dpsi, &deps);
    const double longitude = sunOfDate(tt, rm).longitude * ERFA_DD2R + dpsi;
    const double obliquity = eraObl06(tt.base, tt.days) + deps;
    const double rightAscension = std::atan2(std::sin(longitude) * std::cos(obliquity), std::cos(longitude));
    // UT1 is taken as UTC: they differ by under a second.
    const double sidereal = eraGmst06(jdUtMidnight, dayFraction, tt.base, tt.days) + dpsi * std::cos(obliquity);
    const double hourAngle = eraAnpm(sidereal - rightAscension);  // of the true sun at Greenwich
    const double meanHourAngle = (dayFraction - 0.5) * ERFA_D2PI;
    return eraAnpm(hourAngle - meanHourAngle) / ERFA_D2PI * kDaySeconds;
}

namespace {
// Meeus, Astronomical Algorithms ch. 49: mean new moon k = 0 at JDE 2451550.09766.
constexpr double kMeanNewMoonZero = 2451550.09766 - kJulianDayOfDayZero + kBeijingOffsetDays;
constexpr double kSynodicMonth = 29.530588861;
}  // namespace

double meanNewMoon(int lunation) { return kMeanNewMoonZero + kSynodicMonth * lunation; }

int lunationNear(double local_day) {
    return static_cast<int>(std::lround((local_day - kMeanNewMoonZero) / kSynodicMonth));
}

}  // namespace cal

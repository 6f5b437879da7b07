// The place of a cast and the clock its pillars follow: time zones through the system's zone
// database, the equation of time from the ephemeris.
#include "chart/cast_place.h"

#include <gtest/gtest.h>

#include "calendar/ephemeris.h"
#include "test_support/qt_printers.h"

namespace {

using chart::CastPlace;
using chart::TimeRule;

TEST(EquationOfTime, AgreesWithPublishedValues) {
    struct Case {
        int y, m, d;
        double utcHour;
        double seconds;  // apparent minus mean solar time
        const char* source;
    };
    const Case cases[] = {
        {2024, 11, 3, 12, 16 * 60 + 25, "its yearly maximum, about +16 min 25 s on 3 November"},
        {2024, 2, 11, 12, -(14 * 60 + 15), "its yearly minimum, about -14 min 15 s on 11 February"},
        {1980, 7, 27, 12, -(6 * 60 + 25), "Duffett-Smith, Practical Astronomy with your Calculator: -6 min 25 s"},
        {1996, 12, 26, 12, -46, "F. de Vries, EoT at 12h UT for 26 December (sundial mailing list)"},
        {1997, 12, 26, 12, -38, "F. de Vries, EoT at 12h UT for 26 December"},
        {1999, 12, 26, 12, -24, "F. de Vries, EoT at 12h UT for 26 December"},
        {1999, 4, 16, 3 + 4 / 60.0 + 36 / 3600.0, 0, "XEphem: zero at 1999-04-16 03:04:36 UTC"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        EXPECT_NEAR(cal::equationOfTimeSeconds(c.y, c.m, c.d, c.utcHour * 3600), c.seconds, 10);
    }
}

TEST(CastPlace, TheDefaultPlaceChangesNothing) {
    const chart::PillarMoment m = chart::pillarMoment(QDate(1988, 6, 1), QTime(12, 0), CastPlace{});
    // 1988 was a summer-time year in China; the default reading keeps the clock as it stands.
    EXPECT_EQ(m.date, QDate(1988, 6, 1));
    EXPECT_EQ(m.time, QTime(12, 0));
    EXPECT_TRUE(m.labelText.isEmpty());
}

TEST(CastPlace, BeijingTimeFromTheLocalClock) {
    struct Case {
        const char* place;
        QDate date;
        QTime time;
        QDate beijingDate;
        QTime beijingTime;
        const char* why;
    };
    const Case cases[] = {
        {"-123.1,America/Vancouver", {2024, 1, 5}, {20, 30}, {2024, 1, 6}, {12, 30}, "PST is UTC-8"},
        {"13.4,Europe/Berlin", {2024, 3, 30}, {12, 0}, {2024, 3, 30}, {19, 0}, "CET, UTC+1, the day before"},
        {"13.4,Europe/Berlin", {2024, 3, 31}, {1, 30}, {2024, 3, 31}, {8, 30}, "CET before the change at 02:00"},
        {"13.4,Europe/Berlin", {2024, 3, 31}, {3, 30}, {2024, 3, 31}, {9, 30}, "CEST, UTC+2, after it"},
        {"13.4,Europe/Berlin", {2024, 10, 27}, {12, 0}, {2024, 10, 27}, {19, 0}, "CET again after 27 October"},
        {"139.7,Asia/Tokyo", {2024, 1, 1}, {0, 30}, {2023, 12, 31}, {23, 30}, "UTC+9: back into the old year"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CastPlace place;
        ASSERT_EQ(chart::applyPlaceText(QString::fromLatin1(c.place), place), std::nullopt);
        const chart::PillarMoment m = chart::pillarMoment(c.date, c.time, place);
        EXPECT_TRUE(m.problem.isEmpty());
        EXPECT_EQ(m.date, c.beijingDate);
        EXPECT_EQ(m.time, c.beijingTime);
    }
}

TEST(CastPlace, AClockTimeSkippedBySummerTimeIsRefused) {
    CastPlace place;
    ASSERT_EQ(chart::applyPlaceText(QStringLiteral("13.4,Europe/Berlin"), place), std::nullopt);
    EXPECT_FALSE(chart::pillarMoment(QDate(2024, 3, 31), QTime(2, 30), place).problem.isEmpty());
}

TEST(CastPlace, TrueSolarTimeIsMeanTimeOfTheLongitudePlusTheEquation) {
    // Berlin 13.4°E at 12:00 CET on 3 November 2024: 11:00 UTC + 53 min 36 s + about 16 min 25 s.
    CastPlace place;
    ASSERT_EQ(chart::applyPlaceText(QStringLiteral("13.4,Europe/Berlin"), place), std::nullopt);
    place.rule = TimeRule::Solar;
    const chart::PillarMoment m = chart::pillarMoment(QDate(2024, 11, 3), QTime(12, 0), place);
    ASSERT_TRUE(m.trueSolarTime);
    EXPECT_NEAR(QTime(12, 10, 1).secsTo(*m.trueSolarTime), 0, 10);
    EXPECT_EQ(m.labelText, QStringLiteral(" 真太阳时 ") + m.trueSolarTime->toString(QStringLiteral("hh:mm")));
    EXPECT_EQ(m.beijingTime, QTime(19, 0));
}

TEST(CastPlace, BadPlacesAreNamed) {
    for (const char* text : {"east", "200", "-181,Europe/Berlin", "13.4,Europe/Atlantis", "nan"}) {
        SCOPED_TRACE(text);
        CastPlace place;
        EXPECT_NE(chart::applyPlaceText(QString::fromLatin1(text), place), std::nullopt);
        EXPECT_TRUE(place.isDefault());
    }
}

}  // namespace

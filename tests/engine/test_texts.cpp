// Sexagesimal texts: truncated degrees and minutes, rounded seconds without carry.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "PosSoleil.h"

using PosSoleil::DegVersDMS;
using PosSoleil::DegVersHMS;

namespace {
const std::string Q = "\"";  // the seconds mark that ends every DMS text but "000000"
}

TEST(DegVersDMS, ReferenceTexts) {
    struct Cas {
        double angle;
        int decimals;
        std::string attendu;
    };
    const Cas cas[] = {
        {42.4966667, 0, " 42°29'48" + Q},
        {42.4966667, 1, " 42°29'48.0" + Q},
        {-23.44, 2, "-23°26'24.00" + Q},
        {123.456789, 2, " 123°27'24.44" + Q},
        {5.5, 1, " 05°30'00.0" + Q},
        {-0.5, 0, "-00°30'00" + Q},
        {-0.0001, 2, "-00°00'00.36" + Q},
        {0, 2, "000000"},
        {-0.0, 1, "000000"},
        {0, 0, "000000"},
        {23.7, 2, " 23°41'60.00" + Q},  // 59.99999999999744 seconds, no carry
        {359.99999, 0, " 359°59'60" + Q},
        {0.015625, 1, " 00°00'56.3" + Q},    // 56.25: an exact half goes away from zero
        {0.0000001, 2, " 00°00'00.00" + Q},  // tiny, but not the zero case
        {400, 1, " 400°00'00.0" + Q},        // never reduced
        {-1000.25, 0, "-1000°15'00" + Q},
        {12.3456789 / 3600, 6, " 00°00'12.346000" + Q},  // five significant digits at most
        {0.125 / 3600, 2, " 00°00'00.13" + Q},
        {2.0302777777777776, 0, " 02°01'49" + Q},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << c.angle << " " << c.decimals);
        EXPECT_EQ(DegVersDMS(c.angle, c.decimals), c.attendu);
    }
}

TEST(DegVersHMS, ReferenceTexts) {
    struct Cas {
        double angle;
        int decimals;
        std::string attendu;
    };
    const Cas cas[] = {
        {280.46, 2, " 18h41mn50.40s"},      {280.46, 0, " 18h41mn50s"},
        {101.287, 2, " 06h45mn08.88s"},     {0, 2, " 00h00mn00.00s"},
        {-0.0, 2, " 00h00mn00.00s"},        {-15, 2, "-01h00mn00.00s"},
        {359.9999999, 2, " 23h59mn60.00s"},  // 59.99964 s: no carry into the minutes
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << c.angle << " " << c.decimals);
        EXPECT_EQ(DegVersHMS(c.angle, c.decimals), c.attendu);
    }
}

TEST(DegVersDMS, LocaleSeparator) {
    EXPECT_EQ(DegVersDMS(42.4966667, 1, ","), " 42°29'48,0" + Q);
    EXPECT_EQ(DegVersDMS(42.4966667, 0, ","), " 42°29'48" + Q);
    EXPECT_EQ(DegVersHMS(280.46, 2, ","), " 18h41mn50,40s");
    EXPECT_EQ(DegVersDMS(-0.0001, 2, "\u066B"), "-00°00'00\u066B36" + Q);  // a multi-byte separator
}

TEST(DegVersDMS, BadInputGivesBoundedText) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(DegVersDMS(nan, 1), "NAN");
    EXPECT_EQ(DegVersDMS(inf, 1), " INF");
    EXPECT_EQ(DegVersDMS(-inf, 1), "-INF");
    EXPECT_EQ(DegVersHMS(nan, 2), "NAN");
    EXPECT_EQ(DegVersHMS(-inf, 2), "-INF");

    // Every integer digit of a huge angle is written: long, but bounded.
    const std::string enorme = DegVersDMS(1e300, 1);
    EXPECT_EQ(enorme.substr(0, 8), " 1000000");
    EXPECT_EQ(enorme.size(), 1 + 301 + 2 + 2 + 1 + 4 + 1);
    EXPECT_LT(DegVersDMS(-std::numeric_limits<double>::max(), 18).size(), 400u);

    // Decimals are held to 0..18.
    EXPECT_EQ(DegVersDMS(5.5, -3), DegVersDMS(5.5, 0));
    EXPECT_EQ(DegVersDMS(5.5, 99), DegVersDMS(5.5, 18));
    EXPECT_EQ(DegVersDMS(5.5, 18), " 05°30'00.000000000000000000" + Q);
    EXPECT_EQ(DegVersHMS(5.5, std::numeric_limits<int>::min()), DegVersHMS(5.5, 0));
}

TEST(DegVersDMS, LayoutOverManyAngles) {
    // Sign, at least two digits, and a seconds field of decimals + 3 characters.
    for (double a = -179.9; a < 180; a += 0.37) {
        const std::string t = DegVersDMS(a, 1);
        ASSERT_EQ(t[0], a < 0 ? '-' : ' ') << a;
        ASSERT_EQ(t.back(), '"') << a;
        const auto minute = t.find('\'');
        ASSERT_NE(minute, std::string::npos);
        ASSERT_EQ(t.size() - minute - 1, 5u) << t;  // "SS.s" and the mark
        ASSERT_EQ(t.substr(minute - 2, 2).find_first_not_of("0123456789"), std::string::npos) << t;
    }
}

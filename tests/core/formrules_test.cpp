// The plain rules of the user information dialog: the heart-rate figures and
// the checks of its number fields.

#include "dialogs/formfield.h"
#include "dialogs/heartrate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(HeartRateFigures, ageCountsFullYearsAroundTheBirthday)
{
    EXPECT_EQ(ageInYears(1980, 6, 10, 2002, 6, 9), 21);
    EXPECT_EQ(ageInYears(1980, 6, 10, 2002, 6, 10), 22);
    EXPECT_EQ(ageInYears(1980, 6, 10, 2002, 5, 31), 21);
    EXPECT_EQ(ageInYears(1980, 6, 10, 2002, 7, 1), 22);
    // 31 February is never reached in February.
    EXPECT_EQ(ageInYears(1980, 2, 31, 2002, 2, 28), 21);
    EXPECT_EQ(ageInYears(1980, 2, 31, 2002, 3, 1), 22);
    EXPECT_EQ(maximumHeartRate(21), 199);
    EXPECT_EQ(maximumHeartRate(22), 198);
}

TEST(HeartRateFigures, karvonenExampleAtAgeThirty)
{
    const TargetHeartRates rates = karvonenRates(190, 60);
    EXPECT_EQ(rates.low, 131);
    EXPECT_EQ(rates.mid, 144);
    EXPECT_EQ(rates.high, 170);
    EXPECT_EQ(rateAtIntensity(190, 60, 70), 151);
    EXPECT_EQ(rateAtIntensity(190, 60, 100), 190);
    EXPECT_EQ(rateAtIntensity(190, 60, 0), 60);
}

TEST(HeartRateFigures, truncatesTowardZeroAndSaturatesHugeInputs)
{
    // A resting rate above the maximum gives a negative reserve.
    EXPECT_EQ(karvonenRates(190, 250).low, 217); // 250 - 33
    EXPECT_EQ(rateAtIntensity(-1780, 60, 70), -1228);
    const int most = std::numeric_limits<int>::max();
    const int least = std::numeric_limits<int>::min();
    EXPECT_EQ(rateAtIntensity(190, 60, most), most);
    EXPECT_EQ(rateAtIntensity(190, 60, least), least);
    // The reserve itself does not fit an int here.
    EXPECT_EQ(karvonenRates(most, least).low, 214748364);
}

TEST(FormFieldText, integersAcceptSignDigitsAndSurroundingBlanks)
{
    EXPECT_EQ(parseFieldInteger("1980"), 1980);
    EXPECT_EQ(parseFieldInteger(" \t+60\t "), 60);
    EXPECT_EQ(parseFieldInteger("-7"), -7);
    EXPECT_EQ(parseFieldInteger("007"), 7);
    EXPECT_EQ(parseFieldInteger("2147483647"), 2147483647);
    EXPECT_EQ(parseFieldInteger("-2147483648"), std::numeric_limits<std::int32_t>::min());
    for (const char *refused : {"", "  ", "+", "-", "1 2", "12a", "1.0", "1e3", "0x10",
                                "2147483648", "99999999999999999999", "\xef\xbc\x91"})
        EXPECT_EQ(parseFieldInteger(refused), std::nullopt) << refused;
}

TEST(FormFieldText, numbersAreDecimalTextOnly)
{
    EXPECT_EQ(parseFieldNumber("170.5"), 170.5);
    EXPECT_EQ(parseFieldNumber(" 1e2 "), 100.0);
    EXPECT_EQ(parseFieldNumber(".5"), 0.5);
    EXPECT_EQ(parseFieldNumber("5."), 5.0);
    EXPECT_EQ(parseFieldNumber("-3E-1"), -0.3);
    EXPECT_EQ(parseFieldNumber("+300"), 300.0);
    for (const char *refused :
         {"", " ", ".", "e5", "1e", "1e+", "inf", "nan", "0x10", "1,5", "1.5.2", "--1", "12cm"})
        EXPECT_EQ(parseFieldNumber(refused), std::nullopt) << refused;
    // Out of the double range: too large is refused by any range check, too
    // small is zero.
    EXPECT_EQ(parseFieldNumber("1e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(parseFieldNumber("-1e999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(parseFieldNumber("1e-999"), 0.0);
    EXPECT_EQ(parseFieldNumber("0.00000000001e-999"), 0.0);
}

TEST(FormFieldText, numbersWrittenBackReadTheSame)
{
    EXPECT_EQ(formatFieldNumber(170.5), "170.5");
    EXPECT_EQ(formatFieldNumber(0), "0");
    EXPECT_EQ(formatFieldNumber(300), "300");
    EXPECT_EQ(formatFieldNumber(0.1), "0.1");
    EXPECT_EQ(formatFieldNumber(1.0 / 3.0), "0.333333333333333");
    // Whatever has at most 15 significant digits, as typed values do, comes back.
    for (const double value : {170.1, 0.3, 1e-7, 123456.789, 123456789012345.0})
        EXPECT_EQ(*parseFieldNumber(formatFieldNumber(value)), value);
}

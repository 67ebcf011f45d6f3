// Lengths as the rich-text dialogs show and read them.
#include "richtext/measurementunits.h"
#include "platform/exception.h"
#include "tests/support/qtprinters.h"

#include <gtest/gtest.h>

namespace {

constexpr auto cm = TwwMeasurementUnits::muCentimeters;
constexpr auto in = TwwMeasurementUnits::muInches;
const QLocale dot(QLocale::English, QLocale::UnitedStates);
const QLocale comma(QLocale::Portuguese, QLocale::Brazil);

TEST(MeasurementUnitsTest, ADialogShowsTwipsAndReadsThemBack)
{
    struct Case {
        int twips;
        TwwMeasurementUnits units;
        const char* shown;
        int back;
    };
    for (const Case c : {Case{720, cm, "1.3 cm", 737}, Case{567, cm, "1 cm", 567}, Case{1440, cm, "2.55 cm", 1447},
                         Case{720, in, "0.5''", 720}, Case{180, in, "0.125''", 180}, Case{0, cm, "0 cm", 0},
                         Case{-720, cm, "-1.3 cm", -737}, Case{31680, cm, "55.8 cm", 31672},
                         Case{1, cm, "0 cm", 0}, Case{-1, in, "0''", 0}}) {
        const QString shown = FormatMeasure(TwipsToUnits(c.twips, c.units), c.units, 0, dot);
        EXPECT_EQ(shown, QString::fromUtf8(c.shown)) << c.twips;
        EXPECT_EQ(UnitsToTwips(shown, c.units, dot), c.back) << c.twips;
    }
}

TEST(MeasurementUnitsTest, TwipsRoundToHundredthsWithHalvesToEven)
{
    // 180 twips = 0.125 inch: the half goes down to the even 0.12; 540 twips
    // = 0.375 inch goes up to 0.38.
    EXPECT_DOUBLE_EQ(TwipsToUnits(180, in), 0.12);
    EXPECT_DOUBLE_EQ(TwipsToUnits(540, in), 0.38);
    EXPECT_DOUBLE_EQ(TwipsToUnits(-180, in), -0.12);
    EXPECT_DOUBLE_EQ(TwipsToUnits(720, cm), 1.27);
    EXPECT_DOUBLE_EQ(TwipsToUnits(1440, cm), 2.54);
    EXPECT_DOUBLE_EQ(TwipsToUnits(567, cm), 1.0);
}

TEST(MeasurementUnitsTest, TheUsersDecimalSeparatorIsWrittenAndRead)
{
    EXPECT_EQ(FormatMeasure(TwipsToUnits(720, cm), cm, 0, comma), QStringLiteral("1,3 cm"));
    EXPECT_EQ(UnitsToTwips(QStringLiteral("1,3 cm"), cm, comma), 737);
    EXPECT_THROW(UnitsToTwips(QStringLiteral("1.3 cm"), cm, comma), Exception);
    EXPECT_EQ(FormatMeasure(0.333, cm, 100, comma), QStringLiteral("0,33 cm"));
}

TEST(MeasurementUnitsTest, TheSuffixAndBlanksAreStrippedFromTheEnd)
{
    for (const char* text : {"2", "2cm", "2 CM", "2 cm   ", "2''", "2 mc'  ", "  2"})
        EXPECT_EQ(UnitsToTwips(QString::fromUtf8(text), in, dot), 2880) << text;
    EXPECT_EQ(UnitsToTwips(QStringLiteral("1e1"), in, dot), 14400);
    EXPECT_EQ(UnitsToTwips(QStringLiteral("-0.5"), in, dot), -720);
    EXPECT_EQ(UnitsToTwips(QStringLiteral("1e300"), in, dot), INT_MAX);
}

TEST(MeasurementUnitsTest, ATextWithoutANumberFailsWithTheConversionMessage)
{
    struct Case {
        const char* text;
        const char* message;
    };
    for (const Case c : {Case{"", "'' is not a valid floating point value"},
                         Case{"cm", "'' is not a valid floating point value"},
                         Case{"abc", "'ab' is not a valid floating point value"},
                         Case{"1.2.3", "'1.2.3' is not a valid floating point value"},
                         Case{"1,000", "'1,000' is not a valid floating point value"},
                         Case{"inf", "'inf' is not a valid floating point value"},
                         Case{"1e", "'1e' is not a valid floating point value"}}) {
        try {
            UnitsToTwips(QString::fromUtf8(c.text), cm, dot);
            ADD_FAILURE() << c.text;
        } catch (const Exception& e) {
            EXPECT_EQ(e.message(), c.message) << c.text;
        }
    }
}

TEST(MeasurementUnitsTest, TheGridOfEachUnit)
{
    EXPECT_EQ(FormatMeasure(1.27, cm, 0, dot), QStringLiteral("1.3 cm"));   // 0.05 cm
    EXPECT_EQ(FormatMeasure(1.24, cm, 0, dot), QStringLiteral("1.25 cm"));
    EXPECT_EQ(FormatMeasure(0.19, in, 0, dot), QStringLiteral("0.25''"));   // 0.125 inch
    EXPECT_EQ(FormatMeasure(0.42, cm, 100, dot), QStringLiteral("0.42 cm")); // 0.01 unit
    EXPECT_EQ(FormatMeasure(-0.01, cm, 0, dot), QStringLiteral("0 cm"));
    EXPECT_EQ(FormatNumber(1.27, dot), QStringLiteral("1.27"));
    EXPECT_EQ(FormatNumber(1.27, comma), QStringLiteral("1,27"));
}

}  // namespace

#pragma once
// The lengths the user sees and types in the rich-text windows, and the twips
// (1/1440 inch) every rich edit works in.
//
// Centimetres convert at 2.537 per inch, not 2.54: stored paragraph formats
// and the dialogs' round trips (720 twips shows as "1.3 cm" and comes back as
// 737) depend on that factor, so it is kept. Numbers are written and read
// with the user's decimal separator (the locale passed in, the system's by
// default).
#include <QLocale>
#include <QString>

enum class TwwMeasurementUnits { muInches, muCentimeters };

// The suffix shown after a number: " cm", or "''" for inches.
QString UnitSuffix(TwwMeasurementUnits units);

// A length in twips as units, rounded to the nearest hundredth, halves to the
// even neighbour (computed exactly, without binary fractions).
double TwipsToUnits(int twips, TwwMeasurementUnits units);

// A typed length back in twips: trailing blanks, apostrophes and the letters
// c and m (either case) are stripped and the rest read as a number; the twips
// are truncated towards zero, and held to the range of int. Raises Exception
// "'%s' is not a valid floating point value" when no number is left.
int UnitsToTwips(const QString& text, TwwMeasurementUnits units, const QLocale& locale = QLocale());

// x on a grid of 1/d unit (d 0: 20 for centimetres, 8 for inches), written in
// its shortest form followed by the unit suffix: "1.3 cm", "0.125''".
QString FormatMeasure(double x, TwwMeasurementUnits units, int d = 0, const QLocale& locale = QLocale());

// The number alone, in its shortest form with the locale's separator.
QString FormatNumber(double x, const QLocale& locale = QLocale());

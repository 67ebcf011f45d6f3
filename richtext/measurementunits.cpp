#include "richtext/measurementunits.h"

#include "platform/exception.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

// n / d rounded to the nearest integer, halves to even (d > 0).
std::int64_t divideRoundHalfEven(std::int64_t n, std::int64_t d)
{
    std::int64_t q = n / d;
    std::int64_t r = n % d;
    if (r < 0) {  // floor division, so that the remainder is in [0, d)
        q -= 1;
        r += d;
    }
    if (2 * r > d || (2 * r == d && (q % 2 != 0)))
        q += 1;
    return q;
}

// Thousandths as text: "-1.25", "0.125", "3".
QString thousandthsText(std::int64_t k, const QLocale& locale)
{
    const bool negative = k < 0;
    const std::uint64_t magnitude = negative ? std::uint64_t(-(k + 1)) + 1 : std::uint64_t(k);
    QString text = QString::number(magnitude / 1000);
    std::uint64_t fraction = magnitude % 1000;
    if (fraction != 0) {
        QString digits = QString::number(fraction).rightJustified(3, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += locale.decimalPoint() + digits;
    }
    return negative && magnitude != 0 ? QLatin1Char('-') + text : text;
}

[[noreturn]] void notANumber(const QString& text)
{
    throw Exception(QStringLiteral("'%1' is not a valid floating point value").arg(text).toStdString());
}

// A decimal number with the locale's separator: optional blanks before it,
// a sign, digits with at most one separator, an optional exponent.
double readNumber(const QString& text, const QLocale& locale)
{
    QString s = text;
    int start = 0;
    while (start < s.size() && s[start] == QLatin1Char(' '))
        ++start;
    s = s.mid(start);
    const QString separator = locale.decimalPoint();
    std::string ascii;
    for (int i = 0; i < s.size();) {
        if (s.mid(i, separator.size()) == separator) {
            ascii += '.';
            i += int(separator.size());
            continue;
        }
        const QChar c = s[i];
        if (c.unicode() > 127 || (c == QLatin1Char('.') && separator != QStringLiteral(".")))
            notANumber(text);
        ascii += char(c.unicode());
        ++i;
    }
    // Only digits, one point, a leading sign and an exponent are numbers here;
    // from_chars alone would take "inf" and "nan".
    std::size_t i = 0;
    if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-'))
        ++i;
    bool digits = false, point = false;
    for (; i < ascii.size(); ++i) {
        if (ascii[i] >= '0' && ascii[i] <= '9')
            digits = true;
        else if (ascii[i] == '.' && !point)
            point = true;
        else
            break;
    }
    if (!digits)
        notANumber(text);
    if (i < ascii.size() && (ascii[i] == 'e' || ascii[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < ascii.size() && (ascii[j] == '+' || ascii[j] == '-'))
            ++j;
        const std::size_t exponentDigits = j;
        while (j < ascii.size() && ascii[j] >= '0' && ascii[j] <= '9')
            ++j;
        if (j == exponentDigits)
            notANumber(text);
        i = j;
    }
    if (i != ascii.size())
        notANumber(text);
    double value = 0;
    const char* begin = ascii.data() + (ascii[0] == '+' ? 1 : 0);
    const auto [end, ec] = std::from_chars(begin, ascii.data() + ascii.size(), value);
    if (ec == std::errc::result_out_of_range)
        return ascii[0] == '-' ? -HUGE_VAL : HUGE_VAL;
    if (ec != std::errc() || end != ascii.data() + ascii.size())
        notANumber(text);
    return value;
}

}  // namespace

QString UnitSuffix(TwwMeasurementUnits units)
{
    return units == TwwMeasurementUnits::muCentimeters ? QStringLiteral(" cm") : QStringLiteral("''");
}

double TwipsToUnits(int twips, TwwMeasurementUnits units)
{
    // Hundredths of a centimetre: twips / 1440 * 2.537 * 100 = twips * 2537 / 14400;
    // hundredths of an inch: twips * 100 / 1440 = twips * 5 / 72.
    const std::int64_t t = twips;
    const std::int64_t hundredths = units == TwwMeasurementUnits::muCentimeters
                                        ? divideRoundHalfEven(t * 2537, 14400)
                                        : divideRoundHalfEven(t * 5, 72);
    return double(hundredths) / 100.0;
}

int UnitsToTwips(const QString& text, TwwMeasurementUnits units, const QLocale& locale)
{
    QString s = text;
    while (!s.isEmpty()) {
        const QChar c = s.back();
        if (c == QLatin1Char(' ') || c == QLatin1Char('\'') || c.toLower() == QLatin1Char('c') ||
            c.toLower() == QLatin1Char('m'))
            s.chop(1);
        else
            break;
    }
    const double number = readNumber(s, locale);
    const double twips = units == TwwMeasurementUnits::muCentimeters ? number * 1440.0 / 2.537 : number * 1440.0;
    if (!(twips < double(INT_MAX)))
        return INT_MAX;
    if (!(twips > double(INT_MIN)))
        return INT_MIN;
    return int(std::trunc(twips));
}

QString FormatMeasure(double x, TwwMeasurementUnits units, int d, const QLocale& locale)
{
    if (d <= 0)
        d = units == TwwMeasurementUnits::muCentimeters ? 20 : 8;
    const double nudge = 1.0 / (1.5 * d);
    const double shifted = (x < 0 ? x - nudge : x + nudge) * 1000.0;
    // Thousandths, held to a range where the grid arithmetic cannot overflow.
    const double limit = 1e15;
    const std::int64_t k = std::int64_t(std::trunc(std::fmax(-limit, std::fmin(limit, shifted))));
    const std::int64_t step = 1000 / d > 0 ? 1000 / d : 1;
    return thousandthsText(k - k % step, locale) + UnitSuffix(units);
}

QString FormatNumber(double x, const QLocale& locale)
{
    QString text = QString::number(x, 'g', 15);
    return text.replace(QLatin1Char('.'), locale.decimalPoint());
}

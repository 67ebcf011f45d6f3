// Reading typed whole numbers: what is accepted and the error for the rest.
#include "memorize/integerconversion.h"
#include "platform/exception.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(IntegerConversion, ReadsDecimalAndHexadecimalNumbers)
{
    const struct {
        std::string text;
        std::int32_t value;
    } cases[] = {
        {"12", 12},
        {"  12", 12},
        {"-3", -3},
        {"+7", 7},
        {"$10", 16},
        {"x1f", 31},
        {"X1F", 31},
        {"0x10", 16},
        {"0X10", 16},
        {"-$10", -16},
        {"0", 0},
        {"-0", 0},
        {"007", 7},
        {"000000000000000000042", 42},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"$7FFFFFFF", 2147483647},
        // eight hex digits are 32 bits: the top bit makes them negative
        {"$80000000", -2147483647 - 1},
        {"$FFFFFFFF", -1},
        {"-$FFFFFFFF", 1},
        {"-$80000000", -2147483647 - 1},
        {"$0000000A", 10},
    };
    for (const auto& c : cases) {
        try {
            EXPECT_EQ(parseInteger(c.text), c.value) << "'" << c.text << "'";
        } catch (const Exception& e) {
            ADD_FAILURE() << "'" << c.text << "' refused: " << e.what();
        }
    }
}

TEST(IntegerConversion, RefusesEverythingElseNamingTheText)
{
    const std::string refused[] = {
        "",  " ", "12 ", "1 2", "- 3", "+-1", "--1", "1.000", "1,5", "12a", "a12", "1e3",
        "$", "x", "0x", "-", "+", "$123456789", "$G", "0x-1", "2147483648", "-2147483649",
        "99999999999999999999999", "\t12", "１２",  // full-width digits
    };
    for (const std::string& text : refused) {
        try {
            const std::int32_t value = parseInteger(text);
            ADD_FAILURE() << "'" << text << "' read as " << value;
        } catch (const Exception& e) {
            EXPECT_EQ(e.message(), "'" + text + "' is not a valid integer value");
        }
    }
}

TEST(IntegerConversion, ShowsANulInTheTextRatherThanEndTheMessageThere)
{
    try {
        parseInteger(std::string("1\0" "2", 3));
        ADD_FAILURE() << "a NUL was read as a digit";
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), "'1\u24002' is not a valid integer value");
    }
}

}  // namespace

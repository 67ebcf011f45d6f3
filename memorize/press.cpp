#include "memorize/press.h"

#include "memorize/blanker.h"
#include "memorize/words.h"
#include "platform/exception.h"

std::int64_t drawCount(std::int64_t words, std::int32_t percent)
{
    // Exact integer rounding of product / 100; floor division keeps negative
    // products right too.
    const std::int64_t product = words * std::int64_t(percent);
    std::int64_t quotient = product / 100;
    std::int64_t remainder = product % 100;
    if (remainder < 0) {
        remainder += 100;
        --quotient;
    }
    if (remainder > 50 || (remainder == 50 && quotient % 2 != 0))
        ++quotient;
    return quotient;
}

PressResult press(const std::u32string& text, std::int32_t percent, const DrawSource& draw,
                  const std::function<void(std::int64_t)>& onDraw)
{
    Blanker blanker(TiraEspaco(text));
    PressResult result;
    result.words = blanker.count();
    result.draws = drawCount(result.words, percent);
    for (std::int64_t i = 0; i < result.draws && !blanker.settled(); ++i) {
        const std::int64_t n = draw(result.words);
        if (onDraw)
            onDraw(n);
        blanker.apply(n);
    }
    result.text = blanker.text();
    return result;
}

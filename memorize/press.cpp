#include "memorize/press.h"

#include "memorize/blanker.h"
#include "memorize/words.h"
#include "platform/exception.h"

#include <algorithm>
#include <utility>

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

PressResult press(std::u32string text, std::int32_t percent, const DrawSource& draw,
                  const std::function<void(std::int64_t)>& onDraw)
{
    collapseSpaces(text);
    Blanker blanker(std::move(text));
    PressResult result;
    result.words = blanker.count();
    result.draws = drawCount(result.words, percent);

    // The draws do not depend on the text, so they are made a batch ahead:
    // while one draw is applied, the places the next ones will touch are
    // already on their way into the cache. On a long text nearly every draw
    // lands somewhere not cached, and waiting for memory is most of a press.
    // The skip is checked between batches; the draws of the last batch that
    // come after the text settled change nothing, and are heard all the same.
    constexpr std::int64_t kBatch = 64, kAheadRun = 16, kAheadTarget = 8, kAheadText = 3;
    std::int64_t batch[kBatch];
    for (std::int64_t done = 0; done < result.draws && !blanker.settled();) {
        const std::int64_t size = std::min(kBatch, result.draws - done);
        for (std::int64_t i = 0; i < size; ++i) {
            batch[i] = draw(result.words);
            if (i >= kAheadRun)
                continue;
            blanker.prefetchIndex(batch[i]);
        }
        for (std::int64_t i = 0; i < size; ++i) {
            if (i + kAheadRun < size)
                blanker.prefetchIndex(batch[i + kAheadRun]);
            if (i + kAheadTarget < size)
                blanker.prefetchTarget(batch[i + kAheadTarget]);
            if (i + kAheadText < size)
                blanker.prefetchText(batch[i + kAheadText]);
            if (onDraw)
                onDraw(batch[i]);
            blanker.apply(batch[i]);
        }
        done += size;
    }
    result.text = blanker.takeText();
    return result;
}

#include "memorize/blanker.h"

#include "memorize/words.h"
#include "platform/exception.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace {

// FNV-1a over the key's characters, with a final fold of the high bits into
// the low ones that pick the table slot.
constexpr std::uint64_t kHashStart = 0xcbf29ce484222325ull;

constexpr std::uint64_t mix(std::uint64_t hash, char32_t c)
{
    return (hash ^ std::uint64_t(c)) * 0x100000001b3ull;
}

constexpr std::uint64_t finish(std::uint64_t hash)
{
    return hash ^ (hash >> 29);
}

}  // namespace

Blanker::Blanker(std::u32string text) : m_text(std::move(text))
{
    // Positions are kept in 32 bits to halve the tables of a long text.
    if (m_text.size() >= std::numeric_limits<std::uint32_t>::max())
        throw Exception("the text is too long to blank: " + std::to_string(m_text.size()) + " characters");
    // Separators stand at random to a branch predictor, so they are found
    // 64 characters at a time: a mask of which are separators, then one
    // entry for each bit set.
    m_runs.resize(std::size_t(std::count_if(m_text.begin(), m_text.end(), isSeparator)));
    std::size_t k = 0;
    for (std::size_t block = 0; block < m_text.size(); block += 64) {
        const std::size_t size = std::min<std::size_t>(64, m_text.size() - block);
        std::uint64_t mask = 0;
        for (std::size_t i = 0; i < size; ++i)
            mask |= std::uint64_t(isSeparator(m_text[block + i])) << i;
        for (; mask != 0; mask &= mask - 1)
            m_runs[k++].sep = std::uint32_t(block + std::size_t(std::countr_zero(mask)));
    }
    // TotPalavras: every separator but one in the last place.
    m_count = std::int64_t(m_runs.size()) - (!m_text.empty() && isSeparator(m_text.back()) ? 1 : 0);

    m_table.assign(64, kInert);
    for (std::size_t run = 1; run < m_runs.size(); ++run) {
        const std::int32_t group = keyGroup(run);
        m_runs[run].group = group;
        if (group == kInert)
            continue;
        if (!m_runs[run].hasCr)
            m_groups[std::size_t(group)].members.push_back(std::uint32_t(run));
        if (std::int64_t(run) < m_count)
            ++m_groups[std::size_t(group)].refs;
    }
    m_heads.resize(m_groups.size());
    for (std::size_t id = 0; id < m_groups.size(); ++id) {
        const Group& group = m_groups[id];
        m_heads[id] = group.members.empty() ? 0 : group.members.front();
        if (m_heads[id] != 0)
            m_live += group.refs;
    }
    resetFirstWord();
}

bool Blanker::apply(std::int64_t n)
{
    if (n < 1 || n > m_count)
        throw Exception("word index " + std::to_string(n) + " is outside 1 to " + std::to_string(m_count));
    if (n == 1) {
        if (!m_firstWordLive)
            return false;
        const std::size_t run = m_firstMatch;
        blank(run, runEnd(run) - m_firstWord.size(), runEnd(run));
        return true;
    }
    const std::size_t run = target(n);
    if (run == 0)
        return false;
    blank(run, runBegin(run), runEnd(run));
    return true;
}

// The run that a draw of n >= 2 blanks, or 0 when it blanks nothing.
std::size_t Blanker::target(std::int64_t n) const
{
    const std::int32_t id = m_runs[std::size_t(n - 1)].group;
    return id == kInert ? 0 : m_heads[std::size_t(id)];
}

void Blanker::prefetchIndex(std::int64_t n) const
{
    if (n >= 2 && n <= m_count)
        __builtin_prefetch(&m_runs[std::size_t(n - 1)]);
}

void Blanker::prefetchTarget(std::int64_t n) const
{
    const std::size_t run = n >= 2 && n <= m_count ? target(n) : 0;
    if (run == 0)
        return;
    __builtin_prefetch(&m_runs[run - 1]);
    __builtin_prefetch(&m_runs[run]);
}

void Blanker::prefetchText(std::int64_t n) const
{
    const std::size_t run = n >= 2 && n <= m_count ? target(n) : 0;
    if (run != 0)
        __builtin_prefetch(&m_text[m_runs[run].sep], 1);
}

// The group of the run's key "separator, word without CR, separator", or
// kInert when the word is empty or all underscores: blanking such a stretch
// changes nothing, wherever its first occurrence is.
std::int32_t Blanker::keyGroup(std::size_t run)
{
    const std::size_t begin = runBegin(run), end = runEnd(run);
    std::uint64_t hash = mix(kHashStart, m_text[begin - 1]);
    bool letter = false, cr = false;
    for (std::size_t p = begin; p < end; ++p) {
        const char32_t c = m_text[p];
        if (c == U'\r') {
            cr = true;
            continue;
        }
        letter = letter || c != kBlank;
        hash = mix(hash, c);
    }
    // A CR is never blanked, so what the first look finds stays true.
    m_runs[run].hasCr = cr;
    if (!letter)
        return kInert;
    return findOrAddGroup(finish(mix(hash, m_text[end])), run);
}

// Whether the group's key is the run's key: its bounding separators and its
// characters less any CR.
bool Blanker::keyEquals(const Group& group, std::size_t run) const
{
    const std::size_t from = runBegin(run) - 1, to = runEnd(run) + 1;
    const char32_t* key = m_keys.data() + group.keyOffset;
    if (!m_runs[run].hasCr) {
        // Keys are a few characters long: a plain loop beats a call.
        if (group.keyLength != to - from)
            return false;
        const char32_t* text = m_text.data() + from;
        for (std::size_t i = 0; i < group.keyLength; ++i)
            if (key[i] != text[i])
                return false;
        return true;
    }
    std::size_t k = 0;
    for (std::size_t p = from; p < to; ++p) {
        if (m_text[p] == U'\r')
            continue;
        if (k == group.keyLength || key[k] != m_text[p])
            return false;
        ++k;
    }
    return k == group.keyLength;
}

std::int32_t Blanker::findOrAddGroup(std::uint64_t hash, std::size_t run)
{
    const std::size_t mask = m_table.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::int32_t id = m_table[slot];
        if (id == kInert)
            break;
        const Group& group = m_groups[std::size_t(id)];
        if (group.hash == hash && keyEquals(group, run))
            return id;
    }
    // Not there: a new group, in the empty slot the search ended at. The
    // table is kept at most half full, so a search always ends.
    Group group;
    group.keyOffset = std::uint32_t(m_keys.size());
    group.hash = hash;
    for (std::size_t p = runBegin(run) - 1; p <= runEnd(run); ++p)
        if (m_text[p] != U'\r')
            m_keys.push_back(m_text[p]);
    group.keyLength = std::uint32_t(m_keys.size() - group.keyOffset);
    m_groups.push_back(std::move(group));
    m_heads.push_back(0);
    const std::int32_t id = std::int32_t(m_groups.size() - 1);
    if (m_groups.size() * 2 > m_table.size())
        growTable();
    else
        for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask)
            if (m_table[slot] == kInert) {
                m_table[slot] = id;
                break;
            }
    return id;
}

// Doubles the table and places every group again; also places the newest.
void Blanker::growTable()
{
    std::vector<std::int32_t> table(m_table.size() * 2, kInert);
    const std::size_t mask = table.size() - 1;
    for (std::size_t id = 0; id < m_groups.size(); ++id) {
        std::size_t slot = m_groups[id].hash & mask;
        while (table[slot] != kInert)
            slot = (slot + 1) & mask;
        table[slot] = std::int32_t(id);
    }
    m_table.swap(table);
}

// Steps the group's head past a member that has just left, and keeps the
// count of live indices in step with whether a member is left.
void Blanker::refresh(std::int32_t id)
{
    const Group& group = m_groups[std::size_t(id)];
    const bool live = group.head < group.members.size();
    const bool wasLive = m_heads[std::size_t(id)] != 0;
    m_heads[std::size_t(id)] = live ? group.members[group.head] : 0;
    if (live != wasLive)
        m_live += live ? group.refs : -group.refs;
}

// After a run's word changed: move it to the group of its new key. The
// members of a group all read the same, so whatever blanks one of them
// (a whole-stretch draw, or the first word's tail) meets the first of them
// first: a member only ever leaves as its group's head.
void Blanker::regroup(std::size_t run, std::int32_t after)
{
    const std::int32_t before = m_runs[run].group;
    if (before == after)
        return;
    m_runs[run].group = after;
    if (std::int64_t(run) < m_count) {
        if (before != kInert) {
            --m_groups[std::size_t(before)].refs;
            if (m_heads[std::size_t(before)] != 0)
                --m_live;
        }
        if (after != kInert) {
            ++m_groups[std::size_t(after)].refs;
            if (m_heads[std::size_t(after)] != 0)
                ++m_live;
        }
    }
    if (before != kInert && !m_runs[run].hasCr) {
        ++m_groups[std::size_t(before)].head;
        refresh(before);
    }
    if (after != kInert && !m_runs[run].hasCr) {
        // The run may now be the first of its new key: a partly blanked word
        // can take a shape that stands later in the text already.
        Group& group = m_groups[std::size_t(after)];
        const auto at = std::lower_bound(group.members.begin() + long(group.head), group.members.end(),
                                         std::uint32_t(run));
        group.members.insert(at, std::uint32_t(run));
        refresh(after);
    }
}

// Blanks [from, to) of the run, which ends at `to`.
void Blanker::blank(std::size_t run, std::size_t from, std::size_t to)
{
    for (std::size_t p = from; p < to; ++p)
        if (!isSeparator(m_text[p]))
            m_text[p] = kBlank;
    if (run == 0) {
        resetFirstWord();
        return;
    }
    // A whole run blanked is all underscores: its key can change nothing.
    regroup(run, from == runBegin(run) ? kInert : keyGroup(run));
    if (m_firstWordLive && run == m_firstMatch)
        seekFirstWord(run);
}

// Index 1 names the text before the first separator, without its CRs, and
// that separator.
void Blanker::resetFirstWord()
{
    m_firstWord.clear();
    bool letter = false;
    if (m_count >= 1) {
        for (std::size_t p = 0; p < runEnd(0); ++p) {
            if (m_text[p] == U'\r')
                continue;
            letter = letter || m_text[p] != kBlank;
            m_firstWord.push_back(m_text[p]);
        }
    }
    if (letter) {
        seekFirstWord(0);
    } else if (m_firstWordLive) {
        m_firstWordLive = false;
        --m_live;
    }
}

// While the first word holds a letter it only ever loses occurrences: every
// change blanks a run whole or the tail that matched it, and neither can end
// in the word afterwards. So its first occurrence only moves forward.
bool Blanker::firstWordMatches(std::size_t run) const
{
    const std::size_t end = runEnd(run);
    return m_text[end] == m_text[m_runs[0].sep] && end - runBegin(run) >= m_firstWord.size() &&
           std::equal(m_firstWord.begin(), m_firstWord.end(), m_text.begin() + long(end - m_firstWord.size()));
}

void Blanker::seekFirstWord(std::size_t fromRun)
{
    std::size_t run = fromRun;
    while (run < m_runs.size() && !firstWordMatches(run))
        ++run;
    const bool live = run < m_runs.size();
    if (live)
        m_firstMatch = run;
    if (live != m_firstWordLive) {
        m_live += live ? 1 : -1;
        m_firstWordLive = live;
    }
}

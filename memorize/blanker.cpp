#include "memorize/blanker.h"

#include "memorize/words.h"
#include "platform/exception.h"

#include <algorithm>
#include <limits>

namespace {

std::uint64_t hashKey(const std::u32string& key)
{
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (char32_t c : key) {
        h ^= std::uint64_t(c);
        h *= 0x100000001b3ull;
    }
    return h ^ (h >> 29);
}

}  // namespace

Blanker::Blanker(std::u32string text) : m_text(std::move(text))
{
    // Positions are kept in 32 bits to halve the tables of a long text.
    if (m_text.size() >= std::numeric_limits<std::uint32_t>::max())
        throw Exception("the text is too long to blank: " + std::to_string(m_text.size()) + " characters");
    for (std::size_t p = 0; p < m_text.size(); ++p)
        if (isSeparator(m_text[p]))
            m_seps.push_back(std::uint32_t(p));
    m_count = TotPalavras(m_text);

    const std::size_t runs = m_seps.size();
    m_runGroup.assign(runs, kInert);
    m_runHasCr.assign(runs, 0);
    m_table.assign(64, kInert);
    for (std::size_t run = 1; run < runs; ++run) {
        m_runHasCr[run] = std::find(m_text.begin() + long(runBegin(run)), m_text.begin() + long(runEnd(run)), U'\r') !=
                          m_text.begin() + long(runEnd(run));
        const std::int32_t group = keyGroup(run);
        m_runGroup[run] = group;
        if (group == kInert)
            continue;
        if (!m_runHasCr[run])
            m_groups[std::size_t(group)].members.push_back(std::uint32_t(run));
        if (std::int64_t(run) < m_count)
            ++m_groups[std::size_t(group)].refs;
    }
    for (Group& group : m_groups) {
        group.live = !group.members.empty();
        if (group.live)
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
    const std::int32_t group = m_runGroup[std::size_t(n - 1)];
    if (group == kInert || !m_groups[std::size_t(group)].live)
        return false;
    const Group& g = m_groups[std::size_t(group)];
    const std::size_t run = g.members[g.head];
    blank(run, runBegin(run), runEnd(run));
    return true;
}

// The group of the run's key "separator, word without CR, separator", or
// kInert when the word is empty or all underscores: blanking such a stretch
// changes nothing, wherever its first occurrence is.
std::int32_t Blanker::keyGroup(std::size_t run)
{
    m_scratch.clear();
    m_scratch.push_back(m_text[m_seps[run - 1]]);
    bool letter = false;
    for (std::size_t p = runBegin(run); p < runEnd(run); ++p) {
        const char32_t c = m_text[p];
        if (c == U'\r')
            continue;
        letter = letter || c != kBlank;
        m_scratch.push_back(c);
    }
    if (!letter)
        return kInert;
    m_scratch.push_back(m_text[m_seps[run]]);
    return findOrAddGroup();
}

std::int32_t Blanker::findOrAddGroup()
{
    const std::uint64_t hash = hashKey(m_scratch);
    const std::size_t mask = m_table.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::int32_t id = m_table[slot];
        if (id == kInert) {
            Group group;
            group.keyOffset = std::uint32_t(m_keys.size());
            group.keyLength = std::uint32_t(m_scratch.size());
            group.hash = hash;
            m_keys += m_scratch;
            m_groups.push_back(std::move(group));
            m_table[slot] = std::int32_t(m_groups.size() - 1);
            if (m_groups.size() * 2 > m_table.size())
                growTable();
            return std::int32_t(m_groups.size() - 1);
        }
        const Group& group = m_groups[std::size_t(id)];
        if (group.hash == hash && m_keys.compare(group.keyOffset, group.keyLength, m_scratch) == 0)
            return id;
    }
}

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

// Moves the group's head past members whose run has changed since, and keeps
// the count of live indices in step with whether a member is left.
void Blanker::refresh(std::int32_t id)
{
    Group& group = m_groups[std::size_t(id)];
    while (group.head < group.members.size() && m_runGroup[group.members[group.head]] != id)
        ++group.head;
    const bool live = group.head < group.members.size();
    if (live != group.live) {
        m_live += live ? group.refs : -group.refs;
        group.live = live;
    }
}

// After a run's word changed: move it to the group of its new key. A run
// never returns to a key it had, since blanking only adds underscores, so
// leaving a group lazily (refresh skips it) is safe.
void Blanker::regroup(std::size_t run)
{
    const std::int32_t before = m_runGroup[run];
    const std::int32_t after = keyGroup(run);
    if (before == after)
        return;
    m_runGroup[run] = after;
    if (std::int64_t(run) < m_count) {
        if (before != kInert) {
            --m_groups[std::size_t(before)].refs;
            if (m_groups[std::size_t(before)].live)
                --m_live;
        }
        if (after != kInert) {
            ++m_groups[std::size_t(after)].refs;
            if (m_groups[std::size_t(after)].live)
                ++m_live;
        }
    }
    if (before != kInert)
        refresh(before);
    if (after != kInert && !m_runHasCr[run]) {
        Group& group = m_groups[std::size_t(after)];
        const auto at = std::lower_bound(group.members.begin() + long(group.head), group.members.end(),
                                         std::uint32_t(run));
        group.members.insert(at, std::uint32_t(run));
        refresh(after);
    }
}

void Blanker::blank(std::size_t run, std::size_t from, std::size_t to)
{
    for (std::size_t p = from; p < to; ++p)
        if (!isSeparator(m_text[p]))
            m_text[p] = kBlank;
    if (run == 0) {
        resetFirstWord();
        return;
    }
    regroup(run);
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

bool Blanker::firstWordMatches(std::size_t run) const
{
    const std::size_t end = runEnd(run);
    return m_text[end] == m_text[m_seps[0]] && end - runBegin(run) >= m_firstWord.size() &&
           std::equal(m_firstWord.begin(), m_firstWord.end(), m_text.begin() + long(end - m_firstWord.size()));
}

void Blanker::seekFirstWord(std::size_t fromRun)
{
    std::size_t run = fromRun;
    while (run < m_seps.size() && !firstWordMatches(run))
        ++run;
    const bool live = run < m_seps.size();
    if (live)
        m_firstMatch = run;
    if (live != m_firstWordLive) {
        m_live += live ? 1 : -1;
        m_firstWordLive = live;
    }
}

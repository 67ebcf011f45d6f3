#pragma once
// Applies word-index draws to a text exactly as AchaPalavra followed by
// TrocaPalavra would, without scanning the text at every draw.
//
// Why it can: blanking only turns characters that are neither separators nor
// CR into underscores, so the separators never move and the stretch an index
// names is always the run between two known separators. For an index n >= 2
// the stretch is "separator, word without CR, separator", and its first
// occurrence in the text is the first CR-free run between two consecutive
// separators with the same three parts. Runs are therefore grouped by that
// key; a group's first member is the occurrence a draw blanks. A run blanked
// whole becomes all underscores, and such a key can change nothing any more;
// a run whose tail was blanked (see index 1) moves to the group of its new
// shape, where it may come before members that read so from the start.
//
// Index 1 has no separator in front, so its first occurrence may be the tail
// of any run ending in the same separator (when the first word holds a CR,
// the stretch without it can match elsewhere). That match is tracked with a
// cursor: while the word has a character other than an underscore, blanking
// can destroy occurrences of it but never create one, so the cursor only
// moves forward.
//
// settled() tells when no index can change the text any more, so that the
// remaining draws of a press may be skipped.

#include <cstdint>
#include <string>
#include <vector>

class Blanker {
public:
    // The text as it stands; the press collapses its spaces first. Raises
    // Exception for a text of 2^32 - 1 characters or more.
    explicit Blanker(std::u32string text);

    // The separator count of the text (TotPalavras); draws name 1 to count().
    std::int64_t count() const { return m_count; }

    // One draw: blanks the first occurrence of the stretch index n names.
    // Returns whether the text changed. Raises Exception for n outside 1 to
    // count().
    bool apply(std::int64_t n);

    // Hints that index n is to be applied soon, in three steps some draws
    // apart: prefetchIndex() fetches what tells n's stretch, prefetchTarget()
    // where its first occurrence is, prefetchText() the characters there.
    // Nothing changes; any n is allowed.
    void prefetchIndex(std::int64_t n) const;
    void prefetchTarget(std::int64_t n) const;
    void prefetchText(std::int64_t n) const;

    // True when no index from 1 to count() would change the text.
    bool settled() const { return m_live == 0; }

    const std::u32string& text() const { return m_text; }
    // The text, leaving the blanker empty.
    std::u32string takeText() { return std::move(m_text); }

private:
    static constexpr std::int32_t kInert = -1;

    // Separator j of the text and the run that ends at it: run 0 is the text
    // before the first separator, run j >= 1 the text between separators
    // j-1 and j. Kept together so that a draw finds its run in one place.
    struct Run {
        std::uint32_t sep = 0;        // position of separator j
        std::int32_t group = kInert;  // key group of run j (j >= 1)
        bool hasCr = false;           // run j holds a CR, so it occurs nowhere
    };

    struct Group {
        std::uint32_t keyOffset = 0;
        std::uint32_t keyLength = 0;
        std::uint64_t hash = 0;
        std::vector<std::uint32_t> members;  // CR-free runs with this key, by position
        std::size_t head = 0;                // members before it have left the group
        std::int64_t refs = 0;               // indices 2..count() whose run has this key
    };

    std::size_t runBegin(std::size_t j) const { return j == 0 ? 0 : m_runs[j - 1].sep + 1; }
    std::size_t runEnd(std::size_t j) const { return m_runs[j].sep; }

    std::size_t target(std::int64_t n) const;
    std::int32_t keyGroup(std::size_t run);
    std::int32_t findOrAddGroup(std::uint64_t hash, std::size_t run);
    bool keyEquals(const Group& group, std::size_t run) const;
    void growTable();
    void refresh(std::int32_t group);
    void regroup(std::size_t run, std::int32_t after);
    void blank(std::size_t run, std::size_t from, std::size_t to);

    void resetFirstWord();
    bool firstWordMatches(std::size_t run) const;
    void seekFirstWord(std::size_t fromRun);

    std::u32string m_text;
    std::vector<Run> m_runs;  // one per separator, the last character's included
    std::int64_t m_count = 0;

    std::vector<Group> m_groups;
    // Each group's first member, the run its draws blank; 0 when none is
    // left (run 0 is never a member). Apart from the groups so that the
    // draws, which go all over the text, find it in a small table.
    std::vector<std::uint32_t> m_heads;
    std::u32string m_keys;              // the groups' keys, back to back
    std::vector<std::int32_t> m_table;  // open addressing over m_groups

    // Index 1: the first word without CR, and the run whose tail holds its
    // first occurrence.
    std::u32string m_firstWord;
    bool m_firstWordLive = false;
    std::size_t m_firstMatch = 0;

    std::int64_t m_live = 0;  // indices whose draw would change the text
};

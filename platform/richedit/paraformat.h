#pragma once
// A paragraph format as the rich edit control exchanges it, lengths in twips.
// The first line starts `startIndent` from the left edge, later lines
// `offset` further (a hanging paragraph has a positive offset); a bulleted
// paragraph shows its bullet at the start indent and its text at start
// indent + offset. On reading a selection, `mask` names the fields that hold
// one value over all its paragraphs; on applying, the fields to set.

#include <vector>

struct ParaFormat {
    enum Field : unsigned {
        Alignment = 1,
        Numbering = 2,
        StartIndent = 4,
        RightIndent = 8,
        Offset = 16,
        TabStops = 32,
        SpaceBefore = 64,
        SpaceAfter = 128,
        LineSpacing = 256,
        All = 511,
    };
    enum class Align { Left, Right, Center, Justify };
    // Numbering kinds in the order rich text controls number them.
    enum class Number { None = 0, Bullet = 1, Arabic = 2, LowerLetter = 3, UpperLetter = 4, LowerRoman = 5, UpperRoman = 6 };
    static constexpr int maxTabs = 32;

    unsigned mask = 0;
    Align alignment = Align::Left;
    Number numbering = Number::None;
    int startIndent = 0;
    int rightIndent = 0;
    int offset = 0;
    std::vector<int> tabs;  // ascending, at most maxTabs
    int spaceBefore = 0;
    int spaceAfter = 0;
    // 0 single, 1 one and a half, 2 double, 3 at least `lineSpacing` twips,
    // 4 exactly `lineSpacing` twips, 5 `lineSpacing` twentieths of a line.
    int lineSpacingRule = 0;
    int lineSpacing = 0;
};

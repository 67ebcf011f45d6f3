#pragma once
// A character format as the rich edit control exchanges it: effects, face,
// size in twips, colour (or automatic) and background (or none). On reading a
// selection, `mask` names the fields that hold one value over all of it;
// the others are mixed. On applying, `mask` names the fields to set.

#include <QColor>
#include <QString>

struct CharFormat {
    enum Field : unsigned {
        Bold = 1,
        Italic = 2,
        Underline = 4,
        StrikeOut = 8,
        Face = 16,
        Size = 32,
        Color = 64,
        BackColor = 128,
        All = 255,
    };
    unsigned mask = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QString face;
    int sizeTwips = 0;       // points × 20
    bool autoColor = true;   // the text colour of the system, no colour of its own
    QColor color;
    bool noBackColor = true;
    QColor backColor;
};

#pragma once
// How the rich edit's document holds what RTF carries, shared by the reader,
// the writer and the control.
//
// Lengths: the document lays out at 96 pixels per inch, so one pixel is 15
// twips. Lengths are kept as pixels in the document's own formats (margins,
// indents, tab positions, line heights, picture sizes) so the screen shows
// them as they are, and twips are recovered exactly by rounding px × 15.
//
// Pictures and embedded objects are object characters with an image format;
// the properties below carry what the document itself has no place for, so a
// picture is written back with its own bytes and an object with its file.

#include <QTextFormat>

#include <cmath>

namespace DocumentUnits {

constexpr int twipsPerPixel = 15;

inline double twipsToPixels(int twips) { return double(twips) / twipsPerPixel; }
inline int pixelsToTwips(double pixels) { return int(std::lround(pixels * twipsPerPixel)); }

// A paragraph's alignment by index: 0 left, 1 right, 2 centre, 3 justified.
// Left and right stay where they are in right-to-left text too; justified
// must carry no other flag, or the layout leaves the lines ragged.
inline Qt::Alignment alignment(int index)
{
    switch (index) {
    case 1: return Qt::AlignRight | Qt::AlignAbsolute;
    case 2: return Qt::AlignHCenter;
    case 3: return Qt::AlignJustify;
    default: return Qt::AlignLeft | Qt::AlignAbsolute;
    }
}

enum Property : int {
    // On an image format: the picture's stored bytes and their kind.
    PictureData = QTextFormat::UserProperty + 1,  // QByteArray
    PictureKind,                                  // QString: "png", "jpeg", "wmf", "emf", "dib", "bmp"
    PicturePixelWidth,                            // int: \picw as stored
    PicturePixelHeight,                           // int: \pich as stored
    // On an image format of an embedded object: its class name and its data.
    ObjectClass,                                  // QString
    ObjectData,                                   // QByteArray
    ObjectFileName,                               // QString: the name its file opens under
    // On a block format of a list item: the first-line indent in twips. The
    // document itself shows a list item's marker in the margin, so its text
    // indent stays 0 and the hanging indent lives here.
    ListFirstIndent,                              // int
};

}  // namespace DocumentUnits

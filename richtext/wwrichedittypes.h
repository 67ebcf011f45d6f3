#pragma once
// The option sets and small records of the rich edit controls. Each option
// enumeration keeps its members in their published order: rules that speak of
// "options 2 to 4" count from the first member.

#include <QFlags>

enum TwwRichEditPopupOption : unsigned {
    rpoPopupEdit = 1u << 0,
    rpoPopupCut = 1u << 1,
    rpoPopupCopy = 1u << 2,
    rpoPopupPaste = 1u << 3,
    rpoPopupBold = 1u << 4,
    rpoPopupItalic = 1u << 5,
    rpoPopupUnderline = 1u << 6,
    rpoPopupFont = 1u << 7,
    rpoPopupBullet = 1u << 8,
    rpoPopupParagraph = 1u << 9,
    rpoPopupTabs = 1u << 10,
    rpoPopupFind = 1u << 11,
    rpoPopupReplace = 1u << 12,
    rpoPopupInsertObject = 1u << 13,
    rpoPopupMSWordSpellCheck = 1u << 14,
};
Q_DECLARE_FLAGS(TwwRichEditPopupOptions, TwwRichEditPopupOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TwwRichEditPopupOptions)

// The popup option with number n, counting from 1.
constexpr TwwRichEditPopupOption popupOptionNumber(int n) { return TwwRichEditPopupOption(1u << (n - 1)); }

enum TwwRichEditOption : unsigned {
    reoShowLoad = 1u << 0,
    reoShowSaveAs = 1u << 1,
    reoShowSaveExit = 1u << 2,
    reoShowPrint = 1u << 3,
    reoShowPageSetup = 1u << 4,
    reoShowFormatBar = 1u << 5,
    reoShowToolBar = 1u << 6,
    reoShowStatusBar = 1u << 7,
    reoShowHints = 1u << 8,
    reoShowRuler = 1u << 9,
    reoShowInsertObject = 1u << 10,
    reoCloseOnEscape = 1u << 11,
    reoFlatButtons = 1u << 12,
    reoShowSpellCheck = 1u << 13,
    reoShowMainMenuIcons = 1u << 14,
    reoShowJustifyButton = 1u << 15,
    reoUseBackColor = 1u << 16,
    reoNoConfirmation = 1u << 17,
};
Q_DECLARE_FLAGS(TwwRichEditOptions, TwwRichEditOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TwwRichEditOptions)

enum TwwRichEditOleOption : unsigned {
    reoAdjustPopupMenu = 1u << 0,
    reoDisableOLE = 1u << 1,
};
Q_DECLARE_FLAGS(TwwRichEditOleOptions, TwwRichEditOleOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TwwRichEditOleOptions)

// Where lines wrap: at the control's width or at the printed page's.
enum TwwRichEditWidth { rewWindowSize, rewPrinterSize };

// The character effects of ToggleCharEffect, as bits of a character format.
enum TwwCharEffect : unsigned { ceBold = 1, ceItalic = 2, ceUnderline = 4, ceStrikeOut = 8 };

// The editor window's place; 0 means "as designed" (width, height) or
// "centred" (left, top below 1).
struct TwwFormPosition {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// Print margins in the control's measurement unit.
struct TwwPrintMargins {
    double Top = 1.0;
    double Bottom = 1.0;
    double Left = 1.0;
    double Right = 1.0;
};

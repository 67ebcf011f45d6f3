#pragma once
// The English texts of the rich edit controls and their dialogs: the context
// menu's captions, the search dialogs and the messages. One program-wide
// object; a program that wants other texts changes them here.

#include <QString>

struct TwwRichEditPopupMenuLabels {
    QString Edit = QStringLiteral("&Edit");
    QString View = QStringLiteral("&View");
    QString Cut = QStringLiteral("Cu&t");
    QString Copy = QStringLiteral("&Copy");
    QString Paste = QStringLiteral("&Paste");
    QString Bold = QStringLiteral("B&old");
    QString Italic = QStringLiteral("&Italic");
    QString Underline = QStringLiteral("&Underline");
    QString Font = QStringLiteral("&Font");
    QString BulletStyle = QStringLiteral("&Bullet Style");
    QString Paragraph = QStringLiteral("P&aragraph");
    QString Tabs = QStringLiteral("&Tabs");
    QString Find = QStringLiteral("Fin&d");
    QString Replace = QStringLiteral("&Replace");
    QString InsertObject = QStringLiteral("Insert &Object...");
    QString ObjectProperties = QStringLiteral("Object P&roperties");
    QString ObjectMenuSuffix = QStringLiteral(" &Object");
    QString SpellCheck = QStringLiteral("Check &Spelling");
};

struct TwwRichEditSearchLabels {
    QString FindCaption = QStringLiteral("Find");
    QString ReplaceCaption = QStringLiteral("Replace");
    QString FindWhat = QStringLiteral("Fi&nd what:");
    QString ReplaceWith = QStringLiteral("Re&place with:");
    QString WholeWord = QStringLiteral("Match &whole word only");
    QString MatchCase = QStringLiteral("Match &case");
    QString FindNext = QStringLiteral("&Find Next");
    QString ReplaceButton = QStringLiteral("&Replace");
    QString ReplaceAll = QStringLiteral("Replace &All");
    QString Cancel = QStringLiteral("Cancel");
};

struct TwwRichEditFontLabels {
    QString Caption = QStringLiteral("Font");
    QString Color = QStringLiteral("&Color:");
    QString Automatic = QStringLiteral("Automatic");
    QString OK = QStringLiteral("OK");
    QString Cancel = QStringLiteral("Cancel");
};

struct TwwRichEditIntl {
    TwwRichEditPopupMenuLabels PopupMenuLabels;
    TwwRichEditSearchLabels Search;
    TwwRichEditFontLabels FontDialog;

    QString NoMoreMatches = QStringLiteral("No more matches found");
    QString FailedToLoadStream = QStringLiteral("Failed to Load Stream");
    QString FailedToSaveStream = QStringLiteral("Failed to Save Stream");
    QString OutOfMemoryInStream = QStringLiteral("Out of memory while expanding memory stream");

    // The paragraph dialog's alignment names, which SetParagraphFormat reads.
    QString AlignLeft = QStringLiteral("Left");
    QString AlignRight = QStringLiteral("Right");
    QString AlignCenter = QStringLiteral("Center");
    QString AlignJustify = QStringLiteral("Justify");

    static TwwRichEditIntl& instance();
};

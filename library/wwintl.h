#pragma once
// The program-wide texts object: the English captions, hints and messages of
// the generic controls and dialogs, one part per control. Created at start and
// shared; a program that wants other texts changes them here.

#include "library/wwnavtypes.h"

#include <QString>

struct TwwDBNavigatorIntl {
    QString FirstHint = QStringLiteral("Move to first record");
    QString PriorHint = QStringLiteral("Move to prior record");
    QString NextHint = QStringLiteral("Move to next record");
    QString LastHint = QStringLiteral("Move to last record");
    QString InsertHint = QStringLiteral("Insert new record");
    QString DeleteHint = QStringLiteral("Delete current record");
    QString EditHint = QStringLiteral("Edit current record");
    QString PostHint = QStringLiteral("Post changes of current record");
    QString CancelHint = QStringLiteral("Cancel changes made to current record");
    QString RefreshHint = QStringLiteral("Refresh the contents of the dataset");
    QString PriorPageHint = QStringLiteral("Move backward %d records");
    QString NextPageHint = QStringLiteral("Move forward %d records");
    QString SaveBookmarkHint = QStringLiteral("Bookmark current record");
    QString RestoreBookmarkHint = QStringLiteral("Go back to saved bookmark");
    QString RecordViewDialogHint = QStringLiteral("View current record");
    QString FilterDialogHint = QStringLiteral("Filter the dataset");
    QString LocateDialogHint = QStringLiteral("Locate a specific record");
    QString SearchDialogHint = QStringLiteral("Search the dataset");

    QString ConfirmDelete = QStringLiteral("Delete record?");

    // The default hint of a style; empty for nbsCustom.
    const QString& hint(TwwNavButtonStyle style) const;
};

struct TwwDBGridIntl {
    QString ConfirmCancelEdit = QStringLiteral("Discard changes to this record?");
    QString MemoPlaceholder = QStringLiteral("(Memo)");
    QString MemoDialogOK = QStringLiteral("&OK");
};

struct TwwIntl {
    TwwDBNavigatorIntl Navigator;
    TwwDBGridIntl Grid;

    static TwwIntl& instance();
};

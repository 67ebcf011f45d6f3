#include "library/wwintl.h"

const QString& TwwDBNavigatorIntl::hint(TwwNavButtonStyle style) const
{
    static const QString none;
    switch (style) {
    case nbsFirst: return FirstHint;
    case nbsPrior: return PriorHint;
    case nbsNext: return NextHint;
    case nbsLast: return LastHint;
    case nbsInsert: return InsertHint;
    case nbsDelete: return DeleteHint;
    case nbsEdit: return EditHint;
    case nbsPost: return PostHint;
    case nbsCancel: return CancelHint;
    case nbsRefresh: return RefreshHint;
    case nbsPriorPage: return PriorPageHint;
    case nbsNextPage: return NextPageHint;
    case nbsSaveBookmark: return SaveBookmarkHint;
    case nbsRestoreBookmark: return RestoreBookmarkHint;
    case nbsFilterDialog: return FilterDialogHint;
    case nbsRecordViewDialog: return RecordViewDialogHint;
    case nbsLocateDialog: return LocateDialogHint;
    case nbsSearchDialog: return SearchDialogHint;
    case nbsCustom: break;
    }
    return none;
}

TwwIntl& TwwIntl::instance()
{
    static TwwIntl intl;
    return intl;
}

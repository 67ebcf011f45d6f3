#include "library/wwnavtypes.h"

const char* wwNavStyleName(TwwNavButtonStyle style)
{
    switch (style) {
    case nbsFirst: return "First";
    case nbsPrior: return "Prior";
    case nbsNext: return "Next";
    case nbsLast: return "Last";
    case nbsInsert: return "Insert";
    case nbsDelete: return "Delete";
    case nbsEdit: return "Edit";
    case nbsPost: return "Post";
    case nbsCancel: return "Cancel";
    case nbsRefresh: return "Refresh";
    case nbsPriorPage: return "PriorPage";
    case nbsNextPage: return "NextPage";
    case nbsSaveBookmark: return "SaveBookmark";
    case nbsRestoreBookmark: return "RestoreBookmark";
    case nbsFilterDialog: return "FilterDialog";
    case nbsRecordViewDialog: return "RecordViewDialog";
    case nbsLocateDialog: return "LocateDialog";
    case nbsSearchDialog: return "SearchDialog";
    case nbsCustom: break;
    }
    return "Custom";
}

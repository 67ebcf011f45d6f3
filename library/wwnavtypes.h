#pragma once
// The navigator's enumerations and its repeat timing. The ordinals of
// TwwNavButtonStyle are fixed: a style's glyphs sit at 2 x ordinal (enabled)
// and 2 x ordinal + 1 (disabled) in the shared image list.

#include <QFlags>

enum TwwNavButtonStyle {
    nbsFirst,
    nbsPrior,
    nbsNext,
    nbsLast,
    nbsInsert,
    nbsDelete,
    nbsEdit,
    nbsPost,
    nbsCancel,
    nbsRefresh,
    nbsPriorPage,
    nbsNextPage,
    nbsSaveBookmark,
    nbsRestoreBookmark,
    nbsFilterDialog,
    nbsRecordViewDialog,
    nbsLocateDialog,
    nbsSearchDialog,
    nbsCustom,
};
// Styles with glyphs and a built-in operation: every style before nbsCustom.
constexpr int wwNavStyleCount = int(nbsCustom);

enum TwwNavOption {
    noConfirmDelete = 0x1,         // ask before deleting
    noUseInternationalText = 0x2,  // every button shows its style's default hint
};
Q_DECLARE_FLAGS(TwwNavOptions, TwwNavOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TwwNavOptions)

enum TwwNavLayout { nlHorizontal, nlVertical };

enum TwwNavAutosizeStyle { asSizeNavigator, asSizeNavButtons, asNone };

// Why the navigator recomputes its buttons.
enum TwwUpdateCause { usDataChanged, usEditingChanged, usActiveChanged, usOther };

// Held movement buttons repeat: the first repeat after InitialDelay
// milliseconds, the next ones every Interval milliseconds.
struct TwwNavRepeatInterval {
    int InitialDelay = 500;
    int Interval = 100;
};

// The style's name without its "nbs" prefix ("PriorPage"), as the glyph
// resources, the default hints and the dialog class names use it.
const char* wwNavStyleName(TwwNavButtonStyle style);

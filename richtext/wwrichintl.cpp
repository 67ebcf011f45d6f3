#include "richtext/wwrichintl.h"

TwwRichEditIntl& TwwRichEditIntl::instance()
{
    static TwwRichEditIntl intl;
    return intl;
}

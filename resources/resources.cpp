#include "resources/resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void registerTessResources()
{
    Q_INIT_RESOURCE(resources);
}

void initTessResources()
{
    static const bool registered = (registerTessResources(), true);
    (void)registered;
}

#include "ui/Resources.h"

#include <QtGlobal>

// Outside any namespace: the registration function the resource compiler
// generates lives in the global one.
static void registerToruminResources()
{
    Q_INIT_RESOURCE(resources);
    Q_INIT_RESOURCE(help);
}

namespace torumin {

void loadResources()
{
    static const bool loaded = [] {
        registerToruminResources();
        return true;
    }();
    Q_UNUSED(loaded);
}

} // namespace torumin

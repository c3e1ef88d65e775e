#include "app/resources_init.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside of any namespace.
static void InitYomi6Resources() {
    Q_INIT_RESOURCE(icons);
    Q_INIT_RESOURCE(help);
}

namespace yomi6 {
void InitResources() {
    InitYomi6Resources();
}
} // namespace yomi6

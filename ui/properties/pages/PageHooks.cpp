#include "ui/properties/pages/PageHooks.h"

PageHooks::LabelDialogFn& PageHooks::LabelDialog() {
    static LabelDialogFn hook;
    return hook;
}

PageHooks::StyleEdgeShadowFn& PageHooks::StyleEdgeShadowDialog() {
    static StyleEdgeShadowFn hook;
    return hook;
}

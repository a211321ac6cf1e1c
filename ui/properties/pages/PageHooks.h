// Dialogs a page or dialog opens that are built apart from it. Each hook is
// empty until the program installs the dialog; a control that would open an
// empty hook is disabled (or does nothing).
#pragma once

#include <functional>

class pnObject;
class pnStringProperty;
class wxWindow;

struct PageHooks {
    // The "Label String Property" (kind 1) or "Value String Property" (kind 0)
    // dialog on the selected chart, modal.
    using LabelDialogFn = std::function<void(wxWindow* parent, int kind)>;
    static LabelDialogFn& LabelDialog();
    // The edge and shadow dialog, modal, on a chart's text style: the chart
    // owns the back material of its labels (dataTexts 0) or data texts (1).
    // True after OK.
    using StyleEdgeShadowFn =
        std::function<bool(wxWindow* parent, pnStringProperty* style, pnObject* chart, int dataTexts)>;
    static StyleEdgeShadowFn& StyleEdgeShadowDialog();
};

// What the effect dialogs share: their place on the screen, the material
// chooser they open for the colour, and the copy and delete of an effect
// that the creation dialog and the "Effect List" both offer.
#pragma once

#include "ui/properties/dialogs/CMaterialDlg.h"

#include <wx/weakref.h>

#include <string>

class CFrameRelays;
class CKelvanoView;
class wxWindow;

// At the main window's left edge, 200 pixels below its top, size kept.
void PlaceBelowMainWindowTop(wxWindow* dialog);
// A fresh chooser for this owner (the one it had goes): a child of the
// owner, so it ends with the dialog that opened it.
CMaterialDlg* ShowEffectMaterialChooser(wxWeakRef<CMaterialDlg>& slot, wxWindow* owner, int controlId,
                                        const std::string& materialName, CMaterialDlg::Listener listener);
CFrameRelays* FrameRelaysOf(CKelvanoView* view);
// "Effect Copy" on the source; on OK a new effect with the source's flagged
// parts, registered with no uses and listed. The new name, or "".
std::string CopyEffectWithDialog(wxWindow* parent, CKelvanoView* view, const std::string& source);
// Deletes the effect unless the document keeps no entry for it ("Delete
// Error") or a play names it; the refusals are shown. True when deleted.
bool DeleteEffectWithChecks(wxWindow* parent, CKelvanoView* view, const std::string& name);

#include "ui/properties/pages/PageSupport.h"

#include "editor/CEditScope.h"
#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoView.h"
#include "scene/pnMaterial.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "ui/properties/controls/CColorButton.h"
#include "ui/properties/controls/CNumEdit.h"
#include "ui/properties/bars/CEditBoxBar.h"
#include "ui/properties/dialogs/CMaterialDlg.h"
#include "ui/properties/controls/CPictureCtrl.h"
#include "ui/properties/controls/CPrivateMessageEvent.h"
#include "ui/properties/controls/ObjectArt.h"

#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>

namespace pages {

void Change(pnObject* object, const std::function<void()>& change) {
    CKelvanoView* view = CurrentView();
    if (!view || !view->GetDocument() || !object) return;
    CEditScope edit(*view, object);
    change();
}

CEditBoxBar* EnclosingEditBoxBar(wxWindow* window) {
    for (wxWindow* w = window; w; w = w->GetParent())
        if (auto* bar = dynamic_cast<CEditBoxBar*>(w)) return bar;
    return nullptr;
}

wxColour SwatchColour(const pnObject* object) {
    const pnScene* scene = CurrentScene();
    const pnMaterial* m = object && scene && object->hasMaterial()
                              ? scene->findMaterial(object->getMaterialName().c_str())
                              : nullptr;
    if (!m) return wxColour(0xCC, 0xCC, 0xCC);
    const sgVec3 d = m->getDiffuse();
    auto byte = [](float v) { return static_cast<unsigned char>(std::min(std::max(v, 0.0f), 1.0f) * 255); };
    return wxColour(byte(d[0]), byte(d[1]), byte(d[2]));
}

void OpenMaterialChooser(wxWindow* owner, int controlId, const pnObject* object) {
    CEditBoxBar* bar = EnclosingEditBoxBar(owner);
    if (!bar || !object) return;
    wxWeakRef<CMaterialDlg> slot(bar->GetMaterialDlg());
    CMaterialDlg::ShowFor(slot, bar, owner, controlId, object->getMaterialName());
    bar->SetMaterialDlg(slot.get());
}

namespace {

// The chooser's message about the material at its list index, for the object.
void OnMaterialMessage(pnObject* object, const CPrivateMessageEvent& event, CColorButton* swatch) {
    const long index = event.GetLParam();
    CKelvanoView* view = CurrentView();
    if (!view || !view->GetScene() || !object) return;
    const pnMaterial* m = view->GetScene()->getMaterial(static_cast<int>(index));
    if (event.GetEventType() != kvEVT_WM_MATERIAL_CHOSEN) {
        if (swatch && m && m->getName() == object->getMaterialName()) swatch->SetColor(SwatchColour(object));
        return;
    }
    if (m && m->getName() != object->getMaterialName()) {
        const std::string name = m->getName();
        Change(object, [&] { object->setMaterial(name.c_str()); });
    }
    if (swatch) swatch->SetColor(SwatchColour(object));
    view->Redraw();
}

}  // namespace

void BindMaterialMessages(wxWindow* page, CColorButton* swatch, std::function<pnObject*()> object) {
    auto handler = [object = std::move(object), swatch](CPrivateMessageEvent& event) {
        if (event.GetWParam() == swatch->GetId()) OnMaterialMessage(object(), event, swatch);
    };
    page->Bind(kvEVT_WM_MATERIAL_CHOSEN, handler);
    page->Bind(kvEVT_WM_MATERIAL_MODIFIED, handler);
}

CNumEdit* NameEdit(CNumEdit* edit) {
    edit->SetMaxLength(CKelvanoView::kMaxObjectNameChars);
    return edit;
}

wxWindow* MakePicture(wxWindow* parent, int id, int artId) {
    auto* picture = new CPictureCtrl(parent, id);
    picture->SetBitmap(artId, kArtMask);
    return picture;
}

wxStaticText* AddHeading(wxWindow* page, wxSizer* top, int pictureId, int artId, int headingId) {
    auto* head = new wxBoxSizer(wxHORIZONTAL);
    auto* heading = new wxStaticText(page, headingId, "Creating");
    head->Add(MakePicture(page, pictureId, artId), 0, wxRIGHT, 6);
    head->Add(heading, 0, wxALIGN_CENTER_VERTICAL);
    top->Add(head, 0, wxALL, 6);
    return heading;
}

}  // namespace pages

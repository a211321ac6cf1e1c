#include "ui/properties/rules/CMaterialChooserLogic.h"

#include "editor/CEditScope.h"
#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "editor/CUndoHistory.h"
#include "scene/pnLight.h"
#include "scene/pnMaterial.h"
#include "scene/pnScene.h"
#include "ui/properties/rules/ColorEditLogic.h"
#include "ui/properties/rules/PrivateMessages.h"

#include <algorithm>
#include <memory>

namespace {

void copy3(const sgVec3& from, float to[3]) {
    for (int i = 0; i < 3; ++i) to[i] = from[i];
}

// What an editor starts from: the material's values and set flags.
MaterialEditValues valuesOf(const pnMaterial& m) {
    MaterialEditValues v;
    copy3(m.getAmbient(), v.ambient);
    copy3(m.getDiffuse(), v.diffuse);
    copy3(m.getSpecular(), v.specular);
    copy3(m.getEmission(), v.emission);
    v.shininess = m.getShininess();
    v.alpha = m.getAlpha();
    v.name = m.getName();
    v.flags[MaterialEditValues::AMBIENT] = m.getSetFlag(pnMaterial::AMBIENT_FLAG);
    v.flags[MaterialEditValues::DIFFUSE] = m.getSetFlag(pnMaterial::DIFFUSE_FLAG);
    v.flags[MaterialEditValues::SPECULAR] = m.getSetFlag(pnMaterial::SPECULAR_FLAG);
    v.flags[MaterialEditValues::EMISSION] = m.getSetFlag(pnMaterial::EMISSION_FLAG);
    v.flags[MaterialEditValues::SHININESS] = m.getSetFlag(pnMaterial::SHININESS_FLAG);
    v.flags[MaterialEditValues::ALPHA] = m.getSetFlag(pnMaterial::ALPHA_FLAG);
    return v;
}

// The simple editor's result: one colour lights the whole material.
void applySimple(pnMaterial& m, const MaterialEditValues& v) {
    const float* c = v.diffuse;
    m.setAmbient(0.1f * c[0], 0.1f * c[1], 0.1f * c[2]);
    m.setDiffuse(c[0], c[1], c[2]);
    m.setSpecular(1.0f, 1.0f, 1.0f);
    m.setShininess(60.0f);
    m.setAlpha(v.alpha);
}

// The detailed editor's result: given components take the editor's values,
// the others the defaults (withDefaults) or stay as they are.
void applyDetailed(pnMaterial& m, const MaterialEditValues& v, bool withDefaults) {
    using V = MaterialEditValues;
    struct Colour {
        int component, flag;
        const float* value;
        void (pnMaterial::*set)(float, float, float);
    };
    const Colour colours[] = {
        {V::AMBIENT, pnMaterial::AMBIENT_FLAG, v.ambient, &pnMaterial::setAmbient},
        {V::DIFFUSE, pnMaterial::DIFFUSE_FLAG, v.diffuse, &pnMaterial::setDiffuse},
        {V::SPECULAR, pnMaterial::SPECULAR_FLAG, v.specular, &pnMaterial::setSpecular},
        {V::EMISSION, pnMaterial::EMISSION_FLAG, v.emission, &pnMaterial::setEmission},
    };
    for (const Colour& c : colours) {
        const bool given = v.flags[c.component] != 0;
        if (!given && !withDefaults) continue;
        const float* value = given ? c.value : kMaterialDefaultColours[c.component];
        (m.*c.set)(value[0], value[1], value[2]);
        m.setSetFlag(c.flag, given);
    }
    if (v.flags[V::SHININESS] || withDefaults) {
        m.setShininess(v.flags[V::SHININESS] ? v.shininess : kMaterialDefaultShininess);
        m.setSetFlag(pnMaterial::SHININESS_FLAG, v.flags[V::SHININESS]);
    }
    if (v.flags[V::ALPHA] || withDefaults) {
        m.setAlpha(v.flags[V::ALPHA] ? v.alpha : kMaterialDefaultAlpha);
        m.setSetFlag(pnMaterial::ALPHA_FLAG, v.flags[V::ALPHA]);
    }
}

}  // namespace

pnScene* CMaterialChooserLogic::Scene() const { return CurrentScene(); }

CMaterialChooserLogic::~CMaterialChooserLogic() { Follow(nullptr); }

void CMaterialChooserLogic::Follow(CKelvanoView* view) {
    if (view == m_pView) return;
    if (m_pView) m_pView->RemoveListener(this);
    m_pView = view;
    if (m_pView) m_pView->AddListener(this);
}

void CMaterialChooserLogic::SetOwner(bool hasOwner, int controlId) {
    m_bHasOwner = hasOwner;
    m_nOwnerId = controlId;
    Follow(hasOwner ? CurrentView() : nullptr);
}

void CMaterialChooserLogic::OnViewChange(ViewChange change) {
    if (change == ViewChange::FrameChanged) return;
    m_bHasOwner = false;
    Follow(nullptr);
    m_ui.HideChooser();
}

int CMaterialChooserLogic::ReadCount() {
    pnScene* scene = Scene();
    m_nCount = scene ? scene->getNumMaterials() : 0;
    return m_nCount;
}

void CMaterialChooserLogic::SetSelection(int grid) {
    m_nSelected = grid;
    m_bHasSelection = grid >= 0;
}

void CMaterialChooserLogic::SetCurrentMaterial(int index) {
    pnScene* scene = Scene();
    ReadCount();
    m_strOwnerMaterial.clear();
    if (index < 0) {
        SetSelection(0);
        m_strName = scene && m_nCount > 0 ? scene->getMaterial(m_nCount - 1)->getName() : "";
    } else {
        m_nInitialIndex = index;
        if (const pnMaterial* m = scene ? scene->getMaterial(index) : nullptr) m_strOwnerMaterial = m->getName();
        SetSelection(m_nCount - index - 1);
        const pnMaterial* m = scene ? scene->getMaterial(index) : nullptr;
        m_strName = m ? m->getName() : "";
    }
    m_nPage = m_nSelected >= 0 ? m_nSelected / kCellsPerPage : 0;
}

void CMaterialChooserLogic::SelectMaterialByName(const std::string& name) {
    pnScene* scene = Scene();
    ReadCount();
    m_nInitialIndex = scene && !name.empty() ? scene->findMaterialIndex(name.c_str()) : -1;
    m_strOwnerMaterial = m_nInitialIndex >= 0 ? name : std::string();
    if (m_nInitialIndex >= 0) {
        SetSelection(m_nCount - m_nInitialIndex - 1);
        m_strName = name;
    } else {
        // No name, or one the list does not hold: the newest material.
        SetSelection(0);
        m_strName = scene && m_nCount > 0 ? scene->getMaterial(m_nCount - 1)->getName() : "";
    }
    m_nPage = m_nSelected / kCellsPerPage;
    m_ui.RefreshChooser();
}

int CMaterialChooserLogic::HitTest(int x, int y) const {
    if (x < 0 || y < 0 || x >= 160 || y >= 160) return -1;
    const int grid = m_nPage * kCellsPerPage + (y / 40) * 4 + x / 40;
    return grid < m_nCount ? grid : -1;
}

bool CMaterialChooserLogic::Click(int x, int y) {
    const int grid = HitTest(x, y);
    if (grid < 0) return false;
    SetSelection(grid);
    pnScene* scene = Scene();
    const pnMaterial* m = scene ? scene->getMaterial(GetMaterialIndex()) : nullptr;
    m_strName = m ? m->getName() : "";
    m_ui.RefreshChooser();
    return true;
}

bool CMaterialChooserLogic::DoubleClick(int x, int y) {
    const int grid = HitTest(x, y);
    if (grid < 0) return false;
    SetSelection(grid);
    m_ui.RefreshChooser();
    Choose();
    return true;
}

void CMaterialChooserLogic::PreviousPage() {
    if (m_nPage <= 0) return;
    --m_nPage;
    m_ui.RefreshChooser();
}

void CMaterialChooserLogic::NextPage() {
    if (!CanGoOn()) return;
    ++m_nPage;
    m_ui.RefreshChooser();
}

void CMaterialChooserLogic::Choose() {
    const int index = GetMaterialIndex();
    pnScene* scene = Scene();
    const pnMaterial* chosen = scene ? scene->getMaterial(index) : nullptr;
    if (!chosen || !m_bHasOwner) return;
    // The owner's own material by name: a Delete moves the list positions.
    if (chosen->getName() != m_strOwnerMaterial) m_ui.NotifyOwner(WM_MATERIAL_CHOSEN, m_nOwnerId, index);
    m_ui.HideChooser();
}

void CMaterialChooserLogic::AfterEditorOk() {
    // Only an editor closed with Enter leaves a press for the chooser to
    // let pass; after a click the next Enter chooses.
    if (m_ui.EnterKeyDown()) m_bEnter = 0;
}

bool CMaterialChooserLogic::OnEnterKey(bool keyUp) {
    if (!m_bEnter) {
        // The rest of the press that closed a nested editor.
        m_bEnter = 1;
        return false;
    }
    if (keyUp) return false;
    Choose();
    return true;
}

void CMaterialChooserLogic::Add(int detailed) {
    CKelvanoView* view = CurrentView();
    CKelvanoDoc* doc = view ? view->GetDocument() : nullptr;
    pnScene* scene = Scene();
    if (!doc || !scene) return;
    // With nothing selected (an empty list) the editor starts from a new
    // material's values.
    const pnMaterial fresh;
    const pnMaterial* source = scene->getMaterial(GetMaterialIndex());
    ReadCount();
    MaterialEditValues values = valuesOf(source ? *source : fresh);
    if (!source) values.name = view->MakeUniqueMaterialName("Color");
    m_ui.StepAside();
    if (detailed ? m_ui.RunDetailedEditor(values) : m_ui.RunSimpleEditor(values)) {
        AfterEditorOk();
        auto material = std::make_unique<pnMaterial>();
        material->setName(values.name.c_str());
        if (detailed) applyDetailed(*material, values, false);
        else applySimple(*material, values);
        // A name taken meanwhile is refused: nothing is added or recorded.
        if (scene->addAMaterialToScene(material.get())) {
            pnMaterial* added = material.release();
            m_strName = added->getName();
            ReadCount();
            doc->RecordUndoBeforeMaterial(added, m_nCount - 1, UNDO_MATERIAL_ADD);
            doc->RecordUndoAfterMaterial(added, -1);
            m_nPage = 0;
            SetSelection(0);
        }
    }
    m_ui.RefreshChooser();
    m_ui.ShowChooser();
}

void CMaterialChooserLogic::Modify(int detailed) {
    CKelvanoView* view = CurrentView();
    pnScene* scene = Scene();
    if (!view || !view->GetDocument() || !scene) return;
    const int index = GetMaterialIndex();
    pnMaterial* m = scene->getMaterial(index);
    if (!m) return;
    ReadCount();
    MaterialEditValues values = valuesOf(*m);
    m_ui.StepAside();
    if (detailed ? m_ui.RunDetailedEditor(values) : m_ui.RunSimpleEditor(values)) {
        AfterEditorOk();
        CEditScope edit(*view, m, scene->indexOfMaterial(m));
        if (detailed) applyDetailed(*m, values, true);
        else applySimple(*m, values);
        scene->updateObjectsUsingMaterial(m);
        if (index >= 0 && m_bHasOwner) m_ui.NotifyOwner(WM_MATERIAL_MODIFIED, m_nOwnerId, index);
    }
    m_ui.RefreshChooser();
    m_ui.ShowChooser();
}

void CMaterialChooserLogic::Delete() {
    CKelvanoView* view = CurrentView();
    CKelvanoDoc* doc = view ? view->GetDocument() : nullptr;
    pnScene* scene = Scene();
    if (!m_bHasSelection || !doc || !scene) return;
    const int index = GetMaterialIndex();
    pnMaterial* m = scene->getMaterial(index);
    if (!m) return;
    const std::string name = m->getName();
    std::string refusal;
    if (scene->isMaterialUsed(name.c_str())) {
        refusal = "Not deleted due to being used by an Object.";
    } else if (const pnLight* light = scene->findLightUsingMaterial(name.c_str())) {
        refusal = "Not deleted due to being used by the Light, " + light->getName() + ".";
    } else if (scene->isMaterialUsedByEffect(name.c_str())) {
        refusal = "Not deleted due to being used by an Effect.";
    }
    if (!refusal.empty()) {
        m_ui.StepAside();
        if (view && view->GetHost()) view->GetHost()->MessageBox(refusal, "Error", KV_MB_ICONWARNING);
        m_ui.ShowChooser();
        return;
    }
    const int oldCount = ReadCount();
    doc->RecordUndoBeforeMaterial(m, index, UNDO_MATERIAL_DELETE);
    doc->RecordUndoAfterMaterial(m, index);
    scene->deleteAMaterialFromScene(m);
    ReadCount();
    if (oldCount - m_nPage * kCellsPerPage - 1 <= 0 && m_nPage > 0) --m_nPage;
    // The material that took the deleted one's cell (or the one before it)
    // is selected, so Add and Modify go on working.
    SetSelection(m_nCount > 0 ? std::min(m_nSelected, m_nCount - 1) : -1);
    if (m_bHasSelection) m_nPage = m_nSelected / kCellsPerPage;
    const pnMaterial* selected = scene->getMaterial(GetMaterialIndex());
    m_strName = selected ? selected->getName() : "";
    m_ui.RefreshChooser();
}

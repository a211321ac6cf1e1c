// The view's Copy, Cut and Paste of one scene object, kept inside the program.
#include "editor/CKelvanoView.h"

#include "editor/CKelvanoDoc.h"
#include "editor/CUndoHistory.h"
#include "charts/pnChart.h"
#include "charts/pnObjectMaker.h"
#include "scene/pnEvent.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "scene/pnStringProperty.h"

#include <cstdio>
#include <memory>

namespace {
constexpr int kNameTries = 1000;
// The trailing number of a name keeps at most this many digits, so that it
// and its successors fit an int.
constexpr size_t kMaxNameDigits = 9;

// The first 10 characters of the style's name with the first free
// three-digit number (never `taken`); "" when all are taken.
std::string nextStyleName(const std::string& name, const pnScene& scene, const std::string& taken = std::string()) {
    const std::string prefix = name.substr(0, 10);
    for (int k = 1; k <= kNameTries; ++k) {
        char number[16];
        std::snprintf(number, sizeof number, "%03d", k);
        const std::string candidate = prefix + number;
        if (candidate != taken && !scene.findStringProperty(candidate.c_str())) return candidate;
    }
    return std::string();
}
}  // namespace

std::string CKelvanoView::NextPasteName(const std::string& name, const pnScene& scene) {
    // The trailing digits form the number; the first character always stays
    // in the prefix, so "123" numbers on from 23.
    size_t start = name.size();
    while (start > 1 && start - 1 < name.size() && name[start - 1] >= '0' && name[start - 1] <= '9' &&
           name.size() - (start - 1) <= kMaxNameDigits)
        --start;
    const std::string prefix = name.substr(0, start);
    long long n = 0;
    for (size_t i = start; i < name.size(); ++i) n = n * 10 + (name[i] - '0');
    for (int k = 1; k <= kNameTries; ++k) {
        const std::string candidate = prefix + std::to_string(n + k);
        if (!scene.objectExists(candidate.c_str())) return candidate;
    }
    return std::string();
}

int CKelvanoView::OnEditCopy() {
    if (m_bAnimationMode || !m_pDocument || !m_pScene || !m_pDocument->m_pSelectedObject) return 0;
    CKelvanoDoc& doc = *m_pDocument;
    pnObject* selected = doc.m_pSelectedObject;
    std::unique_ptr<pnObject> copy = pnMakeObject(selected->getTypeName());
    // A kind that cannot be made is not copied; the previous copy stays.
    if (!copy) return 0;
    copy->copy(selected);
    doc.m_pClipboardLabelStyle.reset();
    doc.m_pClipboardDataStyle.reset();
    if (const auto* chart = pnKindCast<pnChart>(selected)) {
        doc.m_pClipboardLabelStyle = CopyStringStyle(m_pScene.get(), chart->getLabelStringName());
        doc.m_pClipboardDataStyle = CopyStringStyle(m_pScene.get(), chart->getDataStringName());
    }
    const sgVec3 p = selected->getPosition();
    m_vPastePosition[0] = p[0], m_vPastePosition[1] = p[1], m_vPastePosition[2] = p[2];
    doc.m_pClipboardObject = std::move(copy);
    return 1;
}

int CKelvanoView::OnEditCut() {
    // Nothing selected: nothing to cut (the accelerator reaches here even
    // while the menu item is greyed).
    if (m_bAnimationMode || !m_pDocument || !m_pScene || !m_pDocument->m_pSelectedObject) return 0;
    if (!OnEditCopy()) return 0;
    CKelvanoDoc& doc = *m_pDocument;
    doc.m_nSelectedPartKind = -1;
    doc.m_pSelectedPart = nullptr;
    doc.RecordUndoBefore(doc.m_pSelectedObject, UNDO_DELETE);
    doc.RecordUndoAfter(doc.m_pSelectedObject);
    // The history keeps copies of the object and its event: the object itself
    // goes with its event.
    DeleteSelectedObject(1);
    Redraw();
    return 1;
}

int CKelvanoView::OnEditPaste() {
    if (m_bAnimationMode || !m_pDocument || !m_pScene || !m_pDocument->m_pClipboardObject) return 0;
    CKelvanoDoc& doc = *m_pDocument;
    pnScene& scene = *m_pScene;
    const pnObject* clip = doc.m_pClipboardObject.get();
    std::unique_ptr<pnObject> made = pnMakeObject(clip->getTypeName());
    if (!made) return 0;
    made->copy(clip);
    const bool chart = made->isChart();

    // Every name first: a paste that cannot be named adds nothing.
    const std::string name = NextPasteName(clip->getName(), scene);
    std::string labelName, dataName;
    if (chart && doc.m_pClipboardLabelStyle) {
        labelName = nextStyleName(doc.m_pClipboardLabelStyle->getName(), scene);
        // Both styles may start alike: the data style never takes the label's name.
        if (doc.m_pClipboardDataStyle) dataName = nextStyleName(doc.m_pClipboardDataStyle->getName(), scene, labelName);
        if (doc.m_pClipboardDataStyle && dataName.empty()) labelName.clear();
    }
    if (name.empty() || (chart && doc.m_pClipboardLabelStyle && labelName.empty())) {
        std::printf("Object Text Name Error\n");
        std::fflush(stdout);
        if (m_pHost) m_pHost->MessageBox("Object Text Name Error", "", KV_MB_OK | KV_MB_ICONWARNING);
        return 0;
    }

    m_vPastePosition[0] += doc.m_nCopyOffsetX;
    m_vPastePosition[1] += doc.m_nCopyOffsetY;
    made->setPosition(m_vPastePosition[0], m_vPastePosition[1], m_vPastePosition[2]);
    made->setName(name.c_str());

    if (!labelName.empty()) {
        auto* chartObject = static_cast<pnChart*>(made.get());
        auto addStyle = [&](const pnStringProperty& source, const std::string& styleName) {
            auto* style = new pnStringProperty;
            style->copy(&source);
            style->setName(styleName.c_str());
            if (!scene.addStringProperty(style)) delete style;
        };
        addStyle(*doc.m_pClipboardLabelStyle, labelName);
        chartObject->setLabelStringName(labelName.c_str());
        if (doc.m_pClipboardDataStyle) {
            addStyle(*doc.m_pClipboardDataStyle, dataName);
            chartObject->setDataStringName(dataName.c_str());
        }
    }

    pnObject* object = InsertNewObject(std::move(made));
    if (!object) return 0;
    AnnounceNewObject(name);
    doc.m_nSelectedPartKind = chart ? 0 : -1;
    // A paste is placed at once: it is its own creation step.
    doc.RecordUndoBefore(object, UNDO_CREATE);
    doc.RecordUndoAfter(object);
    return 1;
}

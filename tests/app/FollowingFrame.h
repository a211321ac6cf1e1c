// The frame's relays and the effect dialogs as the program wires them, with
// the windows' models in place of the windows: for headless tests of what
// follows the view.
#pragma once

#include "charts/pnChart.h"
#include "editor/CEffectDialogs.h"
#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "editor/CKelvanoView.h"
#include "scene/pnEffect.h"
#include "scene/pnObject.h"
#include "tests/app/RecordingHost.h"
#include "tests/app/ViewFixture.h"
#include "ui/animation/CEffectDialogModels.h"
#include "ui/animation/CEffectListModel.h"
#include "ui/animation/CEventTreeModel.h"
#include "ui/animation/CGrowShrinkModel.h"
#include "ui/animation/CTimeLineModel.h"
#include "ui/animation/CViewTimeLineHost.h"
#include "ui/properties/rules/CCameraPageLogic.h"
#include "ui/properties/rules/CLightPageLogic.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

// The effect dialogs as the program's dialog set holds them, without windows:
// each dialog is its model.
class ModelEffectDialogs : public CEffectDialogs {
public:
    explicit ModelEffectDialogs(CKelvanoView* view) : m_pView(view) {}
    bool Open(int mode, const std::string& effectName) override {
        Destroy(mode);
        if (mode == 1) creating = std::make_unique<CCreateEffectModel>(m_pView);
        if (mode != 2) return mode == 1;
        editor = std::make_unique<CEffectEditorModel>(m_pView, 0);
        editor->Load(effectName);
        return true;
    }
    bool IsOpen(int mode) const override {
        return mode == 1 ? creating && creating->IsOpen() : mode == 2 && editor && editor->IsOpen();
    }
    void Focus(int) override {}
    void Destroy(int mode) override {
        if (mode == 1 && IsOpen(1)) creating->Cancel();
        if (mode == 2 && IsOpen(2)) editor->Close();
    }
    void SetMove(int mode, const sgVec3& v) override {
        if (mode == 2 && IsOpen(2)) editor->SetMove(v);
        else if (pnEffect* preview = mode == 1 && IsOpen(1) ? creating->Preview() : nullptr) preview->setTrans(v);
    }
    void SetScale(int mode, const sgVec3& v) override {
        if (mode == 2 && IsOpen(2)) editor->SetScale(v);
        else if (pnEffect* preview = mode == 1 && IsOpen(1) ? creating->Preview() : nullptr) preview->setScale(v);
    }
    void SetRotate(int mode, float angle, const sgVec3& axis) override {
        if (mode == 2 && IsOpen(2)) editor->SetRotate(angle, axis);
        else if (pnEffect* preview = mode == 1 && IsOpen(1) ? creating->Preview() : nullptr) preview->setRotAngle(angle);
    }
    std::string GetPreviewEffectName() override {
        const pnEffect* preview = IsOpen(1) ? creating->Preview() : nullptr;
        return preview ? preview->getName() : std::string();
    }
    void RevertEffect() override {
        if (IsOpen(2)) editor->Revert();
    }
    void LoadEffect(const std::string& name) override {
        if (IsOpen(2)) editor->Load(name);
    }
    void TakeSavedRotation(float& angle, sgVec3& axis) override {
        if (IsOpen(2)) editor->TakeSavedRotation(angle, axis);
    }
    // The modal dialogs as the program's set runs them, what the user does in
    // them given by the test (nothing when unset).
    void RunModalEditor(const std::string& effectName, int mode) override {
        CEffectEditorModel modal(m_pView, mode);
        if (modal.Load(effectName) && inModalEditor) inModalEditor(modal);
        modal.Close();
    }
    void RunGrowShrink() override {
        CKelvanoDoc* doc = m_pView->GetDocument();
        CGrowShrinkModel model;
        if (!model.Load(pnKindCast<pnChart>(doc->m_pSelectedObject), doc->m_nGrowLength, doc->m_nShrinkLength)) return;
        model.ShowIn(m_pView);
        if (inGrowShrink) inGrowShrink(model);
    }
    std::function<void(CEffectEditorModel&)> inModalEditor;
    std::function<void(CGrowShrinkModel&)> inGrowShrink;

    std::unique_ptr<CCreateEffectModel> creating;
    std::unique_ptr<CEffectEditorModel> editor;

private:
    CKelvanoView* m_pView;
};

struct TimeLineHost : CViewTimeLineHost {
    std::string ChooseSoundFile() override { return sound; }
    std::string sound;  // what the sound file dialog gives
};

// The frame's relays as the main frame wires them: the time line, the event
// tree and the light and camera pages are their models; the page shown is
// written down by its object.
class FollowingFrame : public RecordingFrame {
public:
    FollowingFrame() : timeLine(timeLineHost) {}
    void RebuildTimeLineRows() override { timeLine.RebuildRows(); }
    void UpdateTimeLineEventRow(const std::string& name) override { timeLine.UpdateEventRow(name); }
    void UpdateTimeLineEventRowAndSelect(const std::string& name, const std::string& effect) override {
        timeLine.UpdateEventRowAndSelect(name, effect);
    }
    void SelectTimeLineEvent(const std::string& name) override { timeLine.SelectEvent(name, 0); }
    void SetTimeLineFrame(int frame) override { timeLine.SetCurrentFrame(frame); }
    void RebuildEventTree() override {
        tree.Build(CurrentScene());
        effectList.Fill();
    }
    void UpdateBarsForMode(bool animation, const std::string& first) override {
        RecordingFrame::UpdateBarsForMode(animation, first);
        if (!animation) return;
        timeLine.RebuildRows();
        tree.Build(CurrentScene());
    }
    void ReloadCameraPage() override { camera.LoadViewpoint(); }
    int RefreshLightPage(int keep) override {
        light.InitSceneLights(keep);
        return 1;
    }
    void ReloadLightPage() override {
        if (light.Current() >= 0) light.ShowLight(light.Current());
    }
    void ShowFrameInPages() override {
        camera.FollowFrame();
        light.FollowFrame();
    }
    void ShowObjectPage(int page, pnObject* object, int flag) override {
        RecordingFrame::ShowObjectPage(page, object, flag);
        pageObject = object ? object->getName() : std::string();
    }
    void AddEffectListName(const std::string& name) override {
        RecordingFrame::AddEffectListName(name);
        effectList.Add(name);
    }
    void RemoveEffectListName(const std::string& name) override {
        RecordingFrame::RemoveEffectListName(name);
        effectList.Remove(name);
    }

    // The Object List bar as its sorted list box holds it: names, and the
    // names ticked.
    int AddObjectListItem(const std::string& name) override {
        RecordingFrame::AddObjectListItem(name);
        objectList.insert(std::upper_bound(objectList.begin(), objectList.end(), name), name);
        return 1;
    }
    int RemoveObjectListItem(const std::string& name) override {
        RecordingFrame::RemoveObjectListItem(name);
        const auto at = std::find(objectList.begin(), objectList.end(), name);
        if (at == objectList.end()) return 0;
        objectList.erase(at);
        ticked.erase(name);
        return 1;
    }
    int SelectObjectListItem(const std::string& name, int on) override {
        RecordingFrame::SelectObjectListItem(name, on);
        if (std::find(objectList.begin(), objectList.end(), name) == objectList.end()) return 0;
        if (on) ticked.insert(name);
        else ticked.erase(name);
        return 1;
    }
    int SelectObjectListIndex(int index, int on) override {
        RecordingFrame::SelectObjectListIndex(index, on);
        if (index < -1 || index >= static_cast<int>(objectList.size())) return 0;
        for (int i = 0; i < static_cast<int>(objectList.size()); ++i)
            if (index == -1 || index == i) {
                if (on) ticked.insert(objectList[static_cast<size_t>(i)]);
                else ticked.erase(objectList[static_cast<size_t>(i)]);
            }
        return 1;
    }
    int RenameObjectListItem(const std::string& oldName, const std::string& newName) override {
        RecordingFrame::RenameObjectListItem(oldName, newName);
        return RemoveObjectListItem(oldName) && AddObjectListItem(newName);
    }
    void ClearObjectList() override {
        RecordingFrame::ClearObjectList();
        objectList.clear();
        ticked.clear();
    }

    TimeLineHost timeLineHost;
    CTimeLineModel timeLine;
    CEventTreeModel tree;
    CCameraPageLogic camera;
    CLightPageLogic light;
    // The Effect List as the frame fills it (its window's model).
    CEffectListModel effectList;
    std::string pageObject = "-";
    std::vector<std::string> objectList;
    std::set<std::string> ticked;
};

// The view on such a frame, with the effect dialogs as their models.
class FollowingViewTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        host.frame = &frame;
        create();
        dialogs = std::make_unique<ModelEffectDialogs>(view.get());
        view->SetEffectDialogs(dialogs.get());
    }
    void TearDown() override {
        view->SetEffectDialogs(nullptr);
        dialogs.reset();
        ViewTest::TearDown();
    }

    FollowingFrame frame;
    std::unique_ptr<ModelEffectDialogs> dialogs;
};

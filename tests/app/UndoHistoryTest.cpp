// The undo history on its own: the bound, the redo part, the kinds and the
// lifetime of materials that the steps hold out of the scene.
#include "editor/CUndoHistory.h"
#include "charts/pnBarChart.h"
#include "charts/pnObjectMaker.h"
#include "scene/pnCounter.h"
#include "scene/pnMaterial.h"
#include "scene/pnObject.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace {
std::unique_ptr<CUndoStep> stepOfKind(int kind, int tag = 0) {
    auto step = std::make_unique<CUndoStep>();
    step->m_nKind = kind;
    step->m_pBefore->m_nMaterialIndex = tag;
    return step;
}
}  // namespace

TEST(UndoHistoryTest, TwelveChangesLeaveElevenUndos) {
    CUndoHistory history;
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    for (int i = 0; i < 12; ++i) history.Push(stepOfKind(UNDO_CHANGE, i));
    EXPECT_EQ(history.GetCount(), 11);
    int kind = -1;
    for (int i = 11; i >= 1; --i) {
        CUndoSnapshot* s = history.Undo(kind);
        ASSERT_NE(s, nullptr) << i;
        EXPECT_EQ(s->m_nMaterialIndex, i) << "newest first; the first change is gone";
        EXPECT_EQ(kind, UNDO_CHANGE);
    }
    EXPECT_EQ(history.Undo(kind), nullptr);
    // Everything undone: redo is possible, and a push drops the whole list.
    EXPECT_TRUE(history.CanRedo());
    CUndoSnapshot* other = nullptr;
    ASSERT_NE(history.Redo(kind, &other), nullptr);
    EXPECT_EQ(other->m_nMaterialIndex, 1);
    history.Undo(kind);
    history.Push(stepOfKind(UNDO_BACKGROUND, 99));
    EXPECT_EQ(history.GetCount(), 1);
    EXPECT_FALSE(history.CanRedo());
}

TEST(UndoHistoryTest, ANewStepAfterUndoingDropsTheUndoneSteps) {
    CUndoHistory history;
    for (int i = 0; i < 5; ++i) history.Push(stepOfKind(UNDO_CHANGE, i));
    int kind = 0;
    history.Undo(kind);
    history.Undo(kind);
    EXPECT_EQ(history.GetCurrentIndex(), 2);
    history.Push(stepOfKind(UNDO_VIEWPOINT, 7));
    EXPECT_EQ(history.GetCount(), 4);
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Undo(kind)->m_nMaterialIndex, 7);
    EXPECT_EQ(kind, UNDO_VIEWPOINT);
    EXPECT_EQ(history.Undo(kind)->m_nMaterialIndex, 2);
}

TEST(UndoHistoryTest, UndoMapsCreationAndDeletionOntoEachOther) {
    const struct {
        int kind, undo, redo;
    } table[] = {
        {UNDO_CREATE, UNDO_DELETE, UNDO_CREATE},
        {UNDO_CHANGE, UNDO_CHANGE, UNDO_CHANGE},
        {UNDO_DELETE, UNDO_CREATE, UNDO_DELETE},
        {UNDO_BACKGROUND, UNDO_BACKGROUND, UNDO_BACKGROUND},
        {UNDO_MATERIAL_ADD, UNDO_MATERIAL_DELETE, UNDO_MATERIAL_ADD},
        {UNDO_MATERIAL_CHANGE, UNDO_MATERIAL_CHANGE, UNDO_MATERIAL_CHANGE},
        {UNDO_MATERIAL_DELETE, UNDO_MATERIAL_ADD, UNDO_MATERIAL_DELETE},
        {UNDO_VIEWPOINT, UNDO_VIEWPOINT, UNDO_VIEWPOINT},
    };
    for (const auto& row : table) {
        EXPECT_EQ(UndoApplyKind(row.kind, true), row.undo) << row.kind;
        EXPECT_EQ(UndoApplyKind(row.kind, false), row.redo) << row.kind;
    }
}

TEST(UndoHistoryTest, SnapshotsCopyEveryKindAndNeverShareTheLiveObject) {
    pnCounter counter;
    counter.setName("count");
    counter.setInitValue(3);
    CUndoSnapshot snapshot;
    snapshot.TakeObject(&counter, nullptr);
    ASSERT_NE(snapshot.m_pObjectCopy, nullptr);
    EXPECT_NE(snapshot.m_pObjectCopy.get(), &counter);
    EXPECT_STREQ(snapshot.m_pObjectCopy->getTypeName(), "pnCounter");
    EXPECT_EQ(snapshot.ObjectName(), "count");
    EXPECT_EQ(snapshot.m_pLiveObject, &counter);

    for (const char* kind : {"pnString", "pnPanel", "pnModel", "pnCounter", "pnVolume", "pnBackground",
                             "pnBarChart", "pnLineChart", "pnPieChart", "pnVolumeChart"}) {
        auto made = pnMakeObject(kind);
        ASSERT_NE(made, nullptr) << kind;
        EXPECT_STREQ(made->getTypeName(), kind);
        EXPECT_EQ(pnIsKind(made.get(), pnObjectKind::Chart), std::strstr(kind, "Chart") != nullptr) << kind;
    }
    // A kind that cannot be made gives no copy; such a snapshot is skipped.
    EXPECT_EQ(pnMakeObject("pnObject"), nullptr);
    EXPECT_EQ(pnMakeObject(nullptr), nullptr);
    pnObject plain;
    plain.setName("plain");
    snapshot.TakeObject(&plain, nullptr);
    EXPECT_EQ(snapshot.m_pObjectCopy, nullptr);
    EXPECT_EQ(snapshot.ObjectName(), "");
}

// Materials out of the scene belong to the steps that can bring them back;
// the last step to go frees them (the leak checker sees any that stays).
TEST(UndoHistoryTest, MaterialsOutOfTheSceneLiveAsLongAsAStepNamesThem) {
    std::set<const pnMaterial*> scene;
    CUndoHistory history([&scene](const pnMaterial* m) { return scene.count(m) != 0; });
    auto materialStep = [](int kind, pnMaterial* m) {
        auto step = stepOfKind(kind);
        step->m_pBefore->m_pLiveMaterial = m;
        step->m_pAfter->m_pLiveMaterial = m;
        return step;
    };

    // Deleted, and the step in effect: dropping the oldest step frees it.
    auto* deleted = new pnMaterial;
    history.Push(materialStep(UNDO_MATERIAL_DELETE, deleted));
    // Added, then undone: the redo part dropped by the next push frees it.
    auto* added = new pnMaterial;
    scene.insert(added);
    history.Push(materialStep(UNDO_MATERIAL_ADD, added));
    int kind = 0;
    history.Undo(kind);
    scene.erase(added);
    history.Push(stepOfKind(UNDO_CHANGE));
    EXPECT_EQ(history.GetCount(), 2);

    // Modified, deleted: the older step going keeps it for the newer one.
    auto* kept = new pnMaterial;
    history.Push(materialStep(UNDO_MATERIAL_CHANGE, kept));
    history.Push(materialStep(UNDO_MATERIAL_DELETE, kept));
    // A material that is in the scene is never freed by the history.
    pnMaterial inScene;
    scene.insert(&inScene);
    history.Push(materialStep(UNDO_MATERIAL_CHANGE, &inScene));
    for (int i = 0; i < CUndoHistory::kMaxSteps - 2; ++i) history.Push(stepOfKind(UNDO_CHANGE));
    EXPECT_EQ(history.GetCount(), CUndoHistory::kMaxSteps);
    // The three oldest steps (the deletion of `deleted`, a change, the change
    // of `kept`) are gone; `kept` lives on in its deletion step.
    EXPECT_EQ(history.Current()->m_nKind, UNDO_CHANGE);
    kept->setName("still here");
    EXPECT_EQ(kept->getName(), "still here");
    history.Clear();
    EXPECT_EQ(inScene.getName(), "");
}

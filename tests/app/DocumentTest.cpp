#include "editor/CKelvanoAppState.h"
#include "editor/CKelvanoDoc.h"
#include "tests/app/MemoryProfile.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <tuple>

TEST(DocumentTest, DefaultsWithoutStoredSettings) {
    CKelvanoAppState app;
    MemoryProfile profile;
    CKelvanoDoc doc(&profile);
    EXPECT_EQ(app.m_pCurrentDoc, &doc);
    EXPECT_EQ(doc.m_bHighlight, 0);
    EXPECT_EQ(doc.m_nOutQuality, 4);
    EXPECT_EQ(doc.m_nEffectLength, 21);
    EXPECT_EQ(doc.m_nGrowLength, 21);
    EXPECT_EQ(doc.m_nShrinkLength, 11);
    EXPECT_EQ(doc.m_nCopyOffsetX, 10);
    EXPECT_EQ(doc.m_nCopyOffsetY, 10);
    EXPECT_EQ(doc.m_nSceneWidth, 580);
    EXPECT_EQ(doc.m_nSceneHeight, 392);
    EXPECT_EQ(doc.m_bFixedDuration, 0);
    EXPECT_EQ(doc.m_bShowImagePreview, 1);
    EXPECT_EQ(doc.m_nMaterialEditor, 1);
    EXPECT_EQ(doc.m_bKeepAspect, 0);
    EXPECT_DOUBLE_EQ(doc.m_dAspect, 1.0);
    EXPECT_EQ(doc.m_pSelectedObject, nullptr);
    EXPECT_EQ(doc.m_nSelectedDataPt, -1);
    EXPECT_EQ(doc.m_nSelectedPartKind, -1);
    EXPECT_TRUE(doc.m_effectUses.empty());
}

TEST(DocumentTest, StoredSettingsAreReadAndBadOnesReplaced) {
    CKelvanoAppState app;
    MemoryProfile profile;
    profile.WriteProfileInt("Configure", "Highlight", 1);
    profile.WriteProfileInt("Configure", "EffectLength", 30);
    profile.WriteProfileInt("Configure", "SceneX", 640);
    profile.WriteProfileInt("Configure", "SceneY", 480);
    for (auto [stored, read] : {std::pair{2, 4}, {8, 8}, {0, 0}, {4, 4}, {-8, 4}, {16, 4}}) {
        profile.WriteProfileInt("Configure", "OutQuality", stored);
        CKelvanoDoc doc(&profile);
        EXPECT_EQ(doc.m_nOutQuality, read) << "stored " << stored;
        EXPECT_EQ(doc.m_bHighlight, 1);
        EXPECT_EQ(doc.m_nEffectLength, 30);
        EXPECT_EQ(doc.m_nSceneWidth, 640);
        EXPECT_EQ(doc.m_nSceneHeight, 480);
    }
    // A zero scene size (saved by a minimised window) or a damaged one falls
    // back to the default instead of making an empty scene window; a side
    // past the largest is held there.
    for (auto [stored, width, height] : {std::tuple{0, 580, 392}, {-5, 580, 392}, {kMaxSceneSide + 1, kMaxSceneSide,
                                         kMaxSceneSide}, {INT_MAX, kMaxSceneSide, kMaxSceneSide}}) {
        profile.WriteProfileInt("Configure", "SceneX", stored);
        profile.WriteProfileInt("Configure", "SceneY", stored);
        CKelvanoDoc doc(&profile);
        EXPECT_EQ(doc.m_nSceneWidth, width) << stored;
        EXPECT_EQ(doc.m_nSceneHeight, height) << stored;
    }
}

// Effect lengths from the settings file stay within the frames the editors
// take: a huge one would make the first drag count frames for seconds. One
// below a frame falls back to the default, one past the last is held there.
TEST(DocumentTest, StoredEffectLengthsKeepWithinTheFrames) {
    CKelvanoAppState app;
    MemoryProfile profile;
    for (int stored : {0, -3, kMaxFrame + 1, 2000000000}) {
        profile.WriteProfileInt("Configure", "EffectLength", stored);
        profile.WriteProfileInt("Configure", "GrowLength", stored);
        profile.WriteProfileInt("Configure", "ShrinkLength", stored);
        CKelvanoDoc doc(&profile);
        const bool held = stored > kMaxFrame;
        EXPECT_EQ(doc.m_nEffectLength, held ? kMaxFrame : 21) << stored;
        EXPECT_EQ(doc.m_nGrowLength, held ? kMaxFrame : 21) << stored;
        EXPECT_EQ(doc.m_nShrinkLength, held ? kMaxFrame : 11) << stored;
    }
    profile.WriteProfileInt("Configure", "EffectLength", kMaxFrame);
    EXPECT_EQ(CKelvanoDoc(&profile).m_nEffectLength, kMaxFrame);
}

TEST(DocumentTest, SettingsAreWrittenBack) {
    CKelvanoAppState app;
    MemoryProfile profile;
    CKelvanoDoc doc(nullptr);
    doc.m_bHighlight = 1;
    doc.m_nOutQuality = 8;
    doc.m_nShrinkLength = 7;
    doc.m_nSceneWidth = 720;
    doc.m_nCopyOffsetY = 3;
    doc.WriteSettings(profile);
    for (const char* key : {"Highlight", "OutQuality", "EffectLength", "GrowLength", "ShrinkLength", "SceneX",
                            "SceneY", "CopyOffsetX", "CopyOffsetY"})
        EXPECT_TRUE(profile.Has("Configure", key)) << key;
    EXPECT_EQ(profile.values.size(), 9u);
    CKelvanoDoc reread(&profile);
    EXPECT_EQ(reread.m_bHighlight, 1);
    EXPECT_EQ(reread.m_nOutQuality, 8);
    EXPECT_EQ(reread.m_nShrinkLength, 7);
    EXPECT_EQ(reread.m_nSceneWidth, 720);
    EXPECT_EQ(reread.m_nSceneHeight, 392);
    EXPECT_EQ(reread.m_nCopyOffsetY, 3);
}

TEST(DocumentTest, SafetyZone) {
    CKelvanoDoc doc(nullptr);
    EXPECT_EQ(doc.m_rcSafetyZone, (CRectI{1, 1, 580, 392}));
    doc.m_fSafetyZoneH = 10;
    doc.m_fSafetyZoneV = 10;
    doc.UpdateSafetyZone();
    EXPECT_EQ(doc.m_rcSafetyZone, (CRectI{58, 39, 521, 352}));
    // Only the horizontal margin set.
    doc.m_fSafetyZoneV = 0;
    doc.UpdateSafetyZone();
    EXPECT_EQ(doc.m_rcSafetyZone, (CRectI{58, 1, 521, 392}));
    // A margin below one pixel counts as none.
    doc.m_nSceneWidth = 50;
    doc.m_fSafetyZoneH = 1;
    doc.UpdateSafetyZone();
    EXPECT_EQ(doc.m_rcSafetyZone, (CRectI{1, 1, 50, 392}));
    // Margins are taken as 0 to 50 percent: never a frame turned inside out.
    EXPECT_FLOAT_EQ(CKelvanoDoc::SafetyZonePercent(60), 50);
    EXPECT_FLOAT_EQ(CKelvanoDoc::SafetyZonePercent(1e10f), 50);
    EXPECT_FLOAT_EQ(CKelvanoDoc::SafetyZonePercent(-5), 0);
    EXPECT_FLOAT_EQ(CKelvanoDoc::SafetyZonePercent(std::nanf("")), 0);
    EXPECT_FLOAT_EQ(CKelvanoDoc::SafetyZonePercent(12.5f), 12.5f);
}

TEST(DocumentTest, EffectUseCounts) {
    CKelvanoDoc doc(nullptr);
    // Two events: one plays "spin" twice and "fade" once, the other "spin" once.
    const std::vector<std::string> plays = {"spin", "fade", "spin", "spin"};
    doc.RebuildEffectUses({"spin", "fade", "grow"}, plays);
    ASSERT_EQ(doc.m_effectUses.size(), 3u);
    EXPECT_EQ(doc.m_effectUses[0], (std::pair<std::string, int>{"spin", 3}));
    EXPECT_EQ(doc.GetEffectUse("fade"), 1);
    EXPECT_EQ(doc.GetEffectUse("grow"), 0);
    EXPECT_EQ(CKelvanoDoc::CountEffectUses("spin", plays), 3);

    doc.AddEffectUse("grow");
    doc.ReleaseEffectUse("fade");
    doc.ReleaseEffectUse("fade");
    EXPECT_EQ(doc.GetEffectUse("grow"), 1);
    // No lower bound; the entry stays at -1 (which GetEffectUse also answers
    // for a missing name, so the list size tells them apart).
    EXPECT_EQ(doc.m_effectUses[1], (std::pair<std::string, int>{"fade", -1}));
    EXPECT_EQ(doc.m_effectUses.size(), 3u);
    doc.AddEffectUse("unknown");
    doc.ReleaseEffectUse("unknown");
    EXPECT_EQ(doc.GetEffectUse("unknown"), -1);
    EXPECT_EQ(doc.m_effectUses.size(), 3u);
    doc.ClearEffectUses();
    EXPECT_TRUE(doc.m_effectUses.empty());
}

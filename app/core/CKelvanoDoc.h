// The document: the user's settings (profile section "Configure"), the scene
// size and its safety zone, the selection and the effect-use counts. The scene
// itself belongs to the view.
#pragma once

#include <string>
#include <utility>
#include <vector>

class CProfile;
class pnObject;

struct CRectI {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const CRectI& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

class CKelvanoDoc {
public:
    // Reads the settings from the profile (defaults without one) and becomes
    // the application's current document.
    explicit CKelvanoDoc(CProfile* profile);
    ~CKelvanoDoc();
    CKelvanoDoc(const CKelvanoDoc&) = delete;
    CKelvanoDoc& operator=(const CKelvanoDoc&) = delete;

    void UpdateSafetyZone();

    void AddEffectUse(const std::string& effectName);
    void ReleaseEffectUse(const std::string& effectName);
    // effectNames: the scene's effects in list order; playEffectNames: the
    // effect name of every play of every event of the scene.
    void RebuildEffectUses(const std::vector<std::string>& effectNames,
                           const std::vector<std::string>& playEffectNames);
    static int CountEffectUses(const std::string& effectName, const std::vector<std::string>& playEffectNames);
    void ClearEffectUses() { m_effectUses.clear(); }
    // The count kept for a name, -1 when the name has no entry.
    int GetEffectUse(const std::string& effectName) const;

    std::string GetContainerName() const { return m_strContainerName; }

    // Writes the settings back to section "Configure".
    void WriteSettings(CProfile& profile) const;

    std::string m_strContainerName;
    std::string m_strStorageText;
    unsigned char m_bUpdatingContainer = 0;
    int m_nSceneWidth = 580;
    int m_nSceneHeight = 392;
    CRectI m_rcSafetyZone;
    float m_fSafetyZoneH = 0.0f;
    float m_fSafetyZoneV = 0.0f;
    std::vector<std::pair<std::string, int>> m_effectUses;
    std::vector<pnObject*> m_selectedObjects;
    pnObject* m_pSelectedObject = nullptr;
    pnObject* m_pSelectedPart = nullptr;
    int m_nSelectedDataPt = -1;
    int m_nSelectedPartKind = -1;
    int m_bHighlight = 0;
    int m_nEffectLength = 21;
    int m_nGrowLength = 21;
    int m_nShrinkLength = 11;
    int m_nOutQuality = 4;
    int m_bFixedDuration = 0;
    int m_nCopyOffsetX = 10;
    int m_nCopyOffsetY = 10;
    int m_bShowImagePreview = 1;
    int m_nMaterialEditor = 1;
    int m_bKeepAspect = 0;
    double m_dAspect = 1.0;
    // Export dialog choices, kept for the session only.
    int m_nJpegQuality = 100;
    int m_bJpegProgressive = 0;
    int m_bSaveAlpha = 0;
    int m_bGifTransparent = 0;
};

// Largest scene side read from the profile; a larger stored value is damage.
constexpr int kMaxSceneSide = 16384;

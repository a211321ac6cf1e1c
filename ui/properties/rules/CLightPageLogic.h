// The rules of the property bar's Light page, free of any window: the four
// light slots bound to the scene's lights, what each control shows and
// whether it is enabled, and the handlers. In object mode changes go to the
// lights; in animation mode the page shows each light where the view shows it
// at the current frame, and a move from there or a colour change becomes a
// "litEffect" played on the light's event from the current frame. The wx page
// shows Controls() after every handler.
#pragma once

#include "sg/sgVec.h"
#include "ui/properties/rules/CLightPreviewModel.h"

#include <string>

class CKelvanoView;
class pnLight;

// What the page's controls show.
struct LightPageControls {
    int check[kLightPreviewSlots] = {1, 0, 0, 0};        // "L1".."L4"
    int radioEnabled[kLightPreviewSlots] = {1, 0, 0, 0};
    int radio = 0;                                        // the current light's radio
    int lightButtonsEnabled = 1;
    int intensity = 100;  // slider position, intensity x 100
    int intensityEnabled = 1;
    int positional = 1;   // "Positional" checked, else "Directional"
    int kindEnabled = 1;
    int distance = 10;    // slider position
    int distanceEnabled = 1;
    int spotOff = 1;      // "Off" checked, else "On"
    int spotRadiosEnabled = 1;
    int spotEditsEnabled = 0;
    std::string exponent, cutoff, directionX, directionY, directionZ;
    unsigned long swatch = 0xCCCCCC;  // COLORREF of the light's material
    int colorEnabled = 1;
};

// Whether the light and camera pages can edit through the view: it has a
// scene and a document (they are idle otherwise).
bool PageHasScene(const CKelvanoView* view);

// A new effect made by the light or camera page in animation mode: named
// base + the first free number, played with flag 1 from the current frame
// for the event's free length (one frame less when shorter is set and the
// event has no play yet), the frame moved to its end. move, when given, is
// the effect's translation (and its name joins the Effect List); otherwise
// color names the effect's material. The name made, or "" when none was.
std::string CreatePageEffect(CKelvanoView& view, const std::string& eventName, const char* base, const sgVec3* move,
                             const std::string& color, bool shorter);

class CLightPageLogic {
public:
    static constexpr float kDistanceScale = 300.0f;
    enum Field { EXPONENT, CUTOFF, DIRECTION_X, DIRECTION_Y, DIRECTION_Z };

    CLightPageLogic();

    // Binds the slots to the current scene's lights, filling them up to four
    // (keep 0 switches the first one on); the first light on becomes current.
    void InitSceneLights(int keep);
    void ShowLight(int index);
    void Lock(bool animation);
    // The view stands on another frame, or what its frame shows changed: in
    // animation mode every light's marker goes where the view shows the light.
    void FollowFrame();

    void OnLightButton(int slot, bool on);
    void OnLightRadio(int slot);
    // The distance slider at position; end marks a completed move (the
    // thumb let go, or one key step).
    void OnDistance(int position, bool end);
    void OnIntensity(int position);
    void OnSpotOn(const std::string& cutoffText);
    void OnSpotOff();
    void OnDirectional();
    void OnPositional();
    void OnNumCommit(Field field, const std::string& text);
    void OnMaterialChosen(int materialIndex);
    void OnMaterialModified(int materialIndex);
    // The preview was let go: the current light's marker stands where the
    // preview put it.
    void OnPreviewDrop();

    int Current() const { return m_nCurrent; }
    pnLight* Light(int slot) const;
    std::string CurrentMaterial() const;
    const LightPageControls& Controls() const { return m_controls; }
    CLightPreviewModel& Preview() { return m_preview; }

private:
    void UpdateEnabling();
    void ShowMaterial(const std::string& name);
    void MoveCurrent(bool byDistance);
    // A light changed without an undo step: the scene is modified and redrawn.
    void Changed() const;
    // The light of the current slot with a document and a view, else null.
    pnLight* CurrentLight() const;
    // Where the view shows the slot's light: its position, moved in animation
    // mode by its event's plays up to the current frame.
    sgVec3 ShownPosition(int slot) const;

    pnLight* m_lights[kLightPreviewSlots] = {};
    CLightPreviewModel m_preview;
    LightPageControls m_controls;
    int m_nCurrent = -1;
    bool m_bAnimation = false;
};

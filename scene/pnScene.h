// The whole authored scene: name, frame size, format version, the seven
// name-keyed lists (lights, materials, text styles, objects, events, effects,
// charts), the viewpoint, the background, the default material, pause frames,
// sound cues and a transform that moves the whole scene.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "sg/sgList.h"
#include "sg/sgVec.h"

class pnLight;
class pnMaterial;
class pnStringProperty;
class pnObject;
class pnEvent;
class pnEffect;
class pnViewpoint;
struct SceneGraphRoots;
class sgDCS;

// A sound cue: a wave file started when playback reaches its frame.
struct pnSound {
    std::string file;
    int frame = -1;
};

class pnScene {
public:
    static constexpr int MAX_PAUSES = 64;
    static constexpr int MAX_SOUNDS = 128;
    // getNextPause/getNextSound when nothing follows the frame.
    static constexpr int NO_LATER_FRAME = 9999999;
    enum { POSITION_FLAG = 0, ROTANGLE_FLAG, ROTAXIS_FLAG, SCALE_FLAG, NUM_SET_FLAGS };

    pnScene();
    ~pnScene();
    pnScene(const pnScene&) = delete;
    pnScene& operator=(const pnScene&) = delete;

    // Defaults and empty lists. Frees nothing: empty a scene with release()
    // then init().
    void init();
    // Deletes every owned item, the viewpoint, background and default material.
    void release();

    // Adding: 1, or 0 when refused (a refused item stays the caller's). Lights,
    // materials and text styles refuse a taken name; objects, events, effects
    // and charts also refuse an empty one.
    int addLight(pnLight* light);
    int addMaterial(pnMaterial* material);
    // index must be that of an existing material.
    int insertMaterial(int index, pnMaterial* material);
    int addStringProperty(pnStringProperty* style);
    int addObject(pnObject* object);
    int addEvent(pnEvent* event);
    int addEffect(pnEffect* effect);
    // The chart list does not own; the caller also adds the chart as an object.
    int addChart(pnObject* chart);

    // Removing takes the item out (the rest keep their order) without deleting
    // it; 1 when removed.
    int removeLight(pnLight* light);
    int removeStringPropertyl(pnStringProperty* style);
    int removeObject(pnObject* object);
    int removeEvent(pnEvent* event);
    int removeEffect(pnEffect* effect);
    int removeChart(pnObject* chart);
    // Moves the named event to position (appended when past the end).
    int moveEvent(const char* name, int position);

    // Replace (and delete) the current one; the scene owns the new one.
    void setBackground(pnObject* background);
    void setViewpoint(pnViewpoint* viewpoint);
    void setDefaultMaterial(pnMaterial* material);
    pnObject* getBackground() const { return background.get(); }
    pnViewpoint* getViewpoint() const { return viewpoint.get(); }
    pnMaterial* getDefaultMaterial() const { return defaultMaterial.get(); }

    // Look-ups: null, or -1 for an index, when nothing matches.
    int findMaterialIndex(const char* name) const;
    int findLightIndex(const char* name) const;
    int findEventIndex(const char* name) const;
    int indexOfMaterial(const pnMaterial* material) const;
    int indexOfObject(const pnObject* object) const;
    int indexOfEvent(const pnEvent* event) const;
    pnMaterial* findMaterial(const char* name) const;
    pnStringProperty* findStringProperty(const char* name) const;
    pnLight* findLight(const char* name) const;
    pnObject* findObject(const char* name) const;
    pnEffect* findEffect(const char* name) const;
    pnEvent* findEvent(const char* name) const;
    pnMaterial* getMaterial(int index) const;
    pnLight* getLight(int index) const;
    pnObject* getObject(int index) const;
    pnObject* getChart(int index) const;
    pnEffect* getEffect(int index) const;
    pnEvent* getEvent(int index) const;
    pnStringProperty* getStringProperty(int index) const;
    // Copy the name into buffer (size bytes, terminated; names never exceed
    // 127 bytes). 0 when there is no such item.
    int getMaterialName(int index, char* buffer, size_t size = 128) const;
    int getObjectName(int index, char* buffer, size_t size = 128) const;
    int objectExists(const char* name) const;
    int effectExists(const char* name) const;
    int eventExists(const char* name) const;
    int lightExists(const char* name) const;
    int materialExists(const char* name) const;
    int chartExists(const char* name) const;
    int stringPropertyExists(const char* name) const;
    // Objects' materials and, for charts, their data points' materials.
    int isMaterialUsed(const char* name) const;
    int isMaterialUsedByEffect(const char* name) const;
    pnObject* findObjectUsingMaterial(const char* name) const;
    pnLight* findLightUsingMaterial(const char* name) const;

    int getNumLights() const { return count(*lights); }
    int getNumMaterials() const { return count(*materials); }
    int getNumStringProperties() const { return count(*stringProperties); }
    int getNumObjects() const { return count(*objects); }
    int getNumEvents() const { return count(*events); }
    int getNumEffects() const { return count(*effects); }
    int getNumCharts() const { return count(*charts); }

    // Pauses: at most 64, ascending, each frame once.
    void addPause(int frame);
    int removePause(int frame);
    int removePauseAt(int index);
    // -1 without pauses; the first pause after frame; NO_LATER_FRAME when none.
    int getNextPause(int frame) const;
    int getPause(int index) const;
    int getNumPauses() const { return static_cast<int>(pauses.size()); }

    // Sound cues: at most 128, ascending by frame, each frame once.
    void addSound(int frame, const char* file);
    int removeSound(int frame);
    int removeSoundAt(int index);
    // Frame -1 without sounds; NO_LATER_FRAME when none follows frame.
    pnSound getNextSound(int frame) const;
    pnSound getSound(int index) const;
    int getNumSounds() const { return static_cast<int>(sounds.size()); }

    // Playback cursors.
    int getNextPauseFrame() const { return nextPause; }
    void setNextPauseFrame(int frame) { nextPause = frame; }
    int getNextSoundFrame() const { return nextSoundFrame; }
    const pnSound& getPendingSound() const { return nextSound; }
    void setPendingSound(const pnSound& sound);

    // The whole scene's transform; a built scene graph follows at once.
    void setPosition(const sgVec3& v);
    void setRotAngle(float angle);
    void setRotAxis(const sgVec3& v);
    void setScale(const sgVec3& v);
    sgVec3 getPosition() const { return position; }
    float getRotAngle() const { return rotAngle; }
    sgVec3 getRotAxis() const { return rotAxis; }
    sgVec3 getScale() const { return scale; }
    int getSetFlag(int i) const { return (i >= 0 && i < NUM_SET_FLAGS) ? setFlags[i] : 0; }

    // Raises (never lowers) the last frame to the largest frame in use.
    int updateLastFrame();
    int getLastFrame() const { return lastFrame; }
    void setLastFrame(int frame) { lastFrame = frame; }

    // The view's scene-graph roots (not owned).
    void setRoots(SceneGraphRoots* r) { roots = r; }
    SceneGraphRoots* getRoots() const { return roots; }

    void setName(const char* name);
    const std::string& getName() const { return name; }
    void setWidth(int w) { width = w; }
    int getWidth() const { return width; }
    void setHeight(int h) { height = h; }
    int getHeight() const { return height; }
    void setVersion(int v) { version = v; }
    int getVersion() const { return version; }
    void setAnimScale(float s) { animScale = s; }
    float getAnimScale() const { return animScale; }
    void setAlign(int a) { align = a; }
    int getAlign() const { return align; }
    void setMS(int v) { ms = v; }
    int getMS() const { return ms; }

private:
    static int count(const sgList& list) { return list.getTop() + 1; }
    int takeOut(sgList& list, void* item, const char* msg1, const char* msg2);
    sgDCS* sceneTransform() const;

    std::string name;
    int width = 720;
    int height = 486;
    int version = 120;
    float animScale = 1.0f;
    int align = 1;
    std::unique_ptr<pnViewpoint> viewpoint;
    std::unique_ptr<pnObject> background;
    std::unique_ptr<pnMaterial> defaultMaterial;
    int lastFrame = 0;
    // Owned items (released by release()), except charts, which live in
    // objects as well.
    std::unique_ptr<sgList> lights;
    std::unique_ptr<sgList> materials;
    std::unique_ptr<sgList> stringProperties;
    std::unique_ptr<sgList> objects;
    std::unique_ptr<sgList> events;
    std::unique_ptr<sgList> effects;
    std::unique_ptr<sgList> charts;
    std::vector<int> pauses;
    std::vector<pnSound> sounds;
    int nextPause = -1;
    int nextSoundFrame = -1;
    pnSound nextSound;
    int ms = 0;
    sgVec3 position{0, 0, 0};
    float rotAngle = 0.0f;
    sgVec3 rotAxis{0, 1, 0};
    sgVec3 scale{1, 1, 1};
    int setFlags[NUM_SET_FLAGS] = {};
    SceneGraphRoots* roots = nullptr;
};

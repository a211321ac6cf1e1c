// The whole authored scene: name, frame size, format version, the seven
// name-keyed lists (lights, materials, text styles, objects, events, effects,
// charts), the viewpoint, the background, the default material, pause frames,
// sound cues and a transform that moves the whole scene.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "scene/pnChartAccess.h"
#include "scene/pnChartBlockReader.h"
#include "scene/pnItemList.h"
#include "sg/sgList.h"
#include "sg/sgVec.h"

class pnLight;
class pnScene;
class pnMaterial;
class pnStringProperty;
class pnObject;
class pnEvent;
class pnEffect;
class pnViewpoint;
class pnChartParts;
class pnChartDataPt;
struct SceneGraphRoots;
class pnLexer;
class sgDCS;
class sgChannel;
class sgGroup;
class sgNode;

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
    // Moves an object of the list to position (appended when past the end).
    int moveObject(const pnObject* object, int position);
    // Moves a text style of the list to position (appended when past the end).
    int moveStringProperty(const pnStringProperty* style, int position);

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
    int indexOfStringProperty(const pnStringProperty* style) const;
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
    // Copy the name into buffer (size bytes, terminated; a name too long for
    // it is cut on a character boundary). 0 when there is no such item.
    int getMaterialName(int index, char* buffer, size_t size = 128) const;
    int getObjectName(int index, char* buffer, size_t size = 128) const;
    int objectExists(const char* name) const;
    int effectExists(const char* name) const;
    int eventExists(const char* name) const;
    int lightExists(const char* name) const;
    int materialExists(const char* name) const;
    int chartExists(const char* name) const;
    int stringPropertyExists(const char* name) const;
    // The one rule for a name an object takes (added, renamed, pasted, a
    // chart from the wizard, a text): it is free when it is not empty and no
    // object, event, light or the viewpoint (the camera) holds it; events
    // take their objects' names, so a name any of them holds would leave an
    // object without its event.
    int isObjectNameFree(const char* name) const;
    // A material's name is free when it is not empty and no material holds it.
    int isMaterialNameFree(const char* name) const;
    // base when it is free, else the first free of base001 .. base<last>
    // (three digits at least); "" when none is.
    std::string freeObjectName(const std::string& base, int last = 9999) const;
    std::string freeMaterialName(const std::string& base, int last = 9999) const;
    // Whether an object names the material anywhere (pnObject::usesMaterial).
    int isMaterialUsed(const char* name) const;
    int isMaterialUsedByEffect(const char* name) const;
    pnObject* findObjectUsingMaterial(const char* name) const;
    pnLight* findLightUsingMaterial(const char* name) const;

    int getNumLights() const { return lights.count(); }
    int getNumMaterials() const { return materials.count(); }
    int getNumStringProperties() const { return stringProperties.count(); }
    int getNumObjects() const { return objects.count(); }
    int getNumEvents() const { return events.count(); }
    int getNumEffects() const { return effects.count(); }
    int getNumCharts() const { return charts.count(); }

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

    // ---- scene-graph membership ----
    // Viewpoint and default material when missing, camera, lights, background,
    // every event with its objects, playback cursors, scene transform. Needs
    // the roots record with its root, transform node and both groups.
    void buildSceneGraph();
    int addLightToScene(pnLight* light);
    int removeLightFromScene(pnLight* light);
    void addAllEventsToScene();
    // The event's transform node with the target object's nodes below it. An
    // object without nodes (an unreadable model) is reported and left unbuilt.
    int addObjectsToScene(pnEvent* event);
    // Hangs node under the parent event's object node, or under group.
    int attachEventNode(sgGroup* group, pnEvent* event, sgNode* node);
    int addChartToScene(pnObject* chart);
    int addChartEventObjects(sgGroup* group, pnEvent* event, pnObject* chart);
    // Child events move to the grandparent; the event's transform node goes.
    int removeEventFromScene(pnEvent* event);
    // Before an object is deleted: every event still holding the object's
    // nodes lets go of them (as removeEventFromScene does, whatever names
    // the event carries), and a chart's own events and parts go. The
    // object is left unbuilt; the number of events let go.
    int releaseObjectNodes(pnObject* object);
    int moveEventNode(pnEvent* event, int position);
    // Gives an event a new name with everything that names it: its transform
    // node, its child events' parent (their nodes keep their order) and its
    // place among its parent's children. Its object names stay. 0 for a null
    // event or an empty name.
    int renameEvent(pnEvent* event, const char* newName);
    int addAMaterialToScene(pnMaterial* material);
    int deleteAMaterialFromScene(pnMaterial* material);
    void updateObjectsUsingMaterial(pnMaterial* material);
    void updateStringsUsingProperty(pnStringProperty* style);
    int getLastEventFrame() const;
    // The events in list order, except that an event whose parent stands
    // later comes right after that parent (and so on down): the order the
    // graph is built and the file is written in, so a child always finds its
    // parent's node, whatever order the list was left in. Events caught in a
    // parent cycle keep their list order at the end.
    std::vector<pnEvent*> eventsParentsFirst() const;
    // The chart interface of a chart object, or null.
    static pnChartAccess* chartAccess(pnObject* object);

    // ---- chart parts (pnSceneChartParts.cpp) ----
    // Makes every part, effect and event of a chart through its makers, in
    // list order; event (the event showing the chart) becomes the parent of
    // every chart event. Parts made before are replaced.
    void generateChartParts(pnChartParts* chart, pnEvent* event);
    // Shows a chart that event targets: the chart's own nodes go below dcs and
    // become the event's node, the chart is built, its parts are generated
    // and hung (addChartToScene). 1 when the chart hangs.
    int attachChart(pnEvent* event, sgDCS* dcs, pnObject* chart);

    // ---- playback ----
    // Puts every event, light, the camera, pauses and sound cues into the
    // state of frame.
    void setFrame(int frame);
    // The two halves of setFrame: every event, light and the camera in the
    // state of frame; then the frame's pause and sound cue.
    void poseFrame(int frame);
    void reachFrame(int frame);
    // The state before frame 0.
    void resetAnimation();
    void applyCamera();
    void applyCameraIfTarget(pnEvent* event);
    void resetLights();
    void resetLightForEvent(pnEvent* event);
    void resetEventTarget(pnEvent* event, pnObject* object);
    void applyEffect(int frame, pnEvent* event, pnEffect* effect, pnObject* target);
    void applyChartEffect(int frame, pnEvent* event, pnEffect* effect, pnObject* part, pnObject* chart);
    void applyColorEffect(pnEvent* event, pnEffect* effect, pnMaterial* base, float t);
    // Folds a play that reached its end into the event's accumulated state.
    void composeEventTransform(pnEvent* event, pnEffect* effect, const sgVec3& step, const sgVec3& newScale);
    // Fraction of a play at frame: 0 after end, 1 at end (or an empty play),
    // 0 at start, else linear.
    static float playFraction(int frame, int start, int end);
    // How far playing frame moves the event's target from its own place: the
    // steps of the plays finished by then and of the one running. The camera's
    // eye and a light stand at their own position plus this.
    sgVec3 getPlayedTranslation(const pnEvent* event, int frame) const;

    // ---- drawing and picking ----
    // level <= 0 one pass; 4 four jittered passes; any other level eight,
    // summed in the accumulation buffer. A zero-size viewport draws nothing.
    void drawInitial(int level);
    void drawFrame(int level, int frame);
    // Draws the state the last drawFrame (at this frame) or drawInitial left,
    // without playing the frame again: a repaint neither replays the frame's
    // sound cue nor reaches its pause a second time.
    void redrawFrame(int level, int frame);
    // Draws frame posed anew (its plays may have changed since it was
    // reached), without its pause or sound cue.
    void drawPosedFrame(int level, int frame);
    void applyViewpoint();
    void jitterPerspective(double fovy, double aspect, double nearZ, double farZ, double pixdx, double pixdy,
                           double eyedx, double eyedy, double focus);
    void jitterFrustum(double left, double right, double bottom, double top, double nearZ, double farZ,
                       double pixdx, double pixdy, double eyedx, double eyedy, double focus);
    void jitterOrtho(double w, double h, double viewportWidth, double viewportHeight, double nearZ, double farZ,
                     double jx, double jy);
    // The object under the window rectangle (chart parts set *chart to their
    // chart), or null.
    pnObject* pickObject(sgChannel* channel, int x, int y, int width, int height, pnObject** chart);

    // ---- scene files (".apn") ----
    // Reads the lexer's file into this scene (normally an empty one); the
    // caller opens and closes the file and builds the scene graph. Scene files
    // are opened, read and closed by pnSceneLoader. The number of blocks of
    // known kinds read (a block whose values are all defaults counts too).
    int read(pnLexer& lexer);
    // Saves through a temporary file in the target's folder, renamed over the
    // target only once every write and the close succeeded; convertPaths
    // writes portable paths. 1 on success; 0 leaves an existing file untouched
    // and puts the system's reason in *why when given.
    int save(const char* path, int convertPaths, std::string* why = nullptr);
    // Writes every block in file order; 0 when a write failed.
    int writeScene(FILE* f, int convertPaths) const;
    // Value readers: each consumes its key token, then the value.
    static float readFloat();
    static int readInt();
    static sgVec2 readVec2();
    static sgVec3 readVec3();
    static sgVec4 readColor();
    static std::string readQuoted();
    void readPause();
    // The maker of chart block readers (null: chart blocks are skipped).
    static void setChartBlockReaders(pnChartBlockReaderMaker maker);
    void readSound();

private:
    // Block readers of the scene file: each runs to its block's closing brace.
    void readScene();
    void readViewpoint();
    void readBackground();
    void readMaterial();
    void readLight();
    void readStringProperty();
    void readModel();
    void readPanel();
    void readString();
    void readCounter();
    void readVolume();
    void readEffect();
    void readEvent();
    void readEventObjName(pnEvent* event);
    void readEventPlay(pnEvent* event);
    void raiseLastFrame(long long frame);
    void raiseLastFrameForRepeat(const pnEvent* event);
    // Chart blocks (keyword barChart, pieChart, lineChart or volumeChart).
    void readChart(int keyword);
    void readChartData(pnChartBlockReader& block, const char* prefix);
    int writeSceneBlock(FILE* f, int convertPaths) const;

    // Playback, membership and drawing helpers.
    struct Target;
    struct NameIndex;
    Target findTarget(const pnEvent* event, pnObject* object) const;
    void playEvent(int frame, pnEvent* event, pnChartAccess* chart, const NameIndex* index);
    void applyBackground();
    bool setProjection(double dx, double dy);
    enum class PassState { Initial, Frame, Kept, Posed };
    void drawPasses(int level, int frame, PassState state);
    void hangLight(pnLight* light);
    static bool isAttachable(const pnObject* object, bool chartPart);
    sgNode* buildObjectNode(pnObject* object);
    void attachObject(pnEvent* event, sgDCS* dcs, pnObject* object, bool chartPart);
    int hangObject(pnEvent* event, sgDCS* dcs, pnObject* object, sgNode* node);
    void removeChartEventNode(pnEvent* event);
    // The graph part of removeEventFromScene.
    void detachEventNode(pnEvent* event);
    void releaseChartEvents(pnChartAccess* chart);
    void updateObjectMaterial(pnObject* object, pnMaterial* material);
    static bool hasChildName(const pnEvent* event, const std::string& name);
    void fadeTarget(const Target& target, pnEvent* event, pnEffect* effect, pnMaterial* base, float t);
    static void fadeMaterial(pnMaterial& out, const pnMaterial& base, const pnMaterial& goal, float t);
    void resetLightColor(pnLight* light);

    template <class List, class T>
    static int takeOut(List& list, T* item, const char* msg1, const char* msg2);
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
    pnItemList<pnLight> lights;
    pnItemList<pnMaterial> materials;
    pnItemList<pnStringProperty> stringProperties;
    pnItemList<pnObject> objects;
    pnItemList<pnEvent> events;
    pnItemList<pnEffect> effects;
    pnItemList<pnObject, false> charts;
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

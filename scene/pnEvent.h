// One line of the animation time line: the objects it moves (the first name
// decides the target: an object, a light or the viewpoint), an optional parent
// event, the child events that name it as parent, and plays of effects ordered
// by start frame. Playback keeps its per-event state here.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "sg/sgMatrix.h"
#include "sg/sgVec.h"

class pnScene;
class pnMaterial;
class sgSwitch;

// One play: effect name, frames, and whether the event's objects are shown
// while and after it runs.
struct pnEventPlay {
    pnEventPlay() = default;
    pnEventPlay(const char* effectName, int startFrame, int endFrame, int isVisible);
    void setEffect(const char* effectName);

    std::string effect;
    int start = 0;
    int duration = 0;  // end - start when the play was made
    int end = 0;
    int visible = 1;
};

class pnEvent {
public:
    pnEvent();
    ~pnEvent();
    pnEvent(const pnEvent&) = delete;
    pnEvent& operator=(const pnEvent&) = delete;

    // Back to an empty event: no plays, names, parent or scene.
    void init();
    // Playback state back to rest; the current colour material stays.
    void resetState();

    // Copies everything but the name: settings, plays, object names, parent
    // and child names. 0 for null.
    int copy(const pnEvent* other);
    // Settings, plays and object names; the copy has no node and rests.
    int copyPlaysAndObjects(const pnEvent* other);

    void setName(const char* name);
    const std::string& getName() const { return name; }

    // Object names: "" and duplicates are refused (0).
    int addObjectName(const char* name);
    // Replaces the first object name (becomes the only one on an event that
    // has none); "" is refused.
    int setObjectName(const char* name);
    // Null out of range.
    const char* getObjectName(int i) const;
    int getNumObjectNames() const { return static_cast<int>(objectNames.size()); }

    int addChildName(const char* name);
    int removeChildName(const char* name);
    const char* getChildName(int i) const;
    int getNumChildNames() const { return static_cast<int>(childNames.size()); }

    // Inserts a play in start order (after plays with an equal start) and
    // trims the neighbours it overlaps. Returns 1.
    int addPlay(const char* effect, int start, int end, int visible);
    // First play with start <= frame <= end; null for a negative frame.
    pnEventPlay* getPlayAtFrame(int frame) const;
    int setPlayEffect(int i, const char* name);
    int setPlayTime(int i, int start, int end);
    int setPlayVisible(int i, int visible);
    int removePlay(const char* effectName);
    int removePlayAt(int i);
    // Puts a play in at index i as it is: no neighbour is trimmed.
    int insertPlayAt(int i, const pnEventPlay& play);
    // Null out of range.
    pnEventPlay* getPlay(int i) const;
    pnEventPlay* playAt(int i) const { return getPlay(i); }
    int getNumPlays() const { return static_cast<int>(plays.size()); }
    // -1 without plays.
    int getLastPlayIndex() const { return getNumPlays() - 1; }
    // Start of the first play / end of the last one; 0 without plays.
    int getStartFrame() const;
    int getEndFrame() const;

    // Non-empty: this event moves from its old parent's child names to the
    // new parent's (when a scene holds them). Empty: no parent. The event's
    // own name is refused (a node cannot hang under itself).
    void setParent(const char* name);
    const std::string& getParent() const { return parent; }
    int getHasParent() const { return hasParent; }

    void setNonStop(int v) { nonStop = v; }
    int getNonStop() const { return nonStop; }
    void setDisappear(int frame) { disappear = frame; }
    int getDisappear() const { return disappear; }
    void setRepeat(int v) { repeat = v; }
    int getRepeat() const { return repeat; }
    void setDelay(int v) { delay = v; }
    int getDelay() const { return delay; }
    // 1: the event's objects are hidden when the animation is reset.
    void setHidden(int v) { hidden = v; }
    int getHidden() const { return hidden; }

    void setScene(pnScene* s) { scene = s; }
    pnScene* getScene() const { return scene; }
    // The event's switch node; the scene graph owns it.
    void setNode(sgSwitch* n) { node = n; }
    sgSwitch* getNode() const { return node; }

    // Playback state: frames of the play being evaluated and what the
    // finished plays have accumulated.
    void setCurFrames(int start, int end) { curStart = start; curEnd = end; }
    int getCurStart() const { return curStart; }
    int getCurEnd() const { return curEnd; }
    sgVec3 getAccTrans() const { return accTrans; }
    void setAccTrans(const sgVec3& v) { accTrans = v; }
    sgVec3 getAccScale() const { return accScale; }
    void setAccScale(const sgVec3& v) { accScale = v; }
    const sgMatrix& getAccMatrix() const { return accMatrix; }
    void setAccMatrix(const sgMatrix& m) { accMatrix.copy(m); }
    // Scene materials (not owned): the colour a fade starts from and the
    // colour the last colour effect left.
    pnMaterial* getBaseMaterial() const { return baseMaterial; }
    void setBaseMaterial(pnMaterial* m) { baseMaterial = m; }
    pnMaterial* getColorMaterial() const { return colorMaterial; }
    void setColorMaterial(pnMaterial* m) { colorMaterial = m; }

    // Writes the "event" block: name, object names, parent and plays. 0 when
    // a write failed.
    int write(FILE* f) const;

private:
    static int addUniqueName(std::vector<std::string>& names, const char* name, const char* caller);

    std::string name;
    int hasParent = 0;
    int nonStop = 0;
    int disappear = -1;
    int repeat = 1;
    int delay = 0;
    pnScene* scene = nullptr;
    std::vector<std::unique_ptr<pnEventPlay>> plays;
    std::vector<std::string> objectNames;
    std::string parent;
    std::vector<std::string> childNames;
    int hidden = 0;
    sgSwitch* node = nullptr;
    int curStart = 0;
    int curEnd = 0;
    sgVec3 accTrans{0, 0, 0};
    sgVec3 accScale{1, 1, 1};
    sgMatrix accMatrix;
    pnMaterial* baseMaterial = nullptr;
    pnMaterial* colorMaterial = nullptr;
};

// The view's record of the scene-graph roots, handed to the scene, which keeps a
// pointer and never frees it; SceneGraphRootsOwner makes and frees the nodes.
#pragma once

class sgChannel;
class sgScene;
class sgDCS;
class sgGroup;

struct SceneGraphRoots {
    sgChannel* channel = nullptr;
    sgScene* sceneRoot = nullptr;      // the scene draws a pass only when set
    sgDCS* sceneTransform = nullptr;   // the scene's position, rotation and scale
    sgGroup* eventGroup = nullptr;     // parent of every top-level and chart event
    sgGroup* lightGroup = nullptr;     // parent of one sgDCS per light
    int currentFrame = 0;
    int pauseReached = 0;              // set by playback at a pause frame
    int frameCount = 0;                // the two frame counters, zeroed when the
    int frameCount2 = 0;               // scene graph is built
};

// Makes the root nodes: sceneRoot -> sceneTransform -> lightGroup, eventGroup.
// Deleting sceneRoot deletes the others.
void sgMakeRootNodes(SceneGraphRoots& roots);

// The one owner of a roots record's nodes: a record whose root nodes are made
// on construction and deleted (the root with every node only it holds) on
// destruction. A scene built on it lets go of its nodes first.
struct SceneGraphRootsOwner : SceneGraphRoots {
    SceneGraphRootsOwner() { sgMakeRootNodes(*this); }
    ~SceneGraphRootsOwner();
    SceneGraphRootsOwner(const SceneGraphRootsOwner&) = delete;
    SceneGraphRootsOwner& operator=(const SceneGraphRootsOwner&) = delete;
};

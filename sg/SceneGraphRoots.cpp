#include "sg/SceneGraphRoots.h"

#include "sg/sgDCS.h"
#include "sg/sgNode.h"

void sgMakeRootNodes(SceneGraphRoots& roots) {
    roots.sceneRoot = new sgScene;
    roots.sceneTransform = new sgDCS;
    roots.lightGroup = new sgGroup;
    roots.eventGroup = new sgGroup;
    roots.sceneRoot->addChild(roots.sceneTransform);
    roots.sceneTransform->addChild(roots.lightGroup);
    roots.sceneTransform->addChild(roots.eventGroup);
}

SceneGraphRootsOwner::~SceneGraphRootsOwner() { delete sceneRoot; }

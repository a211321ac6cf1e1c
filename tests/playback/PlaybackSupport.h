// Scene fixtures for playback tests: the view's roots record with its nodes,
// a GL fixture drawing a scene on them, and small builders for panels,
// effects and events.
#pragma once

#include <memory>
#include <string>

#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnMaterial.h"
#include "scene/pnPanel.h"
#include "scene/pnScene.h"
#include "sg/SceneGraphRoots.h"
#include "sg/sgChannel.h"
#include "sg/sgDCS.h"
#include "sg/sgMatrix.h"
#include "sg/sgNode.h"
#include "sg/sgRuntime.h"
#include "tests/support/OffscreenGL.h"

// The roots outlive the scene: objects let go of their nodes first.
struct SceneHolder {
    SceneHolder() : scene(std::make_unique<pnScene>()) { scene->setRoots(&roots); }
    ~SceneHolder() { scene.reset(); }
    SceneGraphRootsOwner roots;  // root -> scene transform -> light group, event group
    std::unique_ptr<pnScene> scene;
};

// A GL test drawing one scene: GL state set, no frame pacing, the channel
// over the whole frame showing the roots, a fresh scene on them.
class SceneGLTest : public GLTest {
protected:
    SceneGLTest(int width, int height) : GLTest(width, height) {}
    void SetUp() override {
        GLTest::SetUp();
        sgInitGLState();
        sgSetNoPacing(1);
        ch = sgChannel::sgGetChannel();
        ch->setViewport(0, 0, width_, height_);
        holder = std::make_unique<SceneHolder>();
        roots().channel = ch;
        ch->setScene(roots().sceneRoot);
    }
    void TearDown() override {
        holder.reset();
        ch->setScene(nullptr);
        sgChannel::sgFreeChannel();
        GLTest::TearDown();
    }
    pnScene& scene() { return *holder->scene; }
    SceneGraphRoots& roots() { return holder->roots; }

    sgChannel* ch = nullptr;
    std::unique_ptr<SceneHolder> holder;
};

inline pnPanel* addPanel(pnScene& scene, const char* name, const sgVec3& position = sgVec3(0, 0, 0),
                         const char* material = nullptr) {
    auto* p = new pnPanel;
    p->setName(name);
    p->setPosition(position);
    if (material) p->setMaterial(material);
    scene.addObject(p);
    return p;
}

inline pnEffect* addEffect(pnScene& scene, const char* name) {
    auto* e = new pnEffect;
    e->setName(name);
    scene.addEffect(e);
    return e;
}

inline pnEvent* addEvent(pnScene& scene, const char* name, const char* object) {
    auto* e = new pnEvent;
    e->setName(name);
    if (object) e->addObjectName(object);
    scene.addEvent(e);
    return e;
}

inline pnMaterial* addMaterial(pnScene& scene, const char* name, const sgVec3& diffuse) {
    auto* m = new pnMaterial;
    m->setName(name);
    m->setDiffuse(diffuse);
    scene.addMaterial(m);
    return m;
}

// The transform node above an event's object node.
inline sgDCS* eventDCS(const pnEvent* e) {
    sgNode* sw = e->getNode();
    sgNode* p = sw ? sw->getParent() : nullptr;
    return p && p->isOfType("sgDCS") ? static_cast<sgDCS*>(p) : nullptr;
}

inline sgVec3 mapPoint(const sgDCS* dcs, const sgVec3& p) { return dcs->getMatrix().transformPoint(p); }

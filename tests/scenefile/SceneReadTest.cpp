// The ".apn" reader: the scene block, the record blocks, events and what it
// does with input it cannot use.
#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <vector>
#include <string>

#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnLight.h"
#include "scene/pnMaterial.h"
#include "scene/pnModel.h"
#include "scene/pnScene.h"
#include "scene/pnStringProperty.h"
#include "scene/pnViewpoint.h"
#include "platform/TextEncoding.h"
#include "SceneFileSupport.h"

using scenefile::readText;

namespace {

bool near3(const sgVec3& v, float x, float y, float z) {
    return std::abs(v[0] - x) < 1e-5f && std::abs(v[1] - y) < 1e-5f && std::abs(v[2] - z) < 1e-5f;
}

}  // namespace

TEST(SceneBlock, EmptyBlockGivesDefaultsAndBadSizesKeepTheOldOnes) {
    pnScene s;
    readText(s, "scene {\n}\n");
    EXPECT_EQ(s.getName(), "");
    EXPECT_EQ(s.getWidth(), 720);
    EXPECT_EQ(s.getHeight(), 486);
    EXPECT_EQ(s.getVersion(), 120);
    EXPECT_EQ(s.getAlign(), 1);

    readText(s, "scene { width 640 height 480 }\nscene { width 0 height -3 version 250 }");
    EXPECT_EQ(s.getWidth(), 640);
    EXPECT_EQ(s.getHeight(), 480);
    EXPECT_EQ(s.getVersion(), 250);
}

TEST(SceneBlock, EveryKeyReachesTheScene) {
    pnScene s;
    readText(s,
             "scene {\n    name\t\"Demo\"\n    position\t( 1.5 -2 3 )\n    rotAngle\t45\n"
             "    rotAxis\t( 0.000000 1.000000 0.000000 )\n    scale\t( 2 2 2 ) \n    animScale\t0.5\n"
             "    align\tCenter\n    MS\t7\n}\n");
    EXPECT_EQ(s.getName(), "Demo");
    EXPECT_TRUE(near3(s.getPosition(), 1.5f, -2, 3));
    EXPECT_FLOAT_EQ(s.getRotAngle(), 45);
    EXPECT_TRUE(near3(s.getRotAxis(), 0, 1, 0));
    EXPECT_TRUE(near3(s.getScale(), 2, 2, 2));
    for (int i = 0; i < pnScene::NUM_SET_FLAGS; ++i) EXPECT_EQ(s.getSetFlag(i), 1) << i;
    EXPECT_FLOAT_EQ(s.getAnimScale(), 0.5f);
    EXPECT_EQ(s.getAlign(), 2);
    EXPECT_EQ(s.getMS(), 7);
}

TEST(SceneBlock, AlignWordsInEitherCaseAndUnknownWordsReported) {
    pnScene s;
    readText(s, "scene { align top }");
    EXPECT_EQ(s.getAlign(), 0);
    readText(s, "scene { align Right }");
    EXPECT_EQ(s.getAlign(), 4);
    DiagnosticLog diag;
    readText(s, "scene { align middle }");
    EXPECT_EQ(s.getAlign(), 4);
    EXPECT_NE(diag.text().find("[pnScene::readScene] Unidentifiable token for align:  middle"), std::string::npos);
}

TEST(SceneBlock, ZeroRotationAxisBecomesZAxisWithFlagClear) {
    pnScene s;
    testing::internal::CaptureStderr();
    readText(s, "scene { rotAxis ( 0 0 0 ) }");
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(near3(s.getRotAxis(), 0, 0, 1));
    EXPECT_EQ(s.getSetFlag(pnScene::ROTAXIS_FLAG), 0);
    EXPECT_NE(err.find("TALO: one of axis component should not be 0.\n"), std::string::npos);
}

TEST(SceneBlock, PausesSingleOrListedWithJunkSkipped) {
    pnScene s;
    readText(s, "scene { pause ( 10 word 20 ) pause 5 pause junk pause 10 name \"after\" }");
    ASSERT_EQ(s.getNumPauses(), 3);
    EXPECT_EQ(s.getPause(0), 5);
    EXPECT_EQ(s.getPause(1), 10);
    EXPECT_EQ(s.getPause(2), 20);
    EXPECT_EQ(s.getName(), "after");
}

TEST(SceneBlock, SoundListsAndTheirWarnings) {
    pnScene s;
    testing::internal::CaptureStderr();
    readText(s, "scene { sound ( 20 \"b.wav\" 10 \"a.wav\" ) }");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_EQ(s.getNumSounds(), 2);
    EXPECT_EQ(s.getSound(0).frame, 10);
    EXPECT_EQ(s.getSound(0).file, "a.wav");
    EXPECT_EQ(s.getSound(1).file, "b.wav");

    pnScene t;
    testing::internal::CaptureStderr();
    // Not a list; then a list whose first item is bad spoils the rest of it.
    readText(t, "scene { sound 5 sound ( x 30 \"c.wav\" ) name \"n\" }");
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(t.getNumSounds(), 0);
    EXPECT_EQ(t.getName(), "n");
    size_t count = 0;
    for (size_t at = 0; (at = err.find("WARNING: illegal sound script format.\n", at)) != std::string::npos; ++at)
        ++count;
    EXPECT_EQ(count, 4u);
}

TEST(SceneRead, UnknownBlocksAreSkippedWholeWhateverTheirKeys) {
    pnScene s;
    DiagnosticLog diag;
    readText(s,
             "gadget {\n    material { name \"bogus\" }\n    name \"fake\"\n"
             "    inner { light { name \"l\" } \"}\" }\n}\n"
             "volumeChart { name \"vc\" data { text \"t\" } }\n"
             "barChart { name \"bc\" material \"x\" }\n"
             "material { name \"real\" }\n");
    ASSERT_EQ(s.getNumMaterials(), 1);
    EXPECT_EQ(s.getMaterial(0)->getName(), "real");
    EXPECT_EQ(s.getNumLights(), 0);
    EXPECT_EQ(s.getNumObjects(), 0);
    EXPECT_NE(diag.text().find("[pnScene::read] unexpected token:  gadget"), std::string::npos);
}

TEST(SceneRead, MaterialDefinedAfterItsObjectIsNotFound) {
    pnScene s;
    DiagnosticLog diag;
    readText(s, "model { name \"m\" material \"red\" }\nmaterial { name \"red\" }\n"
                "model { name \"n\" property \"red\" }\n");
    ASSERT_EQ(s.getNumObjects(), 2);
    EXPECT_FALSE(s.findObject("m")->hasMaterial());
    EXPECT_EQ(s.findObject("n")->getMaterialName(), "red");
    EXPECT_NE(diag.text().find("[pnScene::readModel] Material not found:  red"), std::string::npos);
}

TEST(SceneRead, BlockCutOffByTheEndKeepsWhatWasRead) {
    pnScene s;
    readText(s, "material { name \"m\" diffuse ( 1 0 0.5 )\n    alpha");
    ASSERT_EQ(s.getNumMaterials(), 1);
    const pnMaterial* m = s.getMaterial(0);
    EXPECT_EQ(m->getSetFlag(pnMaterial::DIFFUSE_FLAG), 1);
    EXPECT_TRUE(near3(m->getDiffuse(), 1, 0, 0.5f));
}

TEST(SceneRead, BadValuesReadAsZeroWithoutEatingTheBlockEnd) {
    pnScene s;
    DiagnosticLog diag;
    readText(s, "material { name \"a\" shininess }\nmaterial { name \"b\" alpha 1 shininess \"x\" }\n"
                "scene { width 800.9 height 1e5 }\n");
    ASSERT_EQ(s.getNumMaterials(), 2);
    EXPECT_FLOAT_EQ(s.getMaterial(0)->getShininess(), 0.0f);
    EXPECT_FLOAT_EQ(s.getMaterial(1)->getAlpha(), 1.0f);
    EXPECT_EQ(s.getWidth(), 800);
    EXPECT_EQ(s.getHeight(), 1);  // "1e5" is 1 and the word "e5"
    std::string d = diag.text();
    EXPECT_NE(d.find("[pnScene::readFloat]  float number expected instead of }."), std::string::npos);
    EXPECT_NE(d.find("[pnScene::readFloat]  float number expected instead of x."), std::string::npos);

    // Numbers far beyond the int range are held at its end.
    pnScene t;
    readText(t, "scene { width 99999999999999999999.5 }");
    EXPECT_EQ(t.getWidth(), INT_MAX);
}

TEST(SceneRead, LongLinesAndPathsReadWhole) {
    std::string path = "C:\\Scenes\\";
    while (path.size() < 290) path += "sub-folder\\";
    path += "sound.wav";
    ASSERT_GE(path.size(), 300u);
    std::string texture(140, 't');
    std::string text = "scene {\n    sound\t(12 \"" + path + "\")\n}\nmodel {\n    name\t\"m\"\n    texture\t\"" +
                       texture + ".png\"\n    file\t\"" + path + "\"\n}\n";
    pnScene s;
    readText(s, text);
    ASSERT_EQ(s.getNumSounds(), 1);
    EXPECT_EQ(s.getSound(0).file, path);
    ASSERT_EQ(s.getNumObjects(), 1);
    EXPECT_EQ(s.getObject(0)->getTexture(), texture + ".png");
    EXPECT_EQ(s.getObject(0)->getFile(), path);
}

TEST(SceneRead, WindowsLineEndsAndLegacyBytes) {
    setLegacyCodePage(1252);
    pnScene s;
    readText(s, "material {\r\n    name\t\"caf\xE9\"\r\n    alpha\t0.5\r\n}\r\n");
    ASSERT_EQ(s.getNumMaterials(), 1);
    EXPECT_EQ(s.getMaterial(0)->getName(), "caf\xC3\xA9");
    EXPECT_FLOAT_EQ(s.getMaterial(0)->getAlpha(), 0.5f);
}

TEST(SceneRead, DuplicateNamesAreRefusedAndTheSecondItemDropped) {
    pnScene s;
    DiagnosticLog diag;
    readText(s,
             "material { name \"m\" alpha 0.5 }\nmaterial { name \"m\" alpha 0.25 }\n"
             "light { name \"l\" }\nlight { name \"l\" on 0 }\n"
             "effect { name \"e\" }\neffect { name \"e\" }\neffect { }\n"
             "model { name \"o\" }\nmodel { name \"o\" }\nmodel { file \"x.3ds\" }\n"
             "event { name \"v\" }\nevent { name \"v\" }\n");
    ASSERT_EQ(s.getNumMaterials(), 1);
    EXPECT_FLOAT_EQ(s.getMaterial(0)->getAlpha(), 0.5f);
    ASSERT_EQ(s.getNumLights(), 1);
    EXPECT_EQ(s.getLight(0)->getOn(), 1);
    EXPECT_EQ(s.getNumEffects(), 1);
    EXPECT_EQ(s.getNumObjects(), 1);
    EXPECT_EQ(s.getNumEvents(), 1);
    std::string d = diag.text();
    EXPECT_NE(d.find("duplicate material name:  m"), std::string::npos);
    EXPECT_NE(d.find("[pnScene::readModel] duplicate object name:  o"), std::string::npos);
    EXPECT_NE(d.find("[pnScene::readEvent] duplicate event name:  v"), std::string::npos);
}

TEST(SceneRead, ReadingIntoAFilledSceneRespectsItsNames) {
    pnScene s;
    readText(s, "material { name \"m\" }\nmodel { name \"o\" }\n");
    readText(s, "material { name \"m\" alpha 0.1 }\nmodel { name \"o\" }\nmodel { name \"p\" material \"m\" }\n");
    EXPECT_EQ(s.getNumMaterials(), 1);
    EXPECT_EQ(s.getNumObjects(), 2);
    EXPECT_EQ(s.findObject("p")->getMaterialName(), "m");
}

TEST(RecordBlocks, ViewpointReplacesTheScenesCamera) {
    pnScene s;
    readText(s,
             "viewpoint {\n    name\t\"cam\"\n    position\t( 0 10 500 )\n    direction\t( 0 0 -1 )\n"
             "    near\t5\n    far\t\t900\n    fov\t\t45\n    width\t\t300\n    perspective\t\t0\n    bogus 1\n}\n");
    const pnViewpoint* vp = s.getViewpoint();
    ASSERT_NE(vp, nullptr);
    EXPECT_EQ(vp->getName(), "cam");
    EXPECT_TRUE(near3(vp->getPosition(), 0, 10, 500));
    EXPECT_TRUE(near3(vp->getDirection(), 0, 0, -1));
    EXPECT_FLOAT_EQ(vp->near, 5);
    EXPECT_FLOAT_EQ(vp->far, 900);
    EXPECT_FLOAT_EQ(vp->fov, 45);
    EXPECT_FLOAT_EQ(vp->width, 300);
    EXPECT_EQ(vp->perspective, 0);
    readText(s, "viewpoint { name \"other\" }");
    EXPECT_EQ(s.getViewpoint()->getName(), "other");
}

TEST(RecordBlocks, LightKeysAndItsMaterialLookUp) {
    pnScene s;
    DiagnosticLog diag;
    readText(s,
             "material { name \"warm\" }\n"
             "light {\n    name\t\"spot\"\n    position\t( 1 2 3 )\n    attenuation\t( 1 0.5 0 )\n"
             "    spotCone\t( 200 120 )\n    spotDirection\t( 0 -1 0 )\n    property\t\"warm\"\n"
             "    intensity\t0.75\n    file\t\"glow.png\"\n    positional\t0\n    on\t0\n}\n"
             "light { name \"plain\" material \"cold\" }\n");
    ASSERT_EQ(s.getNumLights(), 2);
    const pnLight* l = s.getLight(0);
    EXPECT_TRUE(near3(l->getPosition(), 1, 2, 3));
    EXPECT_TRUE(near3(l->getAttenuation(), 1, 0.5f, 0));
    EXPECT_FLOAT_EQ(l->getSpotCone()[0], 128);
    EXPECT_FLOAT_EQ(l->getSpotCone()[1], 90);
    EXPECT_TRUE(near3(l->getSpotDirection(), 0, -1, 0));
    EXPECT_EQ(l->getMaterial(), "warm");
    EXPECT_FLOAT_EQ(l->getIntensity(), 0.75f);
    EXPECT_EQ(l->getFile(), "glow.png");
    EXPECT_FALSE(l->isPositional());
    EXPECT_EQ(l->getOn(), 0);
    EXPECT_EQ(l->getScene(), &s);
    EXPECT_FALSE(s.getLight(1)->hasMaterial());
    EXPECT_NE(diag.text().find("[pnScene::readLight] Material not found:  cold"), std::string::npos);
}

TEST(RecordBlocks, StyleWordsAndBevelForms) {
    pnScene s;
    DiagnosticLog diag;
    readText(s,
             "stringProperty {\n    name\t\"a\"\n    kind\t\"2d\"\n    hJust\t\"left\"\n    vJust\t\"Bottom\"\n"
             "    bevel\t(1.5 2.5)\n    gap\t\t3\n    eGap\t4\n    hGap\t5\n    ratio\t0.3333333333\n}\n"
             "stringProperty { name \"b\" kind \"3D\" hJust \"Middle\" vJust \"low\" bevel 7 }\n");
    ASSERT_EQ(s.getNumStringProperties(), 2);
    const pnStringProperty* a = s.getStringProperty(0);
    EXPECT_EQ(a->getKind(), 0);
    EXPECT_EQ(a->getHJust(), 0);
    EXPECT_EQ(a->getVJust(), 4);
    EXPECT_FLOAT_EQ(a->getBevel(0), 1.5f);
    EXPECT_FLOAT_EQ(a->getBevel(1), 2.5f);
    EXPECT_FLOAT_EQ(a->getGap(), 3);
    EXPECT_FLOAT_EQ(a->getSpacing1(), 4);
    EXPECT_FLOAT_EQ(a->getSpacing2(), 5);
    EXPECT_DOUBLE_EQ(a->getRatio(), 0.3333333333);
    const pnStringProperty* b = s.getStringProperty(1);
    EXPECT_EQ(b->getKind(), 1);
    EXPECT_EQ(b->getHJust(), 1);
    EXPECT_EQ(b->getVJust(), 1);
    EXPECT_FLOAT_EQ(b->getBevel(0), 7);
    EXPECT_FLOAT_EQ(b->getBevel(1), 7);
    std::string d = diag.text();
    EXPECT_NE(d.find("Unidentifiable token for hJust:  Middle"), std::string::npos);
    EXPECT_NE(d.find("Unidentifiable token for vJust:  low"), std::string::npos);
}

TEST(RecordBlocks, EffectKeysWrittenAndOnlyRead) {
    pnScene s;
    readText(s,
             "effect {\n    name\t\"fx\"\n    trans\t( 1 2 3 )\n    rotAngle\t90\n    rotAxis\t( 0 0 2 )\n"
             "    pivotAngle\t30\n    pivotAxis\t(1 0 0)\n    scale\t( 2 2 2 )\n    center\t( 0 1 0 )\n"
             "    color\t\"red\"\n    grow\t(1 2 3)\n    bezier ( 10 0 0 ) bezier ( 20 0 0 )\n    in 30 out 30\n}\n"
             "effect { name \"sh\" shrink ( 4 5 ) pivotAxis ( 0 0 0 ) rotAxis ( 0 0 0 ) }\n");
    ASSERT_EQ(s.getNumEffects(), 2);
    const pnEffect* e = s.getEffect(0);
    EXPECT_TRUE(near3(e->getTrans(), 1, 2, 3));
    EXPECT_FLOAT_EQ(e->getRotAngle(), 90);
    EXPECT_TRUE(near3(e->getRotAxis(), 0, 0, 1));
    EXPECT_FLOAT_EQ(e->getPivotAngle(), 30);
    EXPECT_TRUE(near3(e->getPivotAxis(), 1, 0, 0));
    EXPECT_TRUE(near3(e->getScale(), 2, 2, 2));
    EXPECT_TRUE(near3(e->getCenter(), 0, 1, 0));
    EXPECT_EQ(e->getColor(), "red");
    EXPECT_EQ(e->getFlag(pnEffect::GROW_FLAG), 1);
    EXPECT_EQ(e->getGrowShrink(2), 3);
    EXPECT_EQ(e->getNumPathPoints(), 3);
    EXPECT_NE(e->getPath().timing[1], 1.0 / 3.0);
    const pnEffect* sh = s.getEffect(1);
    EXPECT_EQ(sh->getFlag(pnEffect::SHRINK_FLAG), 1);
    EXPECT_EQ(sh->getGrowShrink(0), 4);
    EXPECT_EQ(sh->getGrowShrink(2), 0);  // a missing number counts as 0
    EXPECT_EQ(sh->getFlag(pnEffect::PIVOTAXIS_FLAG), 0);
    EXPECT_EQ(sh->getFlag(pnEffect::ROTAXIS_FLAG), 0);
}

TEST(EventBlock, TargetsPlaysAndTheirChecks) {
    pnScene s;
    DiagnosticLog diag;
    readText(s,
             "viewpoint { name \"cam\" }\nmodel { name \"box\" }\nlight { name \"sun\" }\n"
             "effect { name \"move\" trans ( 1 0 0 ) }\n"
             "event { name \"lit\" objectName \"sun\" play ( \"move\" 0 30 1 ) }\n"
             "event {\n    name\t\"many\"\n    objectName\t( \"box\" \"ghost\" \"cam\" \"box\" )\n"
             "    parent\t\"lit\"\n    play\t( \"move\" 40 20 1 )\n    play\t( \"nothing\" 0 5 1 )\n"
             "    play\t( \"move\" 2 )\n    nonStop 1\n    delay -4\n}\n"
             "event { name \"lost\" objectName \"nobody\" }\n");
    ASSERT_EQ(s.getNumEvents(), 3);
    const pnEvent* lit = s.getEvent(0);
    ASSERT_EQ(lit->getNumObjectNames(), 1);
    EXPECT_STREQ(lit->getObjectName(0), "sun");
    const pnEvent* many = s.getEvent(1);
    ASSERT_EQ(many->getNumObjectNames(), 2);
    EXPECT_STREQ(many->getObjectName(0), "box");
    EXPECT_STREQ(many->getObjectName(1), "cam");
    EXPECT_EQ(many->getParent(), "lit");
    EXPECT_EQ(many->getNonStop(), 1);
    EXPECT_EQ(many->getDelay(), 0);
    ASSERT_EQ(many->getNumPlays(), 0);  // "move" 2 has end 0 < start 2
    EXPECT_EQ(s.getEvent(2)->getNumObjectNames(), 0);
    EXPECT_EQ(s.getLastFrame(), 30);
    EXPECT_EQ(many->getScene(), &s);
    std::string d = diag.text();
    EXPECT_NE(d.find("[pnScene::readEventObjName] objectnot found:  ghost"), std::string::npos);
    EXPECT_NE(d.find("[pnScene::readEventObjName] object not found:  nobody"), std::string::npos);
    EXPECT_NE(d.find("start frame is bigger than end frame:  40 > 20"), std::string::npos);
    EXPECT_NE(d.find("[pnScene::readEventPlay] effect not found:  nothing"), std::string::npos);
}

TEST(EventBlock, RepeatAndDisappearRaiseTheLastFrameWithoutOverflow) {
    pnScene s;
    readText(s,
             "effect { name \"e\" }\nmodel { name \"b\" }\n"
             "event { name \"r\" objectName \"b\" play ( \"e\" 10 20 1 ) delay 5 repeat 3 }\n");
    EXPECT_EQ(s.getLastFrame(), 20 + (5 + 20 - 10) * 2);
    EXPECT_EQ(s.getEvent(0)->getRepeat(), 3);

    // Plays after the repeat key count as well.
    pnScene t;
    readText(t, "effect { name \"e\" }\nevent { name \"r\" repeat 2 play ( \"e\" 0 100 1 ) disappear 50 }");
    EXPECT_EQ(t.getLastFrame(), 200);
    EXPECT_EQ(t.getEvent(0)->getDisappear(), 50);

    pnScene u;
    readText(u, "effect { name \"e\" }\n"
                "event { name \"huge\" play ( \"e\" 0 2000000000 1 ) delay 2000000000 repeat 2147483647 }\n"
                "event { name \"long\" play ( \"e\" -2000000000 2000000000 1 ) }");
    EXPECT_EQ(u.getLastFrame(), INT_MAX);
    EXPECT_EQ(u.getEvent(0)->getNumPlays(), 1);
    EXPECT_EQ(u.getEvent(1)->getNumPlays(), 0);  // its length does not fit an int

    pnScene v;
    readText(v, "effect { name \"e\" }\nevent { name \"z\" play ( \"e\" 0 10 1 ) repeat 0 repeat -3 }");
    EXPECT_EQ(v.getEvent(0)->getRepeat(), 1);
    EXPECT_EQ(v.getLastFrame(), 10);
}

TEST(EventBlock, PlaysPerEventAreBounded) {
    std::string text = "effect { name \"e\" }\nevent {\n    name\t\"busy\"\n";
    for (int i = 0; i < 10050; ++i) text += "    play\t( \"e\" " + std::to_string(i) + " " + std::to_string(i) + " 1 )\n";
    text += "}\nevent { name \"next\" }\n";
    pnScene s;
    DiagnosticLog diag;
    readText(s, text);
    ASSERT_EQ(s.getNumEvents(), 2);
    EXPECT_EQ(s.getEvent(0)->getNumPlays(), 10000);
    EXPECT_EQ(s.getLastFrame(), 10049);
    EXPECT_NE(diag.text().find("[pnScene::readEventPlay] too many plays:  e"), std::string::npos);
}

namespace {

// Where a file cut after its first n bytes ends, found by walking it: the
// outermost block still open (the word before its "{" and its line), or
// whole. Quoted strings hold no structure; the files here have no comments.
pnReadEnd expectedEnd(const std::string& text) {
    pnReadEnd end;
    int line = 1, depth = 0;
    bool quoted = false;
    std::string word, lastWord;
    for (char c : text) {
        if (quoted) {
            if (c == '"') quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '_') {
            word += c;
        } else {
            if (!word.empty() && !std::isdigit(static_cast<unsigned char>(word[0]))) lastWord = word;
            word.clear();
            if (c == '{' && depth++ == 0) {
                end.block = lastWord;
                end.line = line;
            } else if (c == '}' && depth > 0) {
                --depth;
            }
        }
        if (c == '\n') ++line;
    }
    end.whole = depth == 0 && !quoted;
    if (end.whole) end.block.clear(), end.line = 0;
    return end;
}

std::string sourceFile(const std::string& relative) {
    const char* root = std::getenv("KELVANO_SOURCE_DIR");
    return scenefile::readFile(std::string(root ? root : ".") + "/" + relative);
}

}  // namespace

// Every sample scene and fuzz seed cut at many points, and a file of many
// blocks cut beyond its first 64 KiB: the reader tells whether the file
// ended inside a block, which block and on what line it opened.
TEST(CutOffFiles, TheReaderSaysInWhichBlockAFileEnds) {
    std::vector<std::string> files;
    for (const char* name : {"titles", "counter", "barchart", "linechart", "pie", "pyramid", "allcharts"})
        files.push_back(sourceFile(std::string("data/scenes/") + name + ".apn"));
    for (const char* name : {"every-kind", "every-chart", "every-kind-portable"})
        files.push_back(sourceFile(std::string("fuzz/seeds/scenefile/") + name + ".apn"));
    std::string many;
    for (int i = 0; i < 1500; ++i)
        many += "panel {\n    name\t\"panel " + std::to_string(i) + "\"\n    dimension\t( 40 30 5 )\n}\n";
    files.push_back(many);
    int cuts = 0, inside = 0;
    for (const std::string& text : files) {
        ASSERT_NE(text, "<missing>");
        ASSERT_GT(text.size(), 100u);
        for (int k = 1; k <= 60; ++k) {
            const std::string cut = text.substr(0, text.size() * k / 61 + k % 7);
            pnScene scene;
            pnReadEnd end;
            readText(scene, cut, &end);
            const pnReadEnd expected = expectedEnd(cut);
            EXPECT_EQ(end.whole, expected.whole) << cut.size();
            EXPECT_EQ(end.block, expected.block) << cut.size();
            EXPECT_EQ(end.line, expected.line) << cut.size();
            ++cuts;
            inside += !end.whole;
        }
        pnScene scene;
        pnReadEnd end;
        readText(scene, text, &end);
        EXPECT_TRUE(end.whole) << "the whole file";
    }
    EXPECT_GT(inside, cuts / 2) << "most cuts fall inside a block";
    // The last cut of the long file lies past its first 64 KiB.
    EXPECT_GT(many.size() * 60 / 61, 65536u);
}

// The object blocks of the scene file: common fields, the model, panel,
// volume and background blocks, quoting, paths, locale, write failures.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

#include "tests/support/ToolCheck.h"
#include "scene/pnBackground.h"
#include "scene/pnModel.h"
#include "scene/pnPanel.h"
#include "scene/pnVolume.h"
#include "scene/pnWriteUtil.h"
#include "tests/objects/ObjectTestSupport.h"

TEST(ObjectWriter, CommonFieldsInOrderWithTheirFormats) {
    pnModel m;
    m.setName("m");
    m.setFile("models\\cube.3ds");
    m.setTexture("tex\\wood.png");
    m.setPosition(1, 2, 3);
    m.setRotAngle(45);
    m.setRotAxis(1, 0, 0);
    m.setPivotAngle(-10);
    m.setPivotAxis(0, 0, 1);
    m.setScale(2);
    m.setScaleOrigin(0.5f);
    m.setCenter(1, 1, 1);
    m.setMaterialName("red");
    m.setTexMode(1);
    m.setNumIndex(12);
    m.setForward(2);
    m.setMode(2);
    const std::string expected =
        "model {\n"
        "    name\t\"m\"\n"
        "    file\t\"models\\cube.3ds\"\n"
        "    texture\t\"tex\\wood.png\"\n"
        "    position\t( 1.000000 2.000000 3.000000 )\n"
        "    rotAngle\t45.000000\n"
        "    rotAxis\t( 1.000000 0.000000 0.000000 )\n"
        "    pivotAngle\t-10.000000\n"
        "    pivotAxis\t( 0.000000 0.000000 1.000000 )\n"
        "    scale\t( 2.000000 2.000000 2.000000 ) \n"
        "    scaleOrigin\t( 0.500000 0.500000 0.500000 ) \n"
        "    center\t( 1.000000 1.000000 1.000000 ) \n"
        "    material\t\"red\"\n"
        "    texMode\t1\n"
        "    numIndex\t12\n"
        "    forward\t2\n"
        "    mode\t2\n"
        "    splane\t(1.000000 0.000000 1.000000 0.500000)\n"
        "    tplane\t(0.000000 1.000000 1.000000 0.500000)\n"
        "}\n\n";
    int result = 0;
    EXPECT_EQ(writtenBy(m, 0, &result), expected);
    EXPECT_EQ(result, 1);

    // Portable paths: only file and texture change.
    std::string portable = writtenBy(m, 1);
    EXPECT_NE(portable.find("    file\t\"models/cube.3ds\"\n"), std::string::npos);
    EXPECT_NE(portable.find("    texture\t\"tex/wood.png\"\n"), std::string::npos);
}

TEST(ObjectWriter, EmptyFileNullMaterialAndQuotesNeverCorruptTheBlock) {
    pnModel m;
    m.setName("say \"hi\"");
    m.setFile("a.obj");
    m.setFile("");
    m.setMaterialName(nullptr);
    m.setTextureName("");
    m.setTexMode(2);
    const std::string text = writtenBy(m);
    EXPECT_EQ(text.find("file"), std::string::npos);
    EXPECT_EQ(text.find("material"), std::string::npos);
    EXPECT_EQ(text.find("texture"), std::string::npos);
    EXPECT_EQ(text.find("(null)"), std::string::npos);
    EXPECT_NE(text.find("    name\t\"say 'hi'\"\n"), std::string::npos);
    EXPECT_NE(text.find("    texMode\t2\n    forward\t0\n"), std::string::npos);  // no numIndex
    EXPECT_EQ(pnQuotable("\"\""), "''");
}

TEST(ObjectWriter, NumbersIgnoreTheUserLocale) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    std::string saved = previous ? previous : "C";
    REQUIRE_GERMAN_LOCALE(LC_ALL);
    char probe[32];
    std::snprintf(probe, sizeof probe, "%f", 1.5);
    EXPECT_STREQ(probe, "1,500000");  // the locale is really in force
    pnModel m;
    m.setName("m");
    m.setRotAngle(1.5f);
    std::string text = writtenBy(m);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_NE(text.find("    rotAngle\t1.500000\n"), std::string::npos) << text;
    EXPECT_EQ(text.find(','), std::string::npos);
}

TEST(ObjectWriter, PanelBlock) {
    pnPanel p;
    p.setName("p");
    p.setBevel(2.5f);
    p.setEachFaceFlag(1, 0, 0, 1, 0, 0);
    p.setDimension(10, 20, 30);
    EXPECT_EQ(writtenBy(p),
              "panel {\n"
              "    name\t\"p\"\n"
              "    forward\t0\n"
              "    kind\t\"3D\"\n"
              "    bevel\t2.500000\n"
              "    faceFlag\t( 1 0 0 1 0 0 )\n"
              "    dimension\t( 10.000000 20.000000 30.000000 )\n"
              "    mode\t0\n"
              "}\n\n");
    p.setMode(1);
    p.setCoords(0.1f, 0.2f, 0.9f, 0.8f);
    const std::string text = writtenBy(p);
    // The rectangle goes out in the order the setter takes it.
    EXPECT_NE(text.find("    mode\t1\n"
                        "    splane\t(1.000000 0.000000 1.000000 0.500000)\n"
                        "    tplane\t(0.000000 1.000000 1.000000 0.500000)\n"
                        "    coords\t(0.100000 0.200000 0.900000 0.800000)\n}\n\n"),
              std::string::npos)
        << text;
}

TEST(ObjectWriter, BackgroundAndVolumeBlocks) {
    pnBackground bg;
    EXPECT_EQ(bg.getName(), "Background");
    EXPECT_EQ(writtenBy(bg), "background {\n    name\t\"Background\"\n    forward\t0\n    useTexture\t0\n}\n\n");
    bg.setColor(sgVec4(0.25f, 0.5f, 0.75f, 1));
    bg.setUseTexture(1);
    bg.setFileName("bg.jpg");
    EXPECT_EQ(writtenBy(bg),
              "background {\n    name\t\"Background\"\n    file\t\"bg.jpg\"\n    forward\t0\n"
              "    color\t( 0.250000 0.500000 0.750000 1.000000 )\n    useTexture\t1\n}\n\n");
    pnBackground copy;
    copy.copy(&bg);
    EXPECT_EQ(writtenBy(copy), writtenBy(bg));

    pnVolume v;
    v.setName("v");
    const float xyz[] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    const float n[] = {0, 0, 1};
    const int idx[] = {0, 1, 2, 2, 1, 0, 0};
    const int nidx[] = {0, 0, 0, 0, 0, 0, 0};
    v.setCoords(xyz, 3);
    v.setNormals(n, 1);
    v.setIndex(idx, nidx, 7);
    EXPECT_EQ(writtenBy(v),
              "volume {\n    name\t\"v\"\n    forward\t0\n"
              "    numVertex\t3\n    coords\t(\n"
              "\t\t( 0.000000 0.000000 0.000000 )\n\t\t( 1.000000 0.000000 0.000000 )\n"
              "\t\t( 0.000000 1.000000 0.000000 )\n    )\n"
              "    numIndex\t7\n    index\t(\n\t\t0 1 2 2 1 0\n\t\t0\n    )\n"
              "    numNormal\t1\n    normals\t(\n\t\t( 0.000000 0.000000 1.000000 )\n    )\n"
              "    normIndex\t(\n\t\t0 0 0 0 0 0\n\t\t0\n    )\n}\n\n");
}

TEST(ObjectWriter, AFailingStreamIsReported) {
    FILE* full = std::fopen("/dev/full", "w");
    if (!full) GTEST_SKIP() << "no /dev/full";
    std::setvbuf(full, nullptr, _IONBF, 0);  // every write reaches the device
    pnPanel p;
    p.setName("p");
    EXPECT_EQ(p.write(full, 0), 0);
    std::fclose(full);
    EXPECT_EQ(p.write(nullptr, 0), 0);
}

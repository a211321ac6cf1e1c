// The ".apn" writer: the exact text of the scene and record blocks, path
// conversion, and a save that never damages the file it replaces.
#include <gtest/gtest.h>

#include <clocale>
#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <linux/capability.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "tests/support/ToolCheck.h"
#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "scene/pnLight.h"
#include "scene/pnMaterial.h"
#include "scene/pnModel.h"
#include "scene/pnScene.h"
#include "scene/pnViewpoint.h"
#include "SceneFileSupport.h"
#include "tests/support/TempDir.h"

using scenefile::fileText;
using scenefile::readFile;
using scenefile::readText;
using scenefile::writeText;

namespace {

template <class T>
std::string blockText(const T& item) {
    FILE* f = std::tmpfile();
    EXPECT_EQ(item.write(f), 1);
    std::string out = fileText(f);
    std::fclose(f);
    return out;
}

// Sets or clears the immutable attribute: a folder that even a user who may
// write anywhere cannot add files to.
bool setImmutable(const std::string& path, bool on) {
    int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    close(fd);
    return ok;
}

// Lowers, for this thread, the capabilities that let a privileged user write
// past a folder's permissions (root in a container), and raises them again at
// the end: the folder's mode then binds as it does for any user.
class WithoutPermissionOverride {
public:
    WithoutPermissionOverride() {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        if (syscall(SYS_capget, &header, saved_) != 0) return;
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[0].effective &= ~kOverrides;
        active_ = syscall(SYS_capset, &header, lowered) == 0;
    }
    ~WithoutPermissionOverride() {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        if (active_) syscall(SYS_capset, &header, saved_);
    }
    WithoutPermissionOverride(const WithoutPermissionOverride&) = delete;
    WithoutPermissionOverride& operator=(const WithoutPermissionOverride&) = delete;

private:
    static constexpr uint32_t kOverrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);
    __user_cap_data_struct saved_[2] = {};
    bool active_ = false;
};

bool canCreateIn(const std::string& dir) {
    std::string probe = dir + "/probe";
    FILE* p = std::fopen(probe.c_str(), "w");
    if (!p) return false;
    std::fclose(p);
    unlink(probe.c_str());
    return true;
}

// A fresh temporary folder, made writable again before the shared helper
// removes it with its files.
class TempFolder {
public:
    ~TempFolder() {
        setImmutable(path(), false);
        chmod(path().c_str(), 0700);
    }
    const std::string& path() const { return dir_.path(); }
    std::string file(const char* name) const { return dir_.file(name); }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        if (DIR* d = opendir(path().c_str())) {
            while (dirent* e = readdir(d))
                if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
            closedir(d);
        }
        return names;
    }

private:
    TempDir dir_{"kv-scenefile"};
};

void writeFile(const std::string& path, const std::string& text) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

// A scene big enough that its file does not fit a small size limit.
void fillScene(pnScene& s, int materials) {
    for (int i = 0; i < materials; ++i) {
        auto* m = new pnMaterial;
        m->setName(("material" + std::to_string(i)).c_str());
        m->setDiffuse(0.5f, 0.25f, 0.125f);
        s.addMaterial(m);
    }
}

}  // namespace

TEST(RecordWriters, MaterialWritesItsNameAndOnlyTheFieldsGiven) {
    pnMaterial fresh;
    fresh.setName("m");
    EXPECT_EQ(blockText(fresh), "material {\n    name\t\"m\"\n}\n\n");

    pnMaterial m;
    m.setName("say \"hi\"");
    m.setFile("C:\\tex\\wood.bmp");
    m.setDiffuse(1.5f, -0.2f, 0.5f);
    m.setAmbient(0.1f, 0.2f, 0.3f);
    m.setEmission(0, 0, 1);
    m.setSpecular(1, 1, 1);
    m.setShininess(200);
    m.setAlpha(0.25f);
    EXPECT_EQ(blockText(m),
              "material {\n    name\t\"say 'hi'\"\n    file\t\"C:\\tex\\wood.bmp\"\n"
              "    diffuse\t( 1.000000 0.000000 0.500000 )\n    ambient\t( 0.100000 0.200000 0.300000 )\n"
              "    emission\t( 0.000000 0.000000 1.000000 )\n    specular\t( 1.000000 1.000000 1.000000 )\n"
              "    shininess\t128.000000\n    alpha\t0.250000\n}\n\n");
}

TEST(RecordWriters, LightAlwaysWritesPositionPositionalAndOn) {
    pnLight l;
    l.setName("fill");
    l.setPositional(0);
    EXPECT_EQ(blockText(l),
              "light {\n    name\t\"fill\"\n    position\t( 0.000000 0.000000 0.000000 )\n    positional\t0\n"
              "    on\t1\n}\n\n");

    pnLight spot;
    spot.setName("spot");
    spot.setPosition(1, 2, 3);
    spot.setAttenuation(sgVec3(1, 0, 0.5f));
    spot.setSpotCone(5, 45);
    spot.setSpotDirection(sgVec3(0, -1, 0));
    spot.setMaterial("warm");
    spot.setIntensity(0.5f);
    spot.setFile("glow.png");
    spot.setOn(0);
    EXPECT_EQ(blockText(spot),
              "light {\n    name\t\"spot\"\n    position\t( 1.000000 2.000000 3.000000 )\n"
              "    attenuation\t( 1.000000 0.000000 0.500000 )\n    spotCone\t( 5.000000 45.000000 )\n"
              "    spotDirection\t( 0.000000 -1.000000 0.000000 )\n    material\t\"warm\"\n    intensity\t0.500000\n"
              "    file\t\"glow.png\"\n    positional\t1\n    on\t0\n}\n\n");
}

TEST(RecordWriters, ViewpointLayout) {
    pnViewpoint vp;
    vp.setName("cam");
    vp.setDirection(0, 0, -1);
    vp.setLookAt(5, 5, 5);  // run-time only: not written
    EXPECT_EQ(blockText(vp),
              "viewpoint {\n    name\t\"cam\"\n    position\t( 0.000000 0.000000 906.000000 )\n"
              "    direction\t( 0.000000 0.000000 -1.000000 )\n    near\t10.000000\n    far\t\t5000.000000\n"
              "    fov\t\t30.000000\n    width\t\t720.000000\n    perspective\t\t1\n}\n\n");
}

TEST(RecordWriters, EffectWritesSetFieldsAndTheAxisOnlyWithAnAngle) {
    pnEffect plain;
    plain.setName("plain");
    plain.setRotAxis(1, 0, 0);
    plain.setRotAngle(0);
    plain.setColor("");
    EXPECT_EQ(blockText(plain), "effect {\n    name\t\"plain\"\n}\n\n");

    pnEffect e;
    e.setName("all");
    e.setTrans(1, 2, 3);
    e.setRotAngle(90);
    e.setRotAxis(0, 0, 1);
    e.setPivotAngle(30);
    e.setPivotAxisXYZ(1, 0, 0);
    e.setScale(2, 2, 2);
    e.setCenter(0, 1, 0);
    e.setColor("red");
    e.setGrow(1, 2, 3);
    e.setShrink(4, 5, 6);
    EXPECT_EQ(blockText(e),
              "effect {\n    name\t\"all\"\n    trans\t( 1.000000 2.000000 3.000000 )\n    rotAngle\t90.000000\n"
              "    rotAxis\t( 0.000000 0.000000 1.000000 )\n    pivotAngle\t30.000000\n"
              "    pivotAxis\t(1.000000 0.000000 0.000000)\n    scale\t( 2.000000 2.000000 2.000000 )\n"
              "    center\t( 0.000000 1.000000 0.000000 )\n    color\t\"red\"\n    grow\t(4 5 6)\n"
              "    shrink\t(4 5 6)\n}\n\n");
}

TEST(RecordWriters, EventObjectNamesParentAndPlays) {
    pnEvent none;
    none.setName("idle");
    testing::internal::CaptureStderr();
    EXPECT_EQ(blockText(none), "event {\n    name\t\"idle\"\n    objectName\t\"\"\n}\n\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "WARNING: no object assigned to event, idle\n");

    pnEvent one;
    one.setName("one");
    one.addObjectName("box");
    one.setParent("idle");
    one.addPlay("move \"fast\"", 0, 30, 1);
    one.addPlay("fade", 30, 45, 0);
    EXPECT_EQ(blockText(one),
              "event {\n    name\t\"one\"\n    objectName\t\"box\"\n    parent\t\"idle\"\n"
              "    play\t( \"move 'fast'\" 0 30 1 )\n    play\t( \"fade\" 30 45 0 )\n}\n\n");

    pnEvent many;
    many.setName("many");
    many.addObjectName("a");
    many.addObjectName("b");
    EXPECT_EQ(blockText(many), "event {\n    name\t\"many\"\n    objectName\t( \"a\" \"b\" )\n}\n\n");
}

TEST(SceneWriter, SceneBlockAndFileOrder) {
    pnScene s;
    EXPECT_EQ(writeText(s),
              "scene {\n    name\t\"\"\n    width\t720\n    height\t486\n    version\t120\n    align\tBottom\n}\n\n");

    s.setName("Demo");
    s.setPosition(sgVec3(1, 2, 3));
    s.setRotAngle(10);
    s.setRotAxis(sgVec3(0, 0, 1));
    s.setScale(sgVec3(2, 2, 2));
    s.addPause(20);
    s.addPause(10);
    s.addSound(5, "hit.wav");
    s.setAnimScale(0.5f);
    s.setAlign(3);
    auto* vp = new pnViewpoint;
    vp->setName("cam");
    s.setViewpoint(vp);
    auto* m = new pnMaterial;
    m->setName("m");
    s.addMaterial(m);
    auto* l = new pnLight;
    l->setName("l");
    s.addLight(l);
    auto* e = new pnEffect;
    e->setName("e");
    s.addEffect(e);
    auto* ev = new pnEvent;
    ev->setName("ev");
    ev->addObjectName("cam");
    s.addEvent(ev);
    std::string text = writeText(s);
    EXPECT_EQ(text.substr(0, text.find("viewpoint {")),
              "scene {\n    name\t\"Demo\"\n    width\t720\n    height\t486\n    version\t120\n"
              "    position\t( 1.000000 2.000000 3.000000 )\n    rotAngle\t10.000000\n"
              "    rotAxis\t( 0.000000 0.000000 1.000000 )\n    scale\t( 2.000000 2.000000 2.000000 ) \n"
              "    pause\t10\n    pause\t20\n    sound\t(5 \"hit.wav\")\n    animScale\t0.500000\n"
              "    align\tLeft\n}\n\n");
    size_t at[] = {text.find("viewpoint {"), text.find("material {"), text.find("light {"),
                   text.find("effect {"), text.find("event {")};
    for (size_t i = 1; i < 5; ++i) EXPECT_LT(at[i - 1], at[i]) << i;
}

TEST(SceneWriter, PortablePathsConvertOnlyTheLastExtension) {
    pnScene s;
    s.addSound(1, "D:\\snd\\hit.wav");
    s.addSound(2, "D:\\snd\\old.set\\hit.wav");
    s.addSound(3, "D:\\snd.d\\noext");
    auto* model = new pnModel;
    model->setName("m");
    model->setFileName("C:\\models\\car.3ds");
    model->setTexture("C:\\tex\\paint.png");
    s.addObject(model);

    std::string portable = writeText(s, 1);
    EXPECT_NE(portable.find("    sound\t(1 \"D:/snd/hit.aiff\")\n"), std::string::npos);
    EXPECT_NE(portable.find("    sound\t(2 \"D:/snd/old.set/hit.aiff\")\n"), std::string::npos);
    EXPECT_EQ(portable.find("(3 "), std::string::npos);
    EXPECT_NE(portable.find("\"C:/models/car.3ds\""), std::string::npos);
    EXPECT_NE(portable.find("\"C:/tex/paint.png\""), std::string::npos);

    std::string stored = writeText(s, 0);
    EXPECT_NE(stored.find("    sound\t(2 \"D:\\snd\\old.set\\hit.wav\")\n"), std::string::npos);
    EXPECT_NE(stored.find("    sound\t(3 \"D:\\snd.d\\noext\")\n"), std::string::npos);
    EXPECT_NE(stored.find("\"C:\\models\\car.3ds\""), std::string::npos);
}

TEST(SceneWriter, NumbersUseThePointInAnyLocale) {
    REQUIRE_GERMAN_LOCALE(LC_ALL);
    pnMaterial m;
    m.setName("m");
    m.setAlpha(0.5f);
    std::string text = blockText(m);
    pnScene s;
    readText(s, "material { name \"n\" alpha 0.25 shininess 12.5 }");
    std::setlocale(LC_ALL, "C");
    EXPECT_NE(text.find("alpha\t0.500000"), std::string::npos);
    ASSERT_EQ(s.getNumMaterials(), 1);
    EXPECT_FLOAT_EQ(s.getMaterial(0)->getAlpha(), 0.25f);
    EXPECT_FLOAT_EQ(s.getMaterial(0)->getShininess(), 12.5f);
}

TEST(SceneSave, WritesTheWholeSceneAndKeepsPermissions) {
    TempFolder dir;
    pnScene s;
    fillScene(s, 3);
    std::string target = dir.file("scene.apn");
    writeFile(target, "old");
    chmod(target.c_str(), 0640);
    ASSERT_EQ(s.save(target.c_str(), 0), 1);
    EXPECT_EQ(readFile(target), writeText(s));
    struct stat st;
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(dir.entries().size(), 1u);  // no temporary file left

    // A link keeps pointing at the saved file.
    std::string link = dir.file("link.apn");
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    s.setName("through link");
    ASSERT_EQ(s.save(link.c_str(), 0), 1);
    struct stat lst;
    ASSERT_EQ(lstat(link.c_str(), &lst), 0);
    EXPECT_TRUE(S_ISLNK(lst.st_mode));
    EXPECT_EQ(readFile(target), writeText(s));
}

TEST(SceneSave, FailuresReturnZeroAndLeaveTheOldFile) {
    TempFolder dir;
    pnScene s;
    fillScene(s, 2000);
    EXPECT_EQ(s.save(dir.file("missing/scene.apn").c_str(), 0), 0);
    EXPECT_EQ(s.save("", 0), 0);
    EXPECT_EQ(s.save(nullptr, 0), 0);

    // A write that fails half way (the file size limit stands in for a full
    // disk) leaves the old file whole and no temporary file behind.
    std::string target = dir.file("scene.apn");
    writeFile(target, "old contents");
    struct rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    int result = s.save(target.c_str(), 0);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readFile(target), "old contents");
    EXPECT_EQ(dir.entries().size(), 1u);
}

TEST(SceneSave, ReadOnlyFolderRefusesTheSave) {
    TempFolder dir;
    pnScene s;
    fillScene(s, 2);
    std::string target = dir.file("scene.apn");
    writeFile(target, "old contents");
    chmod(dir.path().c_str(), 0555);
    // A user who may write anywhere is held to the folder's mode; where even
    // that leaves the folder writable, the immutable attribute closes it.
    WithoutPermissionOverride asAnyUser;
    if (canCreateIn(dir.path()) && !(setImmutable(dir.path(), true) && !canCreateIn(dir.path()))) {
        if (toolsRequired()) FAIL() << "no read-only folder can be made for this user (CI is set)";
        GTEST_SKIP() << "no read-only folder can be made for this user";
    }
    EXPECT_EQ(s.save(target.c_str(), 0), 0);
    setImmutable(dir.path(), false);
    EXPECT_EQ(readFile(target), "old contents");
    EXPECT_EQ(dir.entries().size(), 1u);
}

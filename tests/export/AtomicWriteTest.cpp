// The one way files are written: a temporary file in the target's folder,
// renamed over the target only when complete. Path splitting helpers.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "assets/writePNG.h"
#include "export/StillImageWriters.h"
#include "platform/AtomicFile.h"
#include "platform/PathParts.h"
#include "scene/pnObject.h"
#include "scene/pnScene.h"
#include "tests/images/ImageFixtures.h"

namespace {

std::set<std::string> folderEntries(const std::string& folder) {
    std::set<std::string> names;
    if (DIR* d = opendir(folder.c_str())) {
        while (dirent* e = readdir(d)) names.insert(e->d_name);
        closedir(d);
    }
    return names;
}

std::string makeFolder(const std::string& name) {
    std::string f = fixturePath(name);
    mkdir(f.c_str(), 0755);
    return f;
}

mode_t modeOf(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

}  // namespace

TEST(PathParts, SplitsPaths) {
    struct Case {
        const char* path;
        const char* folder;
        const char* base;
        const char* ext;
    } cases[] = {
        {"a/b/c.png", "a/b", "c.png", "png"},
        {"/c.Tga", "/", "c.Tga", "Tga"},
        {"c.png", "", "c.png", "png"},
        {"a.v1/b", "a.v1", "b", ""},
        {"dir/.profile", "dir", ".profile", ""},
        {"x/archive.tar.gz", "x", "archive.tar.gz", "gz"},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(pathFolder(c.path), c.folder);
        EXPECT_EQ(pathBaseName(c.path), c.base);
        EXPECT_EQ(pathExtension(c.path), c.ext);
    }
    EXPECT_EQ(pathExtensionLower("A/B.JPG"), "jpg");
    EXPECT_EQ(pathJoin("", "x"), "x");
    EXPECT_EQ(pathJoin("a", "x"), "a/x");
    EXPECT_EQ(pathJoin("a/", "x"), "a/x");
    EXPECT_EQ(pathJoin(pathFolder("/x"), "y"), "/y");
}

TEST(AtomicFile, ReplacesWholeKeepsModeAndLinksAndLeavesNoTemporary) {
    const std::string folder = makeFolder("atomic");
    const std::string target = folder + "/scene.apn";
    ASSERT_TRUE(writeFile(target, {'o', 'l', 'd'}));
    chmod(target.c_str(), 0640);
    const std::set<std::string> before = folderEntries(folder);

    // A write that gives up leaves the old file and no temporary file.
    EXPECT_FALSE(writeFileAtomically(target, [](FILE* f) {
        std::fputs("partial", f);
        return false;
    }));
    EXPECT_EQ(readFile(target), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(folderEntries(folder), before);

    // A complete one replaces it with the old permissions.
    std::string error;
    EXPECT_TRUE(writeFileAtomically(target, [](FILE* f) { return std::fputs("new", f) >= 0; }, &error)) << error;
    EXPECT_EQ(readFile(target), (std::vector<uint8_t>{'n', 'e', 'w'}));
    EXPECT_EQ(modeOf(target), 0640u);
    EXPECT_EQ(folderEntries(folder), before);

    // A link stays a link; its target gets the content.
    const std::string link = folder + "/link.apn";
    ASSERT_EQ(symlink("scene.apn", link.c_str()), 0);
    EXPECT_TRUE(writeFileAtomically(link, [](FILE* f) { return std::fputs("via link", f) >= 0; }));
    struct stat st;
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readFile(target).size(), 8u);

    // Devices are written in place, never replaced.
    EXPECT_TRUE(writeFileAtomically("/dev/null", [](FILE* f) { return std::fputs("x", f) >= 0; }));
    struct stat null;
    ASSERT_EQ(stat("/dev/null", &null), 0);
    EXPECT_TRUE(S_ISCHR(null.st_mode));
    EXPECT_FALSE(writeFileAtomically("/dev/full", [](FILE* f) { return std::fputs("x", f) >= 0; }));
    // A folder, or a file in a missing folder, is no target.
    EXPECT_FALSE(writeFileAtomically(folder, [](FILE*) { return true; }));
    EXPECT_FALSE(writeFileAtomically(folder + "/none/x", [](FILE*) { return true; }, &error));
    EXPECT_NE(error.find("none/x"), std::string::npos) << error;
}

TEST(AtomicFile, SavesUnderAFileSizeLimitKeepTheOldFiles) {
    const std::string folder = makeFolder("limited");
    const std::string png = folder + "/frame.png", apn = folder + "/scene.apn", jpg = folder + "/frame.jpg";
    ASSERT_TRUE(writeFile(png, {'o', 'l', 'd', 'p'}));
    ASSERT_TRUE(writeFile(apn, {'o', 'l', 'd', 's'}));
    ASSERT_TRUE(writeFile(jpg, {'o', 'l', 'd', 'j'}));
    const std::set<std::string> before = folderEntries(folder);

    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // 4 KiB: less than any of the three files needs.
        struct rlimit limit = {4096, 4096};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(10);
        int failures = 0;
        std::vector<uint8_t> px(size_t(300) * 200 * 3);
        uint32_t x = 2463534242u;  // noise: nothing compresses it below the limit
        for (uint8_t& p : px) {
            x ^= x << 13, x ^= x >> 17, x ^= x << 5;
            p = uint8_t(x);
        }
        failures += writePNG(png, px.data(), 300, 200, 24, 0, 1.0) == 0;
        CapturedImage im;
        im.width = 300, im.height = 200, im.pixels = px.data();
        failures += writeJPG(jpg, im, 95, 0) == 0;
        pnScene scene;
        for (int i = 0; i < 200; ++i) {
            auto* o = new pnObject;
            o->setName(("a long enough object name " + std::to_string(i)).c_str());
            scene.addObject(o);
        }
        failures += scene.save(apn.c_str(), 0) == 0;
        _exit(failures);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the writers ended the process";
    EXPECT_EQ(WEXITSTATUS(status), 3) << "every save reports its failure";
    EXPECT_EQ(readFile(png), (std::vector<uint8_t>{'o', 'l', 'd', 'p'}));
    EXPECT_EQ(readFile(apn), (std::vector<uint8_t>{'o', 'l', 'd', 's'}));
    EXPECT_EQ(readFile(jpg), (std::vector<uint8_t>{'o', 'l', 'd', 'j'}));
    EXPECT_EQ(folderEntries(folder), before) << "no temporary file stays";
}

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/PathResolver.h"
#include "tests/support/TempDir.h"

namespace {
class PathResolverTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::make_unique<TempDir>("kvpath");
        ASSERT_FALSE(dir->path().empty());
        root = dir->path();
        mkdir((root + "/textures").c_str(), 0755);
        mkdir((root + "/Data.v2").c_str(), 0755);
        touch(root + "/textures/wood.jpg");
        touch(root + "/Data.v2/Brick.TGA");
    }
    void TearDown() override { dir.reset(); }
    static void touch(const std::string& p) {
        FILE* f = std::fopen(p.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    static std::string backslashed(std::string p) {
        for (char& c : p)
            if (c == '/') c = '\\';
        return p;
    }
    std::unique_ptr<TempDir> dir;
    std::string root;
};
}  // namespace

TEST_F(PathResolverTest, DosNamesResolveToFilesOnDisk) {
    EXPECT_EQ(findStoredPath("TEXTURES\\WOOD.JPG", {root}), root + "/textures/wood.jpg");
    EXPECT_EQ(findStoredPath(root + "/TEXTURES\\WOOD.JPG"), root + "/textures/wood.jpg");
    EXPECT_EQ(findStoredPath("D:" + backslashed(root) + "\\data.V2\\brick.tga"), root + "/Data.v2/Brick.TGA");
    // A folder from another machine: the trailing components are found under a search folder.
    EXPECT_EQ(findStoredPath("C:\\Program Files\\Kelvano\\Textures\\Wood.jpg", {"/nonexistent", root}),
              root + "/textures/wood.jpg");
}

TEST_F(PathResolverTest, ExactPathWinsAndMissingFilesStayNamed) {
    EXPECT_EQ(findStoredPath(root + "/textures/wood.jpg"), root + "/textures/wood.jpg");
    EXPECT_EQ(findStoredPath("C:\\nowhere\\none.jpg", {root}), "");
    EXPECT_EQ(resolvePath("C:\\nowhere\\none.jpg", {root}), "/nowhere/none.jpg");
    EXPECT_EQ(findStoredPath(""), "");
    EXPECT_EQ(normalizeStoredPath("c:\\A\\b.png"), "/A/b.png");
    EXPECT_EQ(normalizeStoredPath("rel\\x.png"), "rel/x.png");
}

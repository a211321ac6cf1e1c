// Stored paths, the panel taper, the thumbnail grid and the preview reader of
// the panel and model pages, their dialogs and the texture windows.
#include "sg/sgImage.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToolCheck.h"
#include "ui/properties/rules/ObjectRules.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

TEST(ObjectRules, StoredPaths) {
    struct Case {
        const char* path;
        const char* programDir;
        bool ignoreCase;
        const char* stored;
    } cases[] = {
        {"/x/prog/Models/cube.3ds", "/x/prog", false, "Models/cube.3ds"},        // inside
        {"/x/prog/Models/cube.3ds", "/x/prog/", false, "Models/cube.3ds"},       // folder with its separator
        {"/y/cube.3ds", "/x/prog", false, "/y/cube.3ds"},                        // outside
        {"/x/prog2/cube.3ds", "/x/prog", false, "/x/prog2/cube.3ds"},            // a sibling folder
        {"/opt/programs/x.3ds", "/opt/prog", true, "/opt/programs/x.3ds"},
        {"/X/PROG/m.3ds", "/x/prog", false, "/X/PROG/m.3ds"},                    // creating: case counts
        {"/X/PROG/m.3ds", "/x/prog", true, "m.3ds"},                             // changing: it does not
        {"C:\\prog\\Models\\a.3ds", "C:\\prog", false, "Models\\a.3ds"},
        {"/x/prog", "/x/prog", false, "/x/prog"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StripProgramDir(c.path, c.programDir, c.ignoreCase), c.stored) << c.path << " under " << c.programDir;

    EXPECT_EQ(StoredTexturePath("/p/Textures/wood/oak.png", "/p/Textures"), "wood/oak.png");
    EXPECT_EQ(StoredTexturePath("/home/u/oak.png", "/p/Textures"), "/home/u/oak.png");
    EXPECT_EQ(FullTexturePath("wood/oak.png", "/p/Textures"), "/p/Textures/wood/oak.png");
    EXPECT_EQ(FullTexturePath("/home/u/oak.png", "/p/Textures"), "/home/u/oak.png");
    EXPECT_EQ(FullTexturePath("C:\\t\\a.bmp", "/p/Textures"), "C:\\t\\a.bmp");

    EXPECT_EQ(FileNamePart("a\\b/c\\d.3ds"), "d.3ds");
    EXPECT_EQ(FileNamePart("Models/cube.3ds"), "cube.3ds");
    EXPECT_EQ(FileNamePart("cube.3ds"), "cube.3ds");
    EXPECT_EQ(ModelPathOfThumbnail("/p/Models/torus4.bmp"), "/p/Models/torus4.3ds");

    // File dialog filters: the toolkit matches each pattern as written.
    const struct {
        const char* filter;
        const char* wildcard;
    } filters[] = {
        {"3ds File (*.3ds; *.obj) |*.3ds; *.obj|", "3ds File (*.3ds; *.obj) |*.3ds;*.obj;*.3DS;*.OBJ"},
        {"Scene File(*.apn) |*.apn|", "Scene File(*.apn) |*.apn;*.APN"},
        {"A |*.a|B (*.*)|*.*|", "A |*.a;*.A|B (*.*)|*.*"},
        {"Wave | *.wav ;; *.WAV|", "Wave |*.wav;*.WAV"},
        {"", ""},
    };
    for (const auto& f : filters) EXPECT_EQ(DialogWildcard(f.filter), f.wildcard) << f.filter;
}

TEST(ObjectRules, PanelTaper) {
    EXPECT_FLOAT_EQ(TaperLimit(300, 100), 50);
    EXPECT_FLOAT_EQ(ClampTaper(80, 300, 100), 50);
    EXPECT_FLOAT_EQ(ClampTaper(8, 300, 100), 8);
    bool cut = false;
    EXPECT_FLOAT_EQ(TaperAfterDimension(2, 3, &cut), 1.5f);
    EXPECT_TRUE(cut);
    EXPECT_FLOAT_EQ(TaperAfterDimension(2, 4, &cut), 2);
    EXPECT_FALSE(cut);
}

TEST(ObjectRules, ThumbnailGrid) {
    CThumbnailGrid grid;
    grid.SetGrid(20, 10);  // more than 100 cells
    EXPECT_EQ(grid.Columns() * 10 + grid.Rows(), 43);
    for (int i = 0; i < 13; ++i) ASSERT_TRUE(grid.AddItem("Models\\m" + std::to_string(i) + ".bmp"));
    EXPECT_EQ(grid.LargestTopRow(), 1);
    EXPECT_FALSE(grid.Scroll(4, 1));  // the thumb's position is not followed
    EXPECT_TRUE(grid.Scroll(7));
    std::vector<int> shown;
    for (int cell = 0; cell < grid.CellCount(); ++cell) shown.push_back(grid.ItemInCell(cell));
    EXPECT_EQ(shown, (std::vector<int>{4, 5, 6, 7, 8, 9, 10, 11, 12, -1, -1, -1}));
    EXPECT_EQ(grid.ItemInCell(12), -1);
    EXPECT_EQ(grid.ItemInCell(-1), -1);
    EXPECT_TRUE(grid.Scroll(2));
    EXPECT_EQ(grid.TopRow(), 0);
    EXPECT_FALSE(grid.Scroll(0));

    EXPECT_TRUE(grid.SelectByName("m12.bmp"));  // scrolls it into view
    EXPECT_EQ(grid.Selected(), 12);
    EXPECT_EQ(grid.TopRow(), 1);
    EXPECT_FALSE(grid.SelectByName("M12.bmp"));
    EXPECT_EQ(grid.Selected(), -1);
    EXPECT_TRUE(grid.SelectIndex(0));
    EXPECT_EQ(grid.TopRow(), 0);
    EXPECT_FALSE(grid.SelectIndex(13));
    EXPECT_EQ(grid.SelectedName(), "");

    for (int i = 13; i < CThumbnailGrid::kCapacity; ++i) ASSERT_TRUE(grid.AddItem("x.bmp"));
    EXPECT_FALSE(grid.AddItem("257th.bmp"));
    EXPECT_EQ(grid.Count(), 256);
}

// Pictures ImageMagick writes, a red top-left and a blue bottom-right pixel:
// every reader gives them upright (rows bottom-up in memory).
TEST(ObjectRules, PreviewPicturesUpright) {
    REQUIRE_TOOL("convert");
    TempDir dir;
    const std::string src = dir.path() + "/src.ppm";
    {
        std::ofstream f(src, std::ios::binary);
        f << "P6 3 2 255\n";
        const unsigned char rows[2][9] = {{255, 0, 0, 0, 255, 0, 255, 255, 255}, {0, 0, 0, 128, 128, 128, 0, 0, 255}};
        f.write(reinterpret_cast<const char*>(rows), sizeof rows);
    }
    struct Case {
        const char* name;
        const char* convertArgs;
    } cases[] = {{"a.tga", "-orient TopLeft"},
                 {"a.jpg", "-quality 100 -sampling-factor 1x1"},
                 {"a.png", ""},
                 {"a.rgb", ""},
                 {"a.bmp", "-type truecolor"},
                 {"top.bmp", "-flip -type truecolor"},  // rows stored top first below
                 {"A.PNG", ""}};
    for (const Case& c : cases) {
        const std::string out = dir.path() + "/" + c.name;
        std::string target = out;
        if (std::string(c.name) == "a.rgb") target = "sgi:" + out;
        // The reader takes the 40-byte Windows header.
        if (std::string(c.name).find(".bmp") != std::string::npos) target = "BMP3:" + out;
        ASSERT_EQ(std::system(("convert " + src + " " + c.convertArgs + " " + target).c_str()), 0) << c.name;
        if (std::string(c.name) == "top.bmp") {
            // The flipped rows with a negative height: a top-down bitmap.
            std::fstream f(out, std::ios::in | std::ios::out | std::ios::binary);
            const char minusTwo[4] = {'\xfe', '\xff', '\xff', '\xff'};
            f.seekp(22);
            f.write(minusTwo, 4);
        }
        int components = 0;
        auto image = LoadPreviewImage(out, &components);
        ASSERT_TRUE(image) << c.name;
        ASSERT_EQ(image->width, 3);
        ASSERT_EQ(image->height, 2);
        auto at = [&](int x, int row) { return image->pixels.data() + (row * 3 + x) * components; };
        // The top row is the last one in memory.
        EXPECT_GT(at(0, 1)[0], 200) << c.name;
        EXPECT_LT(at(0, 1)[2], 60) << c.name;
        EXPECT_GT(at(2, 0)[2], 200) << c.name;
        EXPECT_LT(at(2, 0)[0], 60) << c.name;
    }
    // A header that claims more than the file holds, and other kinds, give nothing.
    const std::string bad = dir.path() + "/bad.bmp";
    std::ofstream(bad, std::ios::binary) << std::string("BM\x36\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\xff\xff\0\0\x10\0\0\0", 26);
    EXPECT_FALSE(LoadPreviewImage(bad, nullptr));
    EXPECT_FALSE(LoadPreviewImage(dir.path() + "/src.ppm", nullptr));
    EXPECT_FALSE(LoadPreviewImage(dir.path() + "/missing.png", nullptr));
}

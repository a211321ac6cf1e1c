// Window-free rules of the panel and model pages, their creation dialogs, the
// thumbnail grid and the texture windows: stored paths, the panel taper, the
// grid's rows and scrolling.
#pragma once

#include <memory>
#include <string>
#include <vector>

// The model chooser's 52 stock models, in its order (Models/<name>.bmp and .3ds).
extern const char* const kStockModelNames[52];

// The text after the last backslash, else after the last slash (the whole
// path when it has neither).
std::string FileNamePart(const std::string& path);
// The folder part up to the last separator ('\\' or '/'), "" without one.
std::string FolderPart(const std::string& path);
// A path under the program folder becomes relative to it: the folder is cut
// only when a separator follows it, so "/opt/prog" leaves "/opt/programs/x"
// whole. ignoreCase compares the folder without regard to ASCII case.
std::string StripProgramDir(const std::string& path, const std::string& programDir, bool ignoreCase);
// A thumbnail's picture path with its last three characters made "3ds".
std::string ModelPathOfThumbnail(const std::string& picture);
// How a chosen texture file is stored: relative to the texture folder when it
// lies under it, else the full path.
std::string StoredTexturePath(const std::string& file, const std::string& textureDir);
// The full path of a stored texture name (a relative one under the folder).
std::string FullTexturePath(const std::string& stored, const std::string& textureDir);
// True for an absolute stored path ("/x", "\\x" or a drive letter "C:").
bool IsAbsoluteStoredPath(const std::string& path);
// A file dialog's filter ("Text|*.a; *.b|...|") as the toolkit's file dialog
// takes it: no trailing '|', the blanks around each pattern dropped, and each
// pattern also in upper case, so that "BOX.3DS" shows beside "box.3ds".
std::string DialogWildcard(const std::string& filter);

// The panel's taper bound, min(X, Y) / 2, and a typed taper cut to it.
float TaperLimit(float x, float y);
float ClampTaper(float taper, float x, float y);
// After X or Y changed: the taper that stands (half the new dimension when
// twice the taper exceeds it), and whether it had to change.
float TaperAfterDimension(float taper, float newDimension, bool* changed);

// Add Panel's numbers as the panel page holds them: X and Y above 0, Z from
// 0, each up to kMaxObjectSize, the taper from 0 to TaperLimit(X, Y). -1 when
// all are taken, else the first refused (0 X, 1 Y, 2 Z, 3 taper) with the
// message that names its range.
int RefusedPanelValue(float x, float y, float z, float taper, std::string& message);

// The thumbnail grid's items and scrolling, without a window.
class CThumbnailGrid {
public:
    static constexpr int kCapacity = 256;
    static constexpr int kMaxCells = 100;

    // A grid of more than kMaxCells cells becomes 4 x 3.
    void SetGrid(int columns, int rows);
    int Columns() const { return m_nColumns; }
    int Rows() const { return m_nRows; }
    int CellCount() const { return m_nColumns * m_nRows; }
    // False when full (the caller says so).
    bool AddItem(const std::string& file);
    int Count() const { return static_cast<int>(m_items.size()); }
    const std::string& Item(int index) const { return m_items.at(static_cast<size_t>(index)); }
    // max(0, (count - 1) / columns - rows + 1).
    int LargestTopRow() const;
    int TopRow() const { return m_nTopRow; }
    int FirstVisible() const { return m_nTopRow * m_nColumns; }
    // The item in a visible cell, -1 for an empty cell.
    int ItemInCell(int cell) const;
    // Scroll codes as a vertical scroll bar sends them: 0 line up, 1 line
    // down, 2 page up, 3 page down, 4 thumb position (ignored), 5 thumb track
    // (to pos), 6 top, 7 bottom. True when the top row changed.
    bool Scroll(int code, int pos = 0);
    // Selects an item and scrolls it into view; false (no selection) when
    // out of range.
    bool SelectIndex(int index);
    // The first item whose file name after its last backslash, colon or
    // slash is exactly name.
    bool SelectByName(const std::string& name);
    int Selected() const { return m_nSelected; }
    std::string SelectedName() const { return m_nSelected < 0 ? std::string() : Item(m_nSelected); }

private:
    std::vector<std::string> m_items;
    int m_nColumns = 4, m_nRows = 3;
    int m_nTopRow = 0;
    int m_nSelected = -1;
};

struct sgImage;
// Reads a picture for a preview or thumbnail by its extension in lower case
// (tga, jpg, png, rgb, bmp) without telling the user of a failure: rows
// bottom-up, components 3 or 4. Null for other extensions and bad files.
std::unique_ptr<sgImage> LoadPreviewImage(const std::string& path, int* components);

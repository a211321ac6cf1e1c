#include "ui/properties/rules/ObjectRules.h"

#include "assets/ImageReaders.h"
#include "editor/EditLimits.h"
#include "sg/sgImage.h"
#include "sg/sgRuntime.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <utility>

const char* const kStockModelNames[52] = {
    "sphere",   "cylinder", "cube",     "hbox",        "cone1",       "tricone1",     "tetracone1", "2tetracone",
    "2hemisph", "coins",    "square1",  "square2",     "rect1",       "rect2",        "rect3",      "square3",
    "hholerect", "holerect", "1flag",   "guide",       "rdrect2",     "rdrect",       "parallel",   "square",
    "1rect",    "2rect",    "leftrect", "2siderec",    "l-shape",     "l2shape",      "tshape",     "yshape",
    "2tube",    "saturn",   "conesphere12", "conesphere8", "circlestar", "star2",     "star",       "5spherestar",
    "cross",    "pencil1",  "pencil2",  "nail1",       "conearrow1",  "conearrow2",   "arrow1",     "arrow2",
    "torus1",   "torus2",   "torus3",   "torus4"};

std::string FileNamePart(const std::string& path) {
    size_t cut = path.find_last_of('\\');
    if (cut == std::string::npos) cut = path.find_last_of('/');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string FolderPart(const std::string& path) {
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

bool samePrefix(const std::string& path, const std::string& prefix, bool ignoreCase) {
    if (path.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char a = path[i], b = prefix[i];
        if (isSeparator(a) && isSeparator(b)) continue;
        if (ignoreCase) {
            a = static_cast<char>(std::tolower(static_cast<unsigned char>(a)));
            b = static_cast<char>(std::tolower(static_cast<unsigned char>(b)));
        }
        if (a != b) return false;
    }
    return true;
}

// The part of path below folder, or "" when it does not lie under it.
std::string below(const std::string& path, std::string folder, bool ignoreCase) {
    while (!folder.empty() && isSeparator(folder.back())) folder.pop_back();
    if (folder.empty() || !samePrefix(path, folder, ignoreCase) || path.size() <= folder.size() + 1 ||
        !isSeparator(path[folder.size()]))
        return std::string();
    return path.substr(folder.size() + 1);
}

}  // namespace

std::string StripProgramDir(const std::string& path, const std::string& programDir, bool ignoreCase) {
    const std::string rest = below(path, programDir, ignoreCase);
    return rest.empty() ? path : rest;
}

std::string ModelPathOfThumbnail(const std::string& picture) {
    if (picture.size() < 3) return picture;
    return picture.substr(0, picture.size() - 3) + "3ds";
}

std::string StoredTexturePath(const std::string& file, const std::string& textureDir) {
    const std::string rest = below(file, textureDir, false);
    return rest.empty() ? file : rest;
}

bool IsAbsoluteStoredPath(const std::string& path) {
    return !path.empty() && (isSeparator(path[0]) || (path.size() > 1 && path[1] == ':'));
}

std::string DialogWildcard(const std::string& filter) {
    std::string text = filter;
    while (!text.empty() && text.back() == '|') text.pop_back();
    std::vector<std::string> fields;
    for (size_t start = 0;;) {
        const size_t bar = text.find('|', start);
        fields.push_back(text.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i) out += '|';
        if (i % 2 == 0) {
            out += fields[i];
            continue;
        }
        // The patterns: trimmed, then those with lower-case letters once more
        // in upper case.
        std::vector<std::string> patterns;
        for (size_t start = 0;;) {
            const size_t semi = fields[i].find(';', start);
            std::string p = fields[i].substr(start, semi == std::string::npos ? std::string::npos : semi - start);
            const size_t first = p.find_first_not_of(" \t"), last = p.find_last_not_of(" \t");
            if (first != std::string::npos) patterns.push_back(p.substr(first, last - first + 1));
            if (semi == std::string::npos) break;
            start = semi + 1;
        }
        const size_t given = patterns.size();
        for (size_t k = 0; k < given; ++k) {
            std::string upper = patterns[k];
            for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            if (std::find(patterns.begin(), patterns.end(), upper) == patterns.end()) patterns.push_back(upper);
        }
        for (size_t k = 0; k < patterns.size(); ++k) out += (k ? ";" : "") + patterns[k];
    }
    return out;
}

std::string FullTexturePath(const std::string& stored, const std::string& textureDir) {
    if (stored.empty() || IsAbsoluteStoredPath(stored) || textureDir.empty()) return stored;
    return textureDir + "/" + stored;
}

float TaperLimit(float x, float y) { return std::min(x, y) / 2; }

float ClampTaper(float taper, float x, float y) { return std::min(std::max(taper, 0.0f), TaperLimit(x, y)); }

float TaperAfterDimension(float taper, float newDimension, bool* changed) {
    const bool cut = 2 * taper > newDimension;
    if (changed) *changed = cut;
    return cut ? newDimension / 2 : taper;
}

int RefusedPanelValue(float x, float y, float z, float taper, std::string& message) {
    char text[96];
    const float sides[] = {x, y, z};
    for (int i = 0; i < 3; ++i) {
        // A side of 0 the panel turns into 50; Z of 0 is a flat box.
        const bool low = i < 2 ? !(sides[i] > 0.0f) : !(sides[i] >= 0.0f);
        if (!low && sides[i] <= kMaxObjectSize) continue;
        const double top = kMaxObjectSize;
        if (i < 2) std::snprintf(text, sizeof text, "Please enter a number above 0, up to %g.", top);
        else std::snprintf(text, sizeof text, "Please enter a number from 0 to %g.", top);
        message = text;
        return i;
    }
    const float limit = TaperLimit(x, y);
    if (taper >= 0.0f && taper <= limit) return -1;
    std::snprintf(text, sizeof text, "Please enter a number from 0 to %g.", static_cast<double>(limit));
    message = text;
    return 3;
}

void CThumbnailGrid::SetGrid(int columns, int rows) {
    if (columns < 1 || rows < 1 || columns * rows > kMaxCells) columns = 4, rows = 3;
    m_nColumns = columns;
    m_nRows = rows;
    m_nTopRow = std::min(m_nTopRow, LargestTopRow());
}

bool CThumbnailGrid::AddItem(const std::string& file) {
    if (Count() >= kCapacity) return false;
    m_items.push_back(file);
    return true;
}

int CThumbnailGrid::LargestTopRow() const { return std::max(0, (Count() - 1) / m_nColumns - m_nRows + 1); }

int CThumbnailGrid::ItemInCell(int cell) const {
    if (cell < 0 || cell >= CellCount()) return -1;
    const int item = FirstVisible() + cell;
    return item < Count() && !Item(item).empty() ? item : -1;
}

bool CThumbnailGrid::Scroll(int code, int pos) {
    int row = m_nTopRow;
    switch (code) {
    case 0: --row; break;
    case 1: ++row; break;
    case 2: row -= m_nRows; break;
    case 3: row += m_nRows; break;
    case 5: row = pos; break;
    case 6: row = 0; break;
    case 7: row = LargestTopRow(); break;
    default: return false;
    }
    row = std::max(0, std::min(row, LargestTopRow()));
    const bool changed = row != m_nTopRow;
    m_nTopRow = row;
    return changed;
}

bool CThumbnailGrid::SelectIndex(int index) {
    if (index < 0 || index >= Count()) {
        m_nSelected = -1;
        return false;
    }
    while (index < FirstVisible() && Scroll(2)) {}
    while (index >= FirstVisible() + CellCount() && Scroll(3)) {}
    m_nSelected = index;
    return true;
}

bool CThumbnailGrid::SelectByName(const std::string& name) {
    for (int i = 0; i < Count(); ++i) {
        const std::string& file = Item(i);
        const size_t cut = file.find_last_of("\\:/");
        if ((cut == std::string::npos ? file : file.substr(cut + 1)) == name) return SelectIndex(i);
    }
    m_nSelected = -1;
    return false;
}

namespace {
void quietReporter(const char*, const char*) {}
}  // namespace

std::unique_ptr<sgImage> LoadPreviewImage(const std::string& path, int* components) {
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || path.find_first_of("/\\", dot) != std::string::npos) return nullptr;
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    static const std::pair<const char*, int> kFormats[] = {
        {"tga", SG_FMT_TGA}, {"jpg", SG_FMT_JPEG}, {"png", SG_FMT_PNG}, {"rgb", SG_FMT_RGB}, {"bmp", SG_FMT_DIB}};
    for (const auto& f : kFormats) {
        if (ext != f.first) continue;
        // A preview never interrupts with a box: the file simply shows nothing.
        const sgErrorReporter previous = sgGetErrorReporter();
        sgSetErrorReporter(quietReporter);
        int c = 3;
        sgImagePtr image = readImageByFormat(f.second, path, &c);
        sgSetErrorReporter(previous);
        if (!image || (c != 3 && c != 4) ||
            image->pixels.size() < sgImageByteCount(image->width, image->height, c))
            return nullptr;
        if (components) *components = c;
        return image;
    }
    return nullptr;
}

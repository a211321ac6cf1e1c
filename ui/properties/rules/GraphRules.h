// What the new-graph wizard, the chart pages and the shape choosers decide
// without a window: names, counts and pages of the wizard, the rows a new
// chart is built from, and the file names of the chart shapes. The dialogs
// and pages apply them.
#pragma once

#include <memory>
#include <string>
#include <vector>

class pnChart;
class pnObject;
class pnScene;

enum GraphType { GRAPH_BAR = 0, GRAPH_LINE = 1, GRAPH_PIE = 2, GRAPH_AREA = 3 };

// One item typed into the wizard's input step.
struct GraphRow {
    std::string label;
    std::string dataText;
    float value = 0.0f;
    // The data text is the value as typed (nothing typed into it yet): a pie
    // slice that gets another share than typed shows that share instead.
    bool textFollowsValue = false;
};

constexpr int kGraphMaxItems = 100;
constexpr int kGraphRowsPerPage = 5;
// Longest chart name a new chart takes (as the view's object names).
constexpr size_t kGraphMaxNameChars = 127;

// "Bar Graph" ... "Area Graph"; "" for another type.
const char* GraphTypeCaption(int type);
// "BarGraph" ... "AreaGraph"; "" for another type.
const char* GraphDefaultName(int type);
// The value column's caption: "Percent" for pie, "Height" otherwise.
const char* GraphValueCaption(int type);
// The least number of items: 1 for bar and pie, 2 for line and area.
int GraphMinCount(int type);
// A count brought into GraphMinCount(type) .. kGraphMaxItems.
int GraphClampCount(int type, int count);
// Index of the input step's last page: ceil(count / 5) - 1.
int GraphLastPage(int count);
// Whether row r (0..4) of page p holds an item.
bool GraphRowUsed(int page, int row, int count);

// The name itself when no object has it, else the name followed by the first
// free "%03d" number from 1; "" when all 999 are taken.
std::string UniqueObjectName(const pnScene& scene, const std::string& name);
// The first free "StringP%03d" text style name from 1; "" when all are taken.
std::string UniqueStyleName(const pnScene& scene);

// A pie's slice values from the typed rows, one per row, never more than 100
// in all: each row takes its percent within what the rows before it left
// (the one that would pass 100 gets the rest, and the rows after it none);
// rows left at 0 before that, which a slice cannot take, share what the
// typed rows leave. A row that gets 0 makes no slice.
std::vector<float> PieSliceValues(const std::vector<GraphRow>& rows);

// A chart of the type from the rows, named (made unique), with its part
// models, materials from the end of the scene's material list and two new
// "Arial" text styles, which are added to the scene; the chart itself is not.
// Null, with nothing added, when nothing can be made (no rows, an unknown
// type, no free name or styles, a name too long).
std::unique_ptr<pnChart> BuildGraph(pnScene& scene, int type, const std::string& name,
                                    const std::vector<GraphRow>& rows);
// Builds a chart of the type from the rows, names it (made unique), gives it
// its part models, materials from the end of the scene's material list and
// two new "Arial" text styles, adds it with its event to the scene and builds
// its nodes where the scene has a scene graph. Returns the chart, or nullptr
// when nothing was made (no rows, an unknown type, no free name or style).
pnObject* CreateGraph(pnScene& scene, int type, const std::string& name, const std::vector<GraphRow>& rows);

// The three steps of the new-graph wizard, each run modally by its dialog.
class GraphWizardSteps {
public:
    enum Result { NEXT, BACK, CANCEL };
    virtual ~GraphWizardSteps() = default;
    // The type step: NEXT with the type, or CANCEL.
    virtual Result RunType(int& type) = 0;
    // The name step on a fresh dialog: NEXT with the name and count, or BACK.
    virtual Result RunName(int type, std::string& name, int& count) = 0;
    // The input step on fresh rows: NEXT with the rows, BACK or CANCEL.
    virtual Result RunInput(int type, int count, std::vector<GraphRow>& rows) = 0;
};
struct GraphWizardResult {
    int type = GRAPH_BAR;
    std::string name;
    int count = 0;
    std::vector<GraphRow> rows;
};
// Runs the steps: Back from the name step returns to the type step, Back
// from the input step to the name step; Cancel on the type or input step
// ends. True with the result after the input step's OK.
bool RunGraphWizard(GraphWizardSteps& steps, GraphWizardResult& result);

// The shape choosers' pictures, in the order shown: the cut shapes of a bar
// (kind 1) or line (kind 2) chart, or the joint shapes. Names without folder
// or extension.
std::vector<std::string> CutShapeNames(int kind);
std::vector<std::string> JointShapeNames();
// The model that a picture stands for: its file with the last three
// characters replaced by "3ds".
std::string ShapeModelOfPicture(const std::string& picture);
// A model path as a chart stores it: relative to the program folder when it
// lies below it ("ChartSlices/heart.3ds"), else whole. The folder must be
// followed by a separator in the path to count.
std::string StoredShapePath(const std::string& startDir, const std::string& path);

// The rows of the wizard's input step, shown five to a page. Every item's
// data text follows its value until the data text is edited.
class CGraphInputRows {
public:
    // Empty rows for count items (kept within 1..kGraphMaxItems), page 0.
    void Start(int type, int count);
    int GetCount() const { return m_nCount; }
    int GetPage() const { return m_nPage; }
    int GetLastPage() const { return GraphLastPage(m_nCount); }
    // Turn the page; false (and no change) at either end.
    bool PrevPage();
    bool NextPage();
    // Row r (0..4) of the page shown.
    bool RowUsed(int r) const { return GraphRowUsed(m_nPage, r, m_nCount); }
    const GraphRow& Row(int r) const;
    bool Follows(int r) const;
    void CommitLabel(int r, const std::string& text);
    void CommitDataText(int r, const std::string& text);
    // Reads a typed value; pie and area take 0 for a negative one. Returns
    // the text the value edit shows afterwards (and the data text, while it
    // follows).
    std::string CommitValue(int r, const std::string& text);
    // The first count rows.
    std::vector<GraphRow> GetRows() const;

private:
    int item(int r) const;
    int m_nType = GRAPH_BAR;
    int m_nCount = 0;
    int m_nPage = 0;
    GraphRow m_rows[kGraphMaxItems];
    bool m_bFollow[kGraphMaxItems] = {};
};

// How the scene reader reads a chart block: the chart kinds live in a layer
// above the scene, which hands each block to the kind's own key reader.
#pragma once

#include <memory>
#include <string>

class pnObject;
class pnChartDataPt;

// What the scene reader offers a chart kind while one chart block is read:
// the block's message prefix and the name look-ups of the file being read.
class pnChartReadContext {
public:
    explicit pnChartReadContext(const char* namePrefix) : prefix(namePrefix) {}
    // Such as "[pnScene::readBarChart] ".
    const char* getPrefix() const { return prefix; }
    // True when the scene, with what the file defined so far, has a material
    // (text style) of that name; else reports "Material not found: " ("String
    // material not found: ") and the name with the prefix, and false.
    bool knownMaterial(const std::string& name) const;
    bool knownStringProperty(const std::string& name) const;
    // Reports message and text with the prefix on the diagnostic stream.
    void report(const char* message, const std::string& text) const;

private:
    const char* prefix;
};

// Reads one chart block. The chart kinds live in a layer above the scene:
// that layer installs a maker of these readers (pnScene::setChartBlockReaders)
// and the scene reader keeps the block's structure, the common object fields
// and the "data" blocks, and hands the kind its own keys.
class pnChartBlockReader {
public:
    virtual ~pnChartBlockReader() = default;
    // The chart being read; the reader owns it until finish.
    virtual pnObject* getChart() = 0;
    // The key at the lexer's current token: reads it and its value and gives
    // true, or gives false, consuming nothing, for a key the kind does not
    // take.
    virtual bool readKey(pnChartReadContext& context) = 0;
    // A point read from a "data" block; no part is made.
    virtual void addDataPt(const pnChartDataPt& point) = 0;
    // At the closing brace: applies the settings that depend on one another
    // and hands the chart to the caller.
    virtual pnObject* finish() = 0;
};

// A reader for the block of keyword (SYM_BAR_CHART, SYM_PIE_CHART,
// SYM_LINE_CHART or SYM_VOLUME_CHART), or null for a kind it does not read.
using pnChartBlockReaderMaker = std::unique_ptr<pnChartBlockReader> (*)(int keyword);

// Shared by the bar and line chart tests: a scene that shows one chart of a
// real kind and play comparison.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "charts/pnBarChart.h"
#include "charts/pnLineChart.h"
#include "scene/pnEffect.h"
#include "scene/pnEvent.h"
#include "tests/charts/ChartSceneSupport.h"
#include "tests/support/VecCheck.h"

// Points get values 10, 20, 30, ..., frames 5 to 25 and spacing (80, 0, 0)
// from the second on.
template <class K>
struct KindScene : OneChartScene<K> {
    explicit KindScene(int points = 3) : OneChartScene<K>(new K) {
        for (int i = 0; i < points; ++i) this->add(10.0 * (i + 1), 5, 25, i > 0 ? sgVec3(80, 0, 0) : sgVec3(0, 0, 0));
    }
};

// One expected play.
struct Play {
    std::string effect;
    int start, end, visible;
};

inline std::string describePlays(const pnEvent* ev) {
    if (!ev) return "(no event)";
    std::string s;
    for (int k = 0; k < ev->getNumPlays(); ++k) {
        const pnEventPlay* p = ev->getPlay(k);
        s += "[" + p->effect + " " + std::to_string(p->start) + ".." + std::to_string(p->end) +
             (p->visible ? " shown]" : " hidden]");
    }
    return s.empty() ? "(no plays)" : s;
}

inline void expectPlays(const pnEvent* ev, const std::vector<Play>& want, const char* what) {
    ASSERT_NE(ev, nullptr) << what;
    ASSERT_EQ(ev->getNumPlays(), static_cast<int>(want.size())) << what << ": " << describePlays(ev);
    for (size_t k = 0; k < want.size(); ++k) {
        const pnEventPlay* p = ev->getPlay(static_cast<int>(k));
        EXPECT_EQ(p->effect, want[k].effect) << what << " play " << k;
        EXPECT_EQ(p->start, want[k].start) << what << " play " << k << ": " << describePlays(ev);
        EXPECT_EQ(p->end, want[k].end) << what << " play " << k << ": " << describePlays(ev);
        EXPECT_EQ(p->visible, want[k].visible) << what << " play " << k;
    }
}

// "#" stands for point i's grow effect, "shrink" for its shrink effect.
inline std::vector<Play> forPoint(std::vector<Play> plays, const pnChart& c, int i) {
    for (Play& p : plays) {
        if (p.effect == "#") p.effect = c.generatedName("-%03d", i);
        if (p.effect == "shrink") p.effect = c.generatedName("-shrink-%03d", i);
    }
    return plays;
}

// The plays of every chart event, described.
inline std::vector<std::string> chartPlays(const pnChart& c) {
    std::vector<std::string> plays;
    for (int k = 0; k < c.getNumEvents(); ++k) plays.push_back(describePlays(c.getEvent(k)));
    return plays;
}

// The events of every point but i play as before, and every play names an
// effect the chart holds.
inline void expectOnlyPointChanged(pnChart& c, int i, const std::vector<std::string>& before) {
    for (int k = 0; k < c.getNumEvents(); ++k) {
        int point = -1, which = -1;
        c.findDataPtPart(c.getObject(k), &point, &which);
        if (point != i) {
            EXPECT_EQ(describePlays(c.getEvent(k)), before[static_cast<size_t>(k)]) << k;
        }
    }
    for (int k = 0; k < c.getNumEvents(); ++k)
        for (int p = 0; p < c.getEvent(k)->getNumPlays(); ++p)
            EXPECT_NE(c.findEffect(c.getEvent(k)->getPlay(p)->effect.c_str()), nullptr);
}

// Point i's grow and shrink frames.
inline void expectFrames(const pnChart& c, int i, int start, int end, int shrinkStart, int shrinkEnd) {
    EXPECT_EQ(c.getDataPtStartTime(i), start);
    EXPECT_EQ(c.getDataPtEndTime(i), end);
    EXPECT_EQ(c.getDataPtShrinkStart(i), shrinkStart);
    EXPECT_EQ(c.getDataPtShrinkEnd(i), shrinkEnd);
}

// True when the debug print wrote the two-part message a, b.
inline bool printed(const std::string& log, const std::string& a, const std::string& b) {
    return log.find("TORVIS: " + a + " " + b + "\n") != std::string::npos;
}


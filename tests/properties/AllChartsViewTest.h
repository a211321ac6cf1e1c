// A headless view on the sample scene with one chart of each kind.
#pragma once

#include "charts/pnChart.h"
#include "tests/app/ViewFixture.h"

#include <cstdlib>

class AllChartsViewTest : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        create();
        app.InitSceneServices();
        ASSERT_EQ(view->OnDropFiles({std::string(std::getenv("KELVANO_SOURCE_DIR")) + "/data/scenes/allcharts.apn"}), 1);
    }
    // The chart, made the selection with the document's point.
    pnChart& select(const char* name, int point = -1) {
        auto* chart = static_cast<pnChart*>(scene().findObject(name));
        EXPECT_TRUE(chart) << name;
        view->SelectObject(chart);
        doc->m_nSelectedDataPt = point;
        return *chart;
    }
};

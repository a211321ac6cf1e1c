// The kind table: every kind is made as its row says, each class's kind
// agrees with its type name, and the checked cast takes exactly its kind.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "charts/pnBarChart.h"
#include "charts/pnObjectMaker.h"
#include "charts/pnLineChart.h"
#include "charts/pnPieChart.h"
#include "charts/pnVolumeChart.h"
#include "scene/pnBackground.h"
#include "scene/pnCounter.h"
#include "scene/pnModel.h"
#include "scene/pnObjectKind.h"
#include "scene/pnPanel.h"
#include "scene/pnString.h"
#include "scene/pnVolume.h"

namespace {

// A class's own kind must be the row of the name its getTypeName gives, and
// the table must make one of that class for the name.
template <class T>
void expectKindAgrees(bool chart, pnObjectPage page) {
    T object;
    const std::string name = object.getTypeName();
    EXPECT_EQ(pnKindOf(&object), T::kKind) << name;
    EXPECT_EQ(object.isChart(), chart ? 1 : 0) << name;
    EXPECT_EQ(pnObjectPageOf(&object), page) << name;
    std::unique_ptr<pnObject> made = pnMakeObject(name.c_str());
    ASSERT_NE(made, nullptr) << name;
    EXPECT_EQ(made->getTypeName(), name);
    EXPECT_NE(pnKindCast<T>(made.get()), nullptr) << name;
    EXPECT_EQ(pnIsKind(made.get(), pnObjectKind::Chart), chart) << name;
}

TEST(ObjectKind, EveryKindIsMadeAndKnownByItsOwnName) {
    expectKindAgrees<pnString>(false, pnObjectPage::Text);
    expectKindAgrees<pnPanel>(false, pnObjectPage::Panel);
    expectKindAgrees<pnModel>(false, pnObjectPage::Model);
    expectKindAgrees<pnCounter>(false, pnObjectPage::None);
    expectKindAgrees<pnVolume>(false, pnObjectPage::None);
    expectKindAgrees<pnBackground>(false, pnObjectPage::None);
    expectKindAgrees<pnBarChart>(true, pnObjectPage::Bar);
    expectKindAgrees<pnLineChart>(true, pnObjectPage::Line);
    expectKindAgrees<pnPieChart>(true, pnObjectPage::Pie);
    expectKindAgrees<pnVolumeChart>(true, pnObjectPage::Area);
}

TEST(ObjectKind, ObjectsOfNoKindAreNeitherMadeNorCast) {
    pnObject plain;
    EXPECT_EQ(pnKindOf(&plain), pnObjectKind::None);
    EXPECT_EQ(pnObjectPageOf(&plain), pnObjectPage::None);
    EXPECT_EQ(pnFindObjectKind(&plain), nullptr);
    EXPECT_EQ(pnKindCast<pnChart>(&plain), nullptr);
    EXPECT_EQ(pnKindOf(nullptr), pnObjectKind::None);
    EXPECT_FALSE(pnIsKind(nullptr, pnObjectKind::None));
    // No kind is no kind to be of: a page of no chart type takes nothing.
    EXPECT_FALSE(pnIsKind(&plain, pnObjectKind::None));
    EXPECT_FALSE(pnIsKind(&plain, pnObjectKind::Chart));
    EXPECT_EQ(pnKindCast<pnString>(static_cast<pnObject*>(nullptr)), nullptr);
    for (const char* name : {"pnObject", "pnChart", "", "pnstring", "pnString "})
        EXPECT_EQ(pnMakeObject(name), nullptr) << name;
    EXPECT_EQ(pnMakeObject(nullptr), nullptr);
    EXPECT_EQ(pnFindObjectKind(static_cast<const char*>(nullptr)), nullptr);
}

TEST(ObjectKind, CastTakesExactlyItsKindAndTheChartBaseEveryChart) {
    pnCounter counter;
    pnPieChart pie;
    const pnObject* constPie = &pie;
    // A counter is drawn as text but is no pnString.
    EXPECT_EQ(pnKindCast<pnString>(&counter), nullptr);
    EXPECT_EQ(pnKindCast<pnCounter>(&counter), &counter);
    EXPECT_EQ(pnKindCast<pnChart>(&counter), nullptr);
    EXPECT_EQ(pnKindCast<pnChart>(&pie), &pie);
    EXPECT_EQ(pnKindCast<pnPieChart>(constPie), &pie);
    EXPECT_EQ(pnKindCast<pnBarChart>(&pie), nullptr);
    EXPECT_EQ(pnKindCast<pnVolume>(&pie), nullptr);
    EXPECT_TRUE(pnIsKind(&pie, pnObjectKind::PieChart));
    EXPECT_FALSE(pnIsKind(&pie, pnObjectKind::VolumeChart));
}

}  // namespace

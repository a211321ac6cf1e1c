#include <gtest/gtest.h>

#include "sg/sgList.h"

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {
int a, b, c, d, e;
}

TEST(List, GrowsByDoublingWithZeroedSlots) {
    sgList l;
    EXPECT_EQ(l.getCapacity(), 4);
    EXPECT_EQ(l.getTop(), -1);
    for (int* p : {&a, &b, &c, &d}) EXPECT_EQ(l.append(p), 1);
    EXPECT_EQ(l.getCapacity(), 4);
    EXPECT_EQ(l.append(&e), 1);
    EXPECT_EQ(l.getCapacity(), 8);
    EXPECT_EQ(l.getTop(), 4);
    EXPECT_EQ(l.get(4), &e);
    EXPECT_EQ(l.find(&c), 2);
}

TEST(List, NonPositiveSizeStillAppends) {
    for (int n : {0, -3, 1}) {
        sgList l(n);
        EXPECT_GE(l.getCapacity(), 1);
        for (int i = 0; i < 20; ++i) ASSERT_EQ(l.append(&a), 1);
        EXPECT_EQ(l.getTop(), 19);
    }
}

TEST(List, OutOfRangeAccessPrintsAndFails) {
    sgList l;
    CaptureStderr();
    EXPECT_EQ(l.insert(0, &a), 0);
    EXPECT_EQ(l.get(-1), nullptr);
    l.append(&a);
    EXPECT_EQ(l.get(1), nullptr);
    l.set(3, &b);
    l.removeIndex(-1);
    l.fastRemoveIndex(1);
    EXPECT_EQ(l.remove(&c), -1);
    EXPECT_EQ(l.fastRemove(&c), -1);
    EXPECT_EQ(l.insert(1, &b), 0);  // top + 1 is not an insert position
    EXPECT_EQ(GetCapturedStderr(),
              "MERAK: index out of range [sgList::insert]\n"
              "MERAK: index out of range [sgList::get]\n"
              "MERAK: index out of range [sgList::get]\n"
              "MERAK: index out of range [sgList::set]\n"
              "MERAK: index out of range [sgList::removeIndex]\n"
              "MERAK: index out of range [sgList::fastRemoveIndex]\n"
              "MERAK: element not exist in list [sgList]\n"
              "MERAK: element not exist in list [sgList]\n"
              "MERAK: index out of range [sgList::insert]\n");
    EXPECT_EQ(l.getTop(), 0);
    EXPECT_EQ(l.get(0), &a);
}

TEST(List, InsertRemoveAndReplaceKeepOrder) {
    sgList l;
    l.append(&a);
    l.append(&b);
    l.append(&a);
    EXPECT_EQ(l.insert(1, &c), 1);  // a c b a
    EXPECT_EQ(l.get(1), &c);
    EXPECT_EQ(l.get(2), &b);
    EXPECT_EQ(l.remove(&a), 0);  // only the first occurrence: c b a
    EXPECT_EQ(l.getTop(), 2);
    EXPECT_EQ(l.get(2), &a);
    EXPECT_EQ(l.replace(&b, &d), 1);
    EXPECT_EQ(l.replace(&e, &d), -1);
    l.fastRemoveIndex(0);  // a d
    EXPECT_EQ(l.get(0), &a);
    EXPECT_EQ(l.get(1), &d);
    l.fastRemoveIndex(1);  // last index just shrinks
    EXPECT_EQ(l.getTop(), 0);
    EXPECT_EQ(l.fastRemove(&a), 0);
    EXPECT_EQ(l.getTop(), -1);
    // Inserting many forces growth in the middle of the list.
    l.append(&a);
    for (int i = 0; i < 10; ++i) ASSERT_EQ(l.insert(0, &b), 1);
    EXPECT_EQ(l.getTop(), 10);
    EXPECT_EQ(l.get(10), &a);
}

#include <gtest/gtest.h>

#include "base/ZBaseList.h"

TEST(ZBaseList, AppendsAtTheEndAndNeverOwnsItsValues) {
    ZBaseList list;
    int values[3] = {1, 2, 3};
    for (int& value : values) {
        list.Add(&value);
    }
    ASSERT_EQ(list.GetCount(), 3u);
    for (uint32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(list.GetAt(i), &values[i]);
    }
    EXPECT_EQ(list.GetAt(7), nullptr);
    list.Clear();
    EXPECT_EQ(list.GetCount(), 0u);
    list.Add(&values[2]);
    EXPECT_EQ(list.GetAt(0), &values[2]);
    EXPECT_EQ(values[0], 1);  // clearing left the values alone
}

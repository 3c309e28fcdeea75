#include <gtest/gtest.h>

#include "base/Resources.h"

TEST(Resources, OverridesReplaceHideAndAddResources) {
    ResourceData data;
    OverrideResource(ResourceType::Wave, 9999, {1, 2, 3});
    ASSERT_TRUE(FindResource(ResourceType::Wave, 9999, &data));
    EXPECT_EQ(data.size, 3u);
    EXPECT_EQ(data.bytes[2], 3);
    EXPECT_FALSE(FindResource(ResourceType::Bitmap, 9999, &data));  // types are separate
    OverrideResource(ResourceType::Wave, 9999, {});
    EXPECT_FALSE(FindResource(ResourceType::Wave, 9999, &data));
    ClearResourceOverrides();
    EXPECT_FALSE(FindResource(ResourceType::Wave, 9999, &data));
}

TEST(Resources, EveryListedResourceCanBeFound) {
    for (ResourceType type : {ResourceType::Bitmap, ResourceType::Wave}) {
        for (uint32_t id : ListResources(type)) {
            ResourceData data;
            ASSERT_TRUE(FindResource(type, id, &data)) << id;
            EXPECT_GT(data.size, 0u);
        }
    }
}

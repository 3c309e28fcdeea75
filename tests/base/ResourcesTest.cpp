#include <algorithm>

#include "base/Resources.h"
#include "support/TestSupport.h"

TEST(Resources, EveryListedResourceIsFoundAndOverridesReplaceHideAndAddOnlyTheirOwnType) {
    for (ResourceType type : {ResourceType::Bitmap, ResourceType::Wave}) {
        std::vector<uint32_t> ids = ListResources(type);
        EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
        for (uint32_t id : ids) {
            ResourceData data;
            EXPECT_TRUE(FindResource(type, id, &data) && data.size > 0) << id;
        }
    }
    ResourceData data, wave;
    OverrideResource(ResourceType::Wave, 9999, {1, 2, 3});
    OverrideResource(ResourceType::Bitmap, 102, {});
    ASSERT_TRUE(FindResource(ResourceType::Wave, 9999, &wave));
    EXPECT_EQ(std::vector<uint8_t>(wave.bytes, wave.bytes + wave.size), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(FindResource(ResourceType::Bitmap, 9999, &data) ||
                 FindResource(ResourceType::Bitmap, 102, &data));
    ClearResourceOverrides();
    EXPECT_TRUE(!FindResource(ResourceType::Wave, 9999, &data) &&
                FindResource(ResourceType::Bitmap, 102, &data));
}

#include <gtest/gtest.h>

#include <string>

#include "engine/embedded_table.h"

// Every embedded asset is registered under its path with backslashes and keeps its bytes.
TEST(EmbeddedTable, NamesUseBackslashesAndHoldBytes) {
    for (std::size_t i = 0; i < EmbeddedAssetCount(); ++i) {
        const EmbeddedAsset& asset = EmbeddedAssets()[i];
        ASSERT_NE(asset.name, nullptr);
        EXPECT_EQ(std::string(asset.name).find('/'), std::string::npos) << asset.name;
        EXPECT_GT(asset.end - asset.begin, 0) << asset.name;
    }
}

#include <cstdio>
#include <fstream>

#include "engine/embedded_table.h"
#include "engine_test_support.h"

// Every embedded asset is registered under its path with backslashes and keeps its bytes.
TEST(Resources, EmbeddedAssetsResolveByTheirBackslashName) {
    FillResourceTable();
    for (std::size_t i = 0; i < EmbeddedAssetCount(); ++i) {
        const EmbeddedAsset& asset = EmbeddedAssets()[i];
        ASSERT_NE(asset.name, nullptr);
        EXPECT_EQ(std::string(asset.name).find('/'), std::string::npos) << asset.name;
        EXPECT_GT(asset.end - asset.begin, 0) << asset.name;
        ResourceData data = OpenResource(std::string("incbin::") + asset.name);
        ASSERT_TRUE(data) << asset.name;
        EXPECT_EQ(data.bytes, asset.begin);
        EXPECT_EQ(data.size, static_cast<std::size_t>(asset.end - asset.begin));
    }
    static const unsigned char bytes[] = {1, 2, 3};
    RegisterResource("Gfx\\test\\three.bin", bytes, sizeof(bytes));
    ResourceData three = OpenResource("incbin::Gfx\\test\\three.bin");
    ASSERT_TRUE(three);
    EXPECT_EQ(three.size, 3u);
    EXPECT_EQ(three.bytes[2], 3);
    // The name must match exactly: slashes, case and the prefix all count.
    EXPECT_FALSE(OpenResource("incbin::Gfx/test/three.bin"));
    EXPECT_FALSE(OpenResource("incbin::gfx\\test\\three.bin"));
    EXPECT_FALSE(OpenResource("Gfx\\test\\three.bin")); // without the prefix it is a file path
    EXPECT_FALSE(OpenResource("incbin::"));
    bool listed = false;
    for (const std::string& name : ResourceNames())
        listed |= name == "Gfx\\test\\three.bin";
    EXPECT_TRUE(listed);
    EXPECT_TRUE(UnregisterResource("Gfx\\test\\three.bin"));
    EXPECT_FALSE(UnregisterResource("Gfx\\test\\three.bin"));
    EXPECT_FALSE(OpenResource("incbin::Gfx\\test\\three.bin"));
}

TEST(Resources, OtherPathsOpenFiles) {
    const std::string path = scratchDir() + "/resource.bin";
    {
        std::ofstream out(path, std::ios::binary);
        out << "matter";
    }
    ResourceData data = OpenResource(path);
    ASSERT_TRUE(data);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data.bytes), data.size), "matter");
    std::remove(path.c_str());
    EXPECT_FALSE(OpenResource(path));
    EXPECT_FALSE(OpenResource(scratchDir())); // a directory is not a resource
}

// The committed pictures are still what the generator draws, byte for byte.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ResourceFiles.h"

namespace {

TEST(GeneratedImages, MatchCommittedFilesByteForByte) {
    const std::vector<ResourceFile> files = GenerateResourceFiles();
    ASSERT_EQ(files.size(), 6u);
    for (const ResourceFile& file : files) {
        std::ifstream in(std::string(ZEMLAR_RES_DIR) + "/" + file.name, std::ios::binary);
        const std::vector<std::uint8_t> committed{std::istreambuf_iterator<char>(in), {}};
        EXPECT_TRUE(committed == file.bytes)
            << file.name << " differs; run the regenerate_resources target and commit the pictures";
    }
}

}  // namespace

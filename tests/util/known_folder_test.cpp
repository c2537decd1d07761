#include "util/known_folder.h"

#include <knownfolders.h>

#include <gtest/gtest.h>

#include "util/file_query.h"

TEST(KnownFolder, LocalAppDataIsAPlainExistingFolder) {
    const std::string path = GetKnownFolderPath(FOLDERID_LocalAppData);
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.rfind("\\\\?\\", 0), std::string::npos) << path;
    EXPECT_NE(path.back(), '\\') << path;
    EXPECT_TRUE(PathExists(path)) << path;
}

TEST(KnownFolder, UnknownIdentifierGivesEmpty) {
    const KNOWNFOLDERID unknown = {0x3c1a6f52, 0x0d4e, 0x4b7a, {0x91, 0x2e, 0x5f, 0x60, 0x7a, 0x11, 0x22, 0x33}};
    EXPECT_EQ(GetKnownFolderPath(unknown), "");
}

// Linux only: a folder named through a symbolic link.
#include "cli/cli_catalog_location.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace mirelon {
namespace {

TEST(CliCatalogLocation, LinksInAFolderPathAreResolved) {
    test::TTempFolder folder;
    std::filesystem::create_directory(folder / "real");
    std::filesystem::create_directory_symlink(folder / "real", folder / "link");
    EXPECT_EQ(CanonicalFolderPath(folder / "link/"),
              std::filesystem::canonical(folder.Path()).string() + "/real");
}

} // namespace
} // namespace mirelon

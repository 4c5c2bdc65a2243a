// tests/documents/TestFolders.h -- temporary user folders for the whole test program
#pragma once

#include "tests/support/TemporaryHome.h"

#include <gtest/gtest.h>

#include <string>

namespace stellik::testing {

std::string ScratchFolder(); // ends in "/"; for files the tests write directly

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& content);

// Every test starts from empty folders, as on a user's first start.
class TFreshFoldersTest : public ::testing::Test {
protected:
    void SetUp() override;
};

} // namespace stellik::testing

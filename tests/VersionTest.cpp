// The version that Explorer shows in zindral.exe's properties.
#include "tests/e2e/Driver.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include <vector>

namespace {

TEST(VersionResource, ZindralIsVersion101OfProductZindral)
{
    const char* path = e2e::ZindralExe;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    ASSERT_GT(size, 0u) << path;
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010001u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    // The texts are found through the translation that the file declares.
    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, 4u);
    auto text = [&](const char* name) {
        char query[64];
        std::snprintf(query, sizeof(query), "\\StringFileInfo\\%04x%04x\\%s", translation[0], translation[1], name);
        char* value = nullptr;
        UINT valueLength = 0;
        bool found = VerQueryValueA(data.data(), query, reinterpret_cast<void**>(&value), &valueLength);
        return std::string(found ? value : "(none)");
    };
    EXPECT_EQ(text("ProductName"), "Zindral");
    EXPECT_EQ(text("FileVersion"), "1.01");
    EXPECT_EQ(text("ProductVersion"), "1.01");
    EXPECT_EQ(text("CompanyName"), "Orvane");
    EXPECT_EQ(text("OriginalFilename"), "zindral.exe");
}

}

// The software packages of the program folder: which files the loader lists
// for a kind of units and a language, and how they unpack, zip archives and
// self-extracting ones.
#include "SoftwarePackage.h"
#include "TempFolder.h"
#include "line/loader/SoftwareLoader.h"
#include "line/loader/SoftwarePackages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using bvtest::TempFolder;

TEST(SoftwarePackageNames, KindLanguageAndLengthDecide)
{
    struct Case {
        const char* file;
        int kind;
        const char* language;
        bool listed;
        bool exe;
    };
    const Case cases[] = {
        {"CU-NO1234.ZIP", 2, "", true, false},
        {"CU-NO1234.ZIP", 3, "", true, false},
        {"CU-NO1234.ZIP", 1, "NO", false, false},
        {"CU-NO1234.ZIP", 0, "NO", true, false},
        {"DU-NO0208.exe", 1, "NO", true, true},  // any letter case
        {"DU-NO0208.ZIP", 1, "SE", false, false},
        {"DU-SE0208.ZIP", 1, "SE", true, false},
        {"SE-DU0208.ZIP", 1, "SE", false, false},  // the language from the fourth character on
        {"DU-NO1.ZIP", 1, "", true, false},        // ten characters
        {"DU-NO.ZIP", 1, "", false, false},        // nine
        {"DU-NO12345.ZIP", 1, "", true, false},    // fourteen
        {"DU-NO123456.ZIP", 1, "", false, false},  // fifteen
        {"DU-NO.ZIP.TXT", 1, "", false, false},    // .ZIP inside is not enough
        {"DU-NO0208.RAR", 1, "", false, false},
    };
    for (const Case& c : cases) {
        bool exe = false;
        EXPECT_EQ(IsSoftwarePackage(c.file, c.kind, c.language, &exe), c.listed) << c.file << " " << c.kind;
        if (c.listed)
            EXPECT_EQ(exe, c.exe) << c.file;
    }
}

class SoftwarePackagesTest : public bvtest::InTempFolder {};

TEST_F(SoftwarePackagesTest, ListedInNameOrderAndUnpackedWhole)
{
    std::string image = bvtest::VersionedImage(2, 8, 3, 1);
    ASSERT_TRUE(bvtest::MakeSoftwarePackage("DU-NO0208.ZIP", "Display.s28", image, false));
    ASSERT_TRUE(bvtest::MakeSoftwarePackage("DU-NO0105.EXE", "Display.s28", image + "\r\n", true));
    TempFolder::Write("CU-NO1234.ZIP", "");
    TempFolder::Write("DU-NO0300.ZIP", "not an archive");
    ASSERT_EQ(system("mkdir DU-NO0400.ZIP"), 0);  // a folder is no package

    std::vector<SoftwarePackage> listed = ListSoftwarePackages(".", SoftwareLoader::kDisplayUnits, "NO");
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[0].name, "DU-NO0105");
    EXPECT_TRUE(listed[0].selfExtracting);
    EXPECT_EQ(listed[1].FileName(), "DU-NO0208.ZIP");
    EXPECT_EQ(listed[2].name, "DU-NO0300");

    // Python's reading of the self-extracting package: the same archive.
    int status = -1;
    bvtest::RunPython("import sys, zipfile\nsys.exit(zipfile.ZipFile('DU-NO0105.EXE').testzip() is not None)\n", "",
                      &status);
    EXPECT_EQ(status, 0);

    EXPECT_EQ(UnpackPackage(".", listed[1]), 0);
    EXPECT_EQ(TempFolder::Read("Display.s28"), image);
    EXPECT_EQ(UnpackPackage(".", listed[0]), 0);
    EXPECT_EQ(TempFolder::Read("Display.s28"), image + "\r\n");
    EXPECT_EQ(UnpackPackage(".", listed[2]), 126);
    EXPECT_EQ(TempFolder::Read("Display.s28"), image + "\r\n");
    EXPECT_EQ(UnpackPackage(".", {"DU-NO0999", false}), 126);
    EXPECT_STREQ(ImageFileOfKind(1), "Display.s28");
    EXPECT_STREQ(ImageFileOfKind(2), "Lydskive.s28");
}

TEST(UnitTypeDefaults, WeaponClassAndBandAdvanceFollowTheType)
{
    struct Case {
        int code, weaponClass, frequency, length;
    };
    const Case cases[] = {{8, 1, 5, 5}, {10, 1, 5, 5}, {24, 0, 1, 10}, {26, 0, 1, 10},
                          {1, 2, 20, 10}, {17, 2, 20, 10}, {11, 2, 20, 10}};
    for (const Case& c : cases) {
        SoftwareLoader::SensorDefaults d = SoftwareLoader::DefaultsForUnitType(c.code);
        EXPECT_EQ(d.weaponClass, c.weaponClass) << c.code;
        EXPECT_EQ(d.frequency, c.frequency) << c.code;
        EXPECT_EQ(d.length, c.length) << c.code;
    }
}

}  // namespace

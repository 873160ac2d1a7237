#include "foundation/settings/LanguageTable.h"
#include "platform/system/Codepage.h"
#include "RunCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using bvtest::TempFolder;

// Scrambles a language file the way the programs' files are stored, with a
// few lines of Python, so the reader is checked against an independent
// writer. The lines are given in UTF-8 and stored in Windows-1252.
void WriteLanguageFile(const std::string& path, const std::string& utf8Lines)
{
    TempFolder::Write("lines.txt", utf8Lines);
    int made = -1;
    bvtest::RunPython("import sys; d=open('lines.txt',encoding='utf-8',newline='').read().encode('cp1252'); "
                      "open(sys.argv[1],'wb').write(bytes(b ^ 0x3B for b in d))\n",
                      path, &made);
    ASSERT_EQ(made, 0);
}

class LanguageTableTest : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        WriteLanguageFile("Test.bvt",
                          "Key;;;;NO;DK;SE;EN;DE\r\n"
                          "IDS_COMP_TRAINNAME;a;b;c;Trening;Træning;Träning;Practice;Training\r\n"
                          "IDS_TWO_LINES;;;;To\\nlinjer;To\\nlinjer;Två\\nrader;Two\\nlines;Zwei\\nZeilen\r\n"
                          "IDS_ESCAPES;;;;Kl\\:okke\\tA\\rB;x;x;x;x\r\n"
                          "  IDS_BLANKS  ;;;;  Tekst med blanke  ;x;x; Text ;x\r\n"
                          "IDS_COMP_TRAINNAME;;;;Ikke denne;x;x;Not this one;x\r\n"
                          "IDS_NORWEGIAN_ONLY;;;;Bare norsk\r\n"
                          "IDS_KEY_ONLY\r\n"
                          ";;;;no key;x;x;x;x\r\n"
                          "IDS_EMPTY;;;;;;;;\r\n"
                          "IDS_BACKSLASH;;;;C:\\BV\\;x;x;x;x\r\n");
    }
};

TEST_F(LanguageTableTest, CodesChooseTheirColumn)
{
    struct Case {
        const char* code;
        int column;
        const char* text;  // of IDS_COMP_TRAINNAME, UTF-8
    } cases[] = {
        {"NO", 0, "Trening"}, {"DK", 1, "Træning"}, {"SE", 2, "Träning"}, {"EN", 3, "Practice"},
        {"US", 3, "Practice"}, {"DE", 4, "Training"}, {"no", -1, ""}, {"FI", -1, ""}, {"", -1, ""},
    };
    for (const Case& c : cases) {
        CLanguageTable table;
        EXPECT_EQ(table.Load("Test.bvt", c.code), c.column) << c.code;
        EXPECT_EQ(platform::Cp1252ToUtf8(table.GetText("IDS_COMP_TRAINNAME")), c.text) << c.code;
    }
}

TEST_F(LanguageTableTest, TextsAreTrimmedUnescapedAndTheFirstLineOfAKeyWins)
{
    struct Case {
        const char* code;
        const char* key;
        const char* text;
        bool present;
    } cases[] = {
        {"EN", "IDS_TWO_LINES", "Two\nlines", true},
        {"SE", "IDS_TWO_LINES", "Två\nrader", true},
        {"NO", "IDS_ESCAPES", "Klokke\tA\rB", true},
        {"NO", "IDS_BLANKS", "Tekst med blanke", true},
        {"EN", "IDS_BLANKS", "Text", true},
        {"NO", "IDS_COMP_TRAINNAME", "Trening", true},
        {"NO", "IDS_NORWEGIAN_ONLY", "Bare norsk", true},
        {"DK", "IDS_NORWEGIAN_ONLY", "", false},  // the line ends before the Danish field
        {"NO", "IDS_KEY_ONLY", "", false},
        {"DE", "IDS_EMPTY", "", true},
        {"NO", "IDS_BACKSLASH", "C:\\BV\\", true},  // other backslashes stay
        {"NO", "ids_comp_trainname", "", false},   // keys compare exactly
        {"NO", "", "", false},
        {"NO", "Key", "", false},                  // the header is not an entry
    };
    for (const Case& c : cases) {
        CLanguageTable table;
        ASSERT_GE(table.Load("Test.bvt", c.code), 0);
        EXPECT_EQ(platform::Cp1252ToUtf8(table.GetText(c.key)), c.text) << c.code << " " << c.key;
        EXPECT_EQ(table.Contains(c.key), c.present) << c.code << " " << c.key;
    }
}

TEST_F(LanguageTableTest, MissingEmptyOrUnknownFilesGiveEmptyTexts)
{
    TempFolder::Write("Empty.bvt", "");
    CLanguageTable table;
    ASSERT_EQ(table.Load("Test.bvt", "NO"), 0);
    EXPECT_EQ(table.Load("Missing.bvt", "NO"), -1);  // replaces what was loaded
    EXPECT_EQ(table.GetText("IDS_COMP_TRAINNAME"), "");
    EXPECT_EQ(table.Load("Empty.bvt", "NO"), -1);
    EXPECT_EQ(table.GetText("IDS_COMP_TRAINNAME"), "");
    EXPECT_FALSE(TempFolder::Read("Missing.bvt").size());

    // Switching language at run time replaces the texts.
    ASSERT_EQ(table.Load("Test.bvt", "EN"), 3);
    EXPECT_EQ(table.GetText("IDS_COMP_TRAINNAME"), "Practice");
    ASSERT_EQ(table.Load("Test.bvt", "DE"), 4);
    EXPECT_EQ(table.GetText("IDS_COMP_TRAINNAME"), "Training");
}

// The English texts a program carries built in, for when its file fails.
TEST_F(LanguageTableTest, BuiltInTextsLoadAsEnglish)
{
    const CLanguageTable::Entry entries[] = {
        {"IDS_COMP_TRAINNAME", "Practice"},
        {" IDS_BLANKS ", " Two\\nlines\\: "},
        {"IDS_COMP_TRAINNAME", "Not this one"},
        {"", "no key"},
    };
    CLanguageTable table;
    ASSERT_EQ(table.Load("Test.bvt", "NO"), 0);
    ASSERT_EQ(table.LoadBuiltIn(entries), 3);  // replaces what was loaded
    EXPECT_EQ(table.GetText("IDS_COMP_TRAINNAME"), "Practice");
    EXPECT_EQ(table.GetText("IDS_BLANKS"), "Two\nlines");
    EXPECT_EQ(table.GetCount(), 2);
    EXPECT_EQ(table.LoadBuiltIn({}), -1);
    EXPECT_EQ(table.GetText("IDS_COMP_TRAINNAME"), "");
}

TEST_F(LanguageTableTest, ServesTheScreensAsTheirTextTable)
{
    CLanguageTable table;
    ASSERT_EQ(table.Load("Test.bvt", "SE"), 2);
    platform::SetTextTable(&table);
    EXPECT_EQ(platform::Cp1252ToUtf8(platform::TextOfKey("IDS_COMP_TRAINNAME")), "Träning");
    EXPECT_EQ(platform::TextOfKey("IDS_NOT_THERE"), "");
    platform::SetTextTable(nullptr);
}

TEST_F(LanguageTableTest, LongTextsAreCutAt250)
{
    WriteLanguageFile("Long.bvt", "Key\r\nIDS_LONG;;;;" + std::string(300, 'x') + "\r\n");
    CLanguageTable table;
    ASSERT_EQ(table.Load("Long.bvt", "NO"), 0);
    EXPECT_EQ(table.GetText("IDS_LONG"), std::string(250, 'x'));
}

// A source text as the table hands it out: its escapes \t, \r, \n and \:
// stand for a tab, CR, LF and a colon.
std::string Expanded(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && std::string("trn:").find(text[i + 1]) != std::string::npos) {
            const char next = text[++i];
            out += next == 't' ? '\t' : next == 'r' ? '\r' : next == 'n' ? '\n' : ':';
        } else {
            out += text[i];
        }
    }
    return out;
}

// The language files the build makes from lang/*.txt carry every key of their
// source in all five languages, in Windows-1252.
TEST(LanguageFiles, BuiltFilesCarryEverySourceTextInAllFiveLanguages)
{
    const char* codes[] = {"NO", "DK", "SE", "EN", "DE"};
    for (const char* name : {"BVRange", "BVView", "BVRemote"}) {
        // The main file, then the screens' files of the folder named like it.
        const std::string lang = std::string(BV_SOURCE_DIR) + "/lang/";
        std::vector<std::string> sources = {lang + name + ".txt"};
        std::vector<std::string> screens;
        if (std::filesystem::is_directory(lang + name))
            for (const auto& entry : std::filesystem::directory_iterator(lang + name))
                if (entry.path().extension() == ".txt")
                    screens.push_back(entry.path().string());
        std::sort(screens.begin(), screens.end());
        sources.insert(sources.end(), screens.begin(), screens.end());
        std::string bvt = std::string(BV_BINARY_DIR) + "/lang/" + name + ".bvt";
        CLanguageTable tables[5];
        for (int c = 0; c < 5; ++c)
            ASSERT_EQ(tables[c].Load(bvt, codes[c]), c) << bvt;
        int keys = 0;
        for (const std::string& path : sources) {
            std::ifstream source(path);
            ASSERT_TRUE(source) << path;
            std::string line;
            while (std::getline(source, line)) {
                if (line.find_first_not_of(" \t") == std::string::npos || line[line.find_first_not_of(" \t")] == '#')
                    continue;
                std::vector<std::string> fields;
                std::stringstream split(line);
                for (std::string f; std::getline(split, f, '|');)
                    fields.push_back(f.substr(f.find_first_not_of(' '), f.find_last_not_of(' ') - f.find_first_not_of(' ') + 1));
                ASSERT_EQ(fields.size(), 6u) << line;
                for (int c = 0; c < 5; ++c) {
                    EXPECT_FALSE(fields[c + 1].empty()) << fields[0] << " has no text in " << codes[c];
                    EXPECT_EQ(tables[c].GetText(fields[0]), platform::Utf8ToCp1252(Expanded(fields[c + 1]))) << fields[0];
                }
                ++keys;
            }
        }
        for (int c = 0; c < 5; ++c)
            EXPECT_EQ(tables[c].GetCount(), keys) << name << " " << codes[c];
    }
}

}  // namespace

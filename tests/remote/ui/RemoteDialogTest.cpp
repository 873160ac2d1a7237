// BVRemote's main dialog and its pages driven by control id on the
// off-screen platform, with the scripted prompter; the printed PDFs are
// read back with pdftotext and pdfinfo, and --print runs the program.
#include "remote/ui/BVRemoteDlg.h"
#include "remote/ui/ConfigTab.h"
#include "remote/ui/ExchTab.h"
#include "remote/ui/LanguageTab.h"
#include "remote/ui/NameTab.h"
#include "remote/ui/PrintTab.h"
#include "remote/ui/RemoteText.h"

#include "foundation/ui/grid/GridList.h"

#include "QtApp.h"
#include "RunCommand.h"
#include "TempFolder.h"
#include "tests/remote/RemoteRangeFixture.h"

#include "foundation/files/ConfigItem.h"
#include "foundation/settings/CompSettings.h"
#include "foundation/settings/RangeSettings.h"
#include "platform/system/Codepage.h"
#include "platform/files/ProfileStore.h"
#include "platform/system/TextTable.h"
#include "platform/ui/Controls.h"
#include "platform/ui/ScriptedPrompter.h"
#include "platform/ui/TabCtrl.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using platform::Control;

std::string ReadFileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string PdfText(const std::string& pdf)
{
    return bvtest::RunCommand("pdftotext -layout '" + pdf + "' -");
}

class RemoteDialogTest : public bvtest::InTempFolder {
protected:
    RemoteDialogTest() : scoped(prompter)
    {
        bvtest::QtApp();
        std::filesystem::copy_file(BV_BINARY_DIR "/lang/BVRemote.bvt", folder.File("BVRemote.bvt"));
        RemoteText::SetProfile(&profile);
    }
    ~RemoteDialogTest() override
    {
        platform::SetMainWindow(nullptr);
        dlg.reset();
        RemoteText::SetProfile(nullptr);
        platform::SetTextTable(nullptr);
    }
    // An event on the range folder, chosen as the one remembered.
    void AddEvent(const std::string& rangeFolder)
    {
        RemoteSettings settings;
        settings.Open(RemoteSettings::kFileName);
        int e = settings.AddEvent();
        settings.SetEventName(e, "Stevnet");
        settings.SetEventFolder(e, rangeFolder);
        settings.RememberEvent(e);
        settings.RememberComp(e, 1);
    }
    void Start()
    {
        dlg = std::make_unique<CBVRemoteDlg>();
        dlg->Create();
        platform::SetMainWindow(dlg.get());
        dlg->resize(700, 520);
    }
    platform::TabCtrl* Tabs() { return dynamic_cast<platform::TabCtrl*>(dlg->item(1037).widget()); }

    platform::MemoryProfileStore profile;
    platform::ScriptedPrompter prompter;
    platform::ScopedPrompter scoped;
    std::unique_ptr<CBVRemoteDlg> dlg;
};

TEST_F(RemoteDialogTest, FirstStartTabsCaptionsHelpAndLanguage)
{
    Start();
    EXPECT_TRUE(std::filesystem::exists(folder.File("BVRemote.BVC")));
    EXPECT_TRUE(dlg->Settings().Writable());
    const char* tabs[] = {"Language", "Events", "Print", "Names", "Marking", "Exchange"};
    ASSERT_EQ(Tabs()->GetItemCount(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Tabs()->GetItemText(i), tabs[i]);
    EXPECT_EQ(dlg->windowTitle().toStdString(), "BVRemote - language");
    EXPECT_EQ(dlg->Language().item(1204).check(), 1);  // no stored language: English

    // F1 on a page asks for its own context; on the strip, for the page shown.
    struct HelpCase {
        int page;
        int context;
    };
    for (HelpCase c : {HelpCase{5, 133}, HelpCase{0, 134}, HelpCase{4, 131}}) {
        dlg->ChooseTab(c.page);
        dlg->PageAt(c.page)->WinHelp(static_cast<uint32_t>(dlg->PageAt(c.page)->TemplateId()), 2);
        EXPECT_EQ(dlg->lastHelpTopic, c.context);
        dlg->WinHelp(102, 2);
        EXPECT_EQ(dlg->lastHelpTopic, c.context);
    }
    EXPECT_EQ(dlg->windowTitle().toStdString(), "BVRemote - marking");
    EXPECT_EQ(CBVRemoteDlg::HelpFile("US"), "");
    EXPECT_EQ(CBVRemoteDlg::HelpFile("SE"), "BVRemoteSE.chm");

    // A language click relabels every page and is stored.
    dlg->ChooseTab(0);
    dlg->Language().item(1201).click();
    EXPECT_EQ(profile.GetString("Context", "Language", ""), "NO");
    const char* norsk[] = {"Språk", "Stevner", "Utskrift", "Navn", "Merking", "Overføring"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(platform::Utf8ToCp1252(norsk[i]), Tabs()->GetItemText(i)) << i;
    EXPECT_EQ(dlg->Config().item(1052).text(), "Legg til");
    EXPECT_EQ(dlg->PrintPage().item(1039).text(), "Skriv ut");
    EXPECT_EQ(dlg->NamePage().item(1099).text(), platform::Utf8ToCp1252("Tøm laget"));
    EXPECT_EQ(dlg->Exchange().item(1076).text(), "Lagre");
    EXPECT_EQ(dlg->Exchange().item(1066).itemText(8), "Ingen (lokal redigering)");
    EXPECT_EQ(dlg->Language().item(1201).text(), "Norsk");  // the radios keep their texts
}

// The About item sits in the dialog's own context menu and opens the About
// box modally, with its texts from the language file; without a text for
// the item there is no menu.
TEST_F(RemoteDialogTest, AboutBoxFromTheContextMenu)
{
    Start();
    dlg->show();
    QApplication::setActiveWindow(dlg.get());
    std::vector<std::string> menu;
    std::string caption, version, copyright;
    bool closed = false;
    QTimer::singleShot(0, [&] {
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(popup, nullptr);
        for (QAction* action : popup->actions())
            menu.push_back(action->text().toStdString());
        QTimer::singleShot(0, [&] {
            auto* about = dynamic_cast<platform::Dialog*>(QApplication::activeModalWidget());
            ASSERT_NE(about, nullptr);
            caption = about->Caption();
            version = about->item(1040).text();
            copyright = about->item(1059).text();
            EXPECT_EQ(about->TemplateId(), 100);
            about->item(platform::IDOK).click();
            closed = true;
        });
        popup->setActiveAction(popup->actions().front());
        QTest::keyClick(popup, Qt::Key_Return);
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20), dlg->mapToGlobal(QPoint(20, 20)));
    QCoreApplication::sendEvent(dlg.get(), &event);
    EXPECT_EQ(menu, std::vector<std::string>{"About BVRemote..."});
    EXPECT_TRUE(closed);
    EXPECT_EQ(caption, "About BVRemote");
    EXPECT_EQ(version, "BVRemote version 1.0");
    EXPECT_EQ(copyright, "Brevandi shooting ranges");

    // A language without texts: no item, so no menu.
    struct NoTexts : platform::TextTable {
        std::string GetText(std::string_view) override { return {}; }
    } empty;
    platform::TextTable* loaded = platform::CurrentTextTable();
    platform::SetTextTable(&empty);
    QCoreApplication::sendEvent(dlg.get(), &event);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    platform::SetTextTable(loaded);
}

TEST_F(RemoteDialogTest, EventListByButtonsAndFields)
{
    Start();
    dlg->ChooseTab(1);
    CConfigTab& config = dlg->Config();
    config.item(1052).click();
    config.ClickRow(0);
    config.item(1053).click();
    config.item(1052).click();
    ASSERT_EQ(config.item(1051).count(), 1);
    EXPECT_EQ(config.item(1051).itemData(0), 2);  // n + 2: the deleted slot stays used
    EXPECT_EQ(config.item(1051).itemText(0), "2");

    // Delete with no row selected: the stop message, nothing changes.
    config.item(1051).setSelection(-1);
    config.item(1053).click();
    ASSERT_EQ(prompter.Questions().size(), 1u);
    EXPECT_EQ(prompter.Questions()[0].text, "Choose an event first.");

    // A folder typed and left by switching the page is saved in pieces.
    config.ClickRow(0);
    std::string path(95, 'x');
    config.item(1055).focus();
    config.item(1055).setText(path);
    dlg->ChooseTab(2);
    EXPECT_EQ(dlg->Settings().EventFolder(2), path);
    EXPECT_EQ(std::string(dlg->Settings().Store().ReadString(3, 2, 573, "?")), std::string(5, 'x'));
    EXPECT_EQ(std::string(dlg->Settings().Store().ReadString(3, 2, 574, "?")), "");
}

TEST_F(RemoteDialogTest, PrintPagePrintsCardsIntoAPdf)
{
    bvtest::RemoteRange range("range");
    range.MakeComp(1, false);
    range.MakeCard(1, 1, 1, "Ola Nordmann", 2, 25, 1000, 2, 1550);
    range.MakeCard(1, 1, 2, "Kari Nordmann", 2, 10, 900);
    AddEvent("range");
    Start();
    dlg->ChooseTab(2);
    CPrintTab& page = dlg->PrintPage();
    EXPECT_EQ(page.item(1009).selection(), 0);
    EXPECT_EQ(page.item(1012).selection(), 0);
    EXPECT_TRUE(page.item(1000).visible());  // lanes with relays
    page.item(1004).setText("1");
    page.item(1006).setText("1");
    page.item(1000).setText("1");
    page.item(1002).setText("2");
    platform::PrinterChoice choice;
    choice.pdfPath = folder.File("cards.pdf");
    prompter.AnswerPrinter(true, choice);
    page.item(1039).click();
    ASSERT_TRUE(std::filesystem::exists(folder.File("cards.pdf"))) << ::testing::PrintToString(prompter.Log());
    std::string text = PdfText(folder.File("cards.pdf"));
    EXPECT_NE(text.find("Ola Nordmann"), std::string::npos) << text;
    EXPECT_NE(text.find("Kari Nordmann"), std::string::npos);
    EXPECT_LT(text.find("Ola Nordmann"), text.find("Kari Nordmann"));
    // Stored per event: the last lane typed is kept.
    EXPECT_EQ(dlg->Settings().Store().ReadInt(32, 1, 535, 0), 2);

    // A competition whose settings cannot be read shows zeros and stores none of them.
    std::filesystem::create_directories(folder.File("range/Comp2"));
    dlg->PrintPage().Boxes().FillCompetitions();
    ASSERT_EQ(page.item(1012).count(), 2);
    page.item(1012).choose(1);
    EXPECT_EQ(page.item(1002).text(), "0");
    EXPECT_EQ(dlg->Settings().Store().ReadInt(32, 1, 535, -1), 2);
    EXPECT_EQ(dlg->Settings().Store().ReadInt(32, 1, 533, -1), -1);

    // No competition chosen: the stop message, nothing printed.
    page.item(1012).setSelection(-1);
    page.item(1039).click();
    EXPECT_EQ(prompter.Questions().back().text, "Choose a competition first.");
}

// What the print page shows follows the kind of print, 1:1 and whether the
// competition uses start numbers.
TEST_F(RemoteDialogTest, PrintPageShowsWhatTheKindOfPrintNeeds)
{
    bvtest::RemoteRange range("range");
    range.MakeComp(1, false);
    range.MakeComp(2, true);
    AddEvent("range");
    Start();
    dlg->ChooseTab(2);
    CPrintTab& page = dlg->PrintPage();
    ASSERT_EQ(page.item(1012).selection(), 0);

    // Shown: series per page, black, practice, start score, 1:1, names,
    // and the zoom group.
    struct Case {
        int radio;
        bool oneToOne;
        bool cardOptions, names, zoom;
    };
    const Case cases[] = {
        {1032, false, true, true, true},   {1032, true, true, true, false}, {1033, false, false, false, false},
        {1034, false, false, true, false}, {1034, true, false, true, false},
    };
    for (const Case& c : cases) {
        page.item(c.radio).click();
        if ((page.item(1038).check() != 0) != c.oneToOne)
            page.item(1038).click();
        for (int id : {1014, 1015, 1048, 1018, 1019, 1035, 1038})
            EXPECT_EQ(page.item(id).visible(), c.cardOptions) << c.radio << " " << c.oneToOne << " " << id;
        EXPECT_EQ(page.item(1020).visible(), c.names) << c.radio;
        for (int id : {1050, 1021, 1026, 1031})
            EXPECT_EQ(page.item(id).visible(), c.zoom) << c.radio << " " << c.oneToOne << " " << id;
    }
    EXPECT_EQ(dlg->Settings().Store().ReadInt(32, 1, 4, -1), 2);  // the kind is stored, 1:1 is not
    EXPECT_TRUE(page.item(1000).visible());
    EXPECT_EQ(page.item(1046).text(), "From relay:");

    // Start numbers: no lanes; the kind and 1:1 stay as they were.
    page.item(1012).choose(1);
    for (int id : {1000, 1001, 1002, 1003, 1044, 1045})
        EXPECT_FALSE(page.item(id).visible()) << id;
    EXPECT_EQ(page.item(1046).text(), "From start no.:");
    EXPECT_EQ(page.item(1034).check(), 1);
    EXPECT_EQ(page.item(1038).check(), 1);
}

// The name page's grid as the secretary uses it: a click makes a cell
// current, another opens its editor; Enter ends the edit (the editor it
// opens on the next cell is left with Escape).
QWidget* OpenEditor(CGridList& grid, int row, int column)
{
    QWidget* rows = grid.viewport();
    QPoint at = grid.CellRect(row, column).center();
    QTest::mouseClick(rows, Qt::LeftButton, Qt::NoModifier, at);
    if (!grid.EditorWindow())
        QTest::mouseClick(rows, Qt::LeftButton, Qt::NoModifier, at);
    return grid.EditorWindow();
}

void TypeInto(CGridList& grid, int row, int column, const std::string& text)
{
    QWidget* editor = OpenEditor(grid, row, column);
    ASSERT_NE(editor, nullptr) << row << "," << column;
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, QString::fromLatin1(text.c_str()));
    QTest::keyClick(editor, Qt::Key_Return);
    if (QWidget* next = grid.EditorWindow())
        QTest::keyClick(next, Qt::Key_Escape);
    EXPECT_EQ(grid.EditorWindow(), nullptr);
}

TEST_F(RemoteDialogTest, NamesAreCorrectedInTheGridOnlyWhereTheRangeKeepsThem)
{
    bvtest::RemoteRange range("range");
    {
        CBVConfig settings;
        settings.Open("range\\BVLeder.BVC", 1);
        ChannelSetting channel{1, 1, 4};
        WriteItem(settings, RangeItems::Channel(0), channel.Encode());
    }
    range.MakeComp(1, false);
    {
        CBVConfig comp;
        comp.Open("range\\Comp1\\Comp.Bvc", 1);
        for (int lane = 1; lane <= 3; ++lane)
            WriteItem(comp, CompSettings::LaneActive(lane), 1);
    }
    range.MakeCard(1, 3, 2, "Kari", 2, 0, 0);
    range.MakeCard(1, 3, 1, "Ola", 2, 0, 0);  // relay 3 is now on lane 1
    AddEvent("range");
    Start();
    dlg->show();
    QApplication::setActiveWindow(dlg.get());
    dlg->ChooseTab(3);
    QCoreApplication::processEvents();
    CNameTab& page = dlg->NamePage();
    CGridList& grid = page.Grid();
    ASSERT_EQ(grid.GetItemCount(), 3);
    EXPECT_EQ(grid.m_rowCount, 3);
    EXPECT_EQ(page.item(1093).number(), 3);
    EXPECT_EQ(grid.GetColumnCount(), 6);
    EXPECT_EQ(grid.GetColumnHeader(1), "Name");
    EXPECT_EQ(grid.GetItemText(0, 1), "Ola");
    EXPECT_EQ(grid.GetItemText(1, 2), "Klubben");

    // Results program 8: what is typed goes into the lane's name record.
    TypeInto(grid, 0, 1, "  Nord  Skytter ");
    TypeInto(grid, 0, 5, "12,5");
    TypeInto(grid, 0, 3, "Veteran 65 and older");
    TypeInto(grid, 1, 5, "12");
    EXPECT_EQ(grid.GetItemText(0, 1), "Nord  Skytter");
    EXPECT_EQ(grid.GetItemText(0, 5), "12.50");
    EXPECT_EQ(grid.GetItemText(0, 3), "Veteran 65");
    EXPECT_EQ(grid.GetItemText(0, 4), "");  // the field after the class stays as it was
    EXPECT_EQ(grid.GetItemText(1, 5), "12");
    {
        CDataComp data;
        data.SetBasePath("range\\");
        data.Open(1, 0);
        CardRecord card;
        CDataComp::ClearCard(card);
        card.relay = 3;
        card.lane = 1;
        ASSERT_EQ(data.GetCard(card, 0), 0);
        NameRecord name;
        ASSERT_EQ(data.ReadName(card, name), 0);
        int score = name.startScore;
        EXPECT_EQ(score, 1250);
    }
    std::string bvtool = std::string(BV_BINARY_DIR "/tools/bvtool/bvtool cards ") + folder.File("range") + " 1";
    std::string cards = bvtest::RunCommand(bvtool);
    EXPECT_NE(cards.find("    3    1   18      1     0 Nord  Skytter\n"), std::string::npos) << cards;

    // Lane 3 has no name record: the editor does not open.
    EXPECT_EQ(OpenEditor(grid, 2, 1), nullptr);
    EXPECT_EQ(prompter.Questions().back().text,
              "The lane has no shooter. Create the relay, empty, in the range control first.");
    // Another results program keeps the names: refused, nothing written.
    {
        CBVConfig settings;
        settings.Open("range\\BVLeder.BVC", 1);
        WriteItem(settings, RangeItems::kResultsProgram, 1);
    }
    EXPECT_EQ(OpenEditor(grid, 1, 1), nullptr);
    EXPECT_EQ(prompter.Questions().back().text, "Names cannot be edited for this kind of results program.");
    EXPECT_EQ(grid.GetItemText(1, 1), "Kari");

    // Clearing is always allowed, without a question; the cards stay.
    grid.SelectItem(-1);
    page.item(1100).click();
    EXPECT_EQ(prompter.Questions().back().text, "Choose a shooter first.");
    size_t asked = prompter.Questions().size();
    grid.SelectItem(1);
    page.item(1100).click();
    EXPECT_EQ(grid.GetItemText(1, 1), "");
    EXPECT_EQ(grid.GetItemText(0, 1), "Nord  Skytter");
    page.item(1099).click();
    EXPECT_EQ(grid.GetItemText(0, 1), "");
    EXPECT_EQ(prompter.Questions().size(), asked);
    cards = bvtest::RunCommand(bvtool);
    EXPECT_NE(cards.find("    3    1   18      1     0 \n"), std::string::npos) << cards;
    EXPECT_NE(cards.find("    3    2   18      1     0 \n"), std::string::npos) << cards;
}

TEST_F(RemoteDialogTest, ExchangeParametersSaveWhereTheRangeKeepsThem)
{
    bvtest::RemoteRange range("range");
    range.MakeComp(1, false);
    {
        CBVConfig settings;
        settings.Open("range\\BVLeder.BVC", 1);
        WriteItem(settings, RangeItems::kResultsProgram, 3);
    }
    AddEvent("range");
    Start();
    dlg->ChooseTab(3);  // the name page remembers competition 1 ...
    dlg->ChooseTab(5);  // ... and the exchange page offers it
    CExchTab& page = dlg->Exchange();
    EXPECT_EQ(page.item(1073).selection(), 0);
    EXPECT_EQ(page.item(1066).selection(), 3);
    EXPECT_EQ(page.item(1064).text(), "H1");

    std::string leder = ReadFileText(folder.File("range/BVLeder.BVC"));
    auto cfg = [&](const std::string& file, const std::string& key) {
        return bvtest::RunCommand(std::string(BV_BINARY_DIR "/tools/bvtool/bvtool cfg get ") + folder.File(file) + " " +
                                  key);
    };
    page.item(1064).setText("K7");
    page.item(1076).click();
    EXPECT_EQ(ReadFileText(folder.File("range/BVLeder.BVC")), leder);  // a prefix touches only Comp.Bvc
    EXPECT_EQ(cfg("range/Comp1/Comp.Bvc", "630 1 620"), "K7\n");
    EXPECT_EQ(cfg("range/Comp1/Comp.Bvc", "2 1 13"), "1\n");
    EXPECT_EQ(cfg("range/BVLeder.BVC", "1 1 15"), "3\n");

    // Save and Send need a competition: without one, the error beep and
    // nothing written or sent.
    std::string comp = ReadFileText(folder.File("range/Comp1/Comp.Bvc"));
    page.item(1073).setSelection(-1);
    page.item(1064).setText("Z9");
    size_t asked = prompter.Questions().size();
    page.item(1076).click();
    page.item(1071).click();
    ASSERT_EQ(prompter.Questions().size(), asked + 2);
    for (size_t i = asked; i < asked + 2; ++i)
        EXPECT_EQ(prompter.Questions()[i].kind, platform::QuestionKind::Beep);
    EXPECT_EQ(ReadFileText(folder.File("range/Comp1/Comp.Bvc")), comp);
    EXPECT_EQ(ReadFileText(folder.File("range/BVLeder.BVC")), leder);
    page.item(1073).choose(0);
    EXPECT_EQ(page.item(1064).text(), "K7");

    page.item(1066).setSelection(0);
    page.item(1063).setText("C:\\Office");
    page.item(1076).click();
    ExchangeParameters p = ExchangeParameters::Load("range\\", 1);
    EXPECT_EQ(p.resultsProgram, 0);
    EXPECT_EQ(p.officeFolder, "C:\\Office\\BV\\");
    EXPECT_EQ(page.item(1063).text(), "C:\\Office\\BV\\");

    // Send relays 3 to 5 into the range's exchange folder, and say how it went.
    {
        CBVConfig settings;
        settings.Open("range\\BVLeder.BVC", 1);
        WriteItem(settings, RangeItems::Channel(0), ChannelSetting{1, 1, 4}.Encode());
        CBVConfig comp;
        comp.Open("range\\Comp1\\Comp.Bvc", 1);
        WriteItem(comp, CompSettings::LaneActive(1), 1);
    }
    for (int relay = 2; relay <= 6; ++relay)
        range.MakeCard(1, relay, 1, "Relay " + std::to_string(relay), 2, 5, 1000);
    // A relative office folder lies in the range folder, as for the range control.
    std::filesystem::create_directories(folder.File("range/office"));
    page.item(1063).setText("office\\BV");
    page.item(1076).click();
    std::filesystem::create_directories(folder.File("range/office/BV"));
    page.item(1083).setNumber(3);
    page.item(1087).setNumber(5);
    page.item(1071).click();
    EXPECT_EQ(prompter.Questions().back().text, "The results were sent.") << ::testing::PrintToString(prompter.Log());
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder.File("range/office/BV")))
        files.push_back(entry.path().filename().string());
    EXPECT_EQ(files.size(), 3u) << ::testing::PrintToString(files);
}

TEST(ExchangeFolders, BVResFolderEndsInBV)
{
    EXPECT_EQ(ExchangeParameters::BVResFolder("C:\\Office"), "C:\\Office\\BV\\");
    EXPECT_EQ(ExchangeParameters::BVResFolder("C:\\Office\\"), "C:\\Office\\BV\\");
    EXPECT_EQ(ExchangeParameters::BVResFolder("C:\\Office\\BV\\"), "C:\\Office\\BV\\");
    EXPECT_EQ(ExchangeParameters::BVResFolder("C:\\Office\\bv\\"), "C:\\Office\\bv\\BV\\");
}

class PrintCommandTest : public bvtest::InTempFolder {
protected:
    PrintCommandTest()
    {
        std::filesystem::copy_file(BV_BINARY_DIR "/lang/BVRemote.bvt", folder.File("BVRemote.bvt"));
        RemoteSettings settings;
        settings.Open(RemoteSettings::kFileName);
        int e = settings.AddEvent();
        settings.SetEventFolder(e, "range");
    }
    std::string Run(const std::string& args, int* rc)
    {
        return bvtest::RunCommand(std::string(BV_BINARY_DIR "/remote/BVRemote --print ") + args + " 2>&1", rc);
    }
    bvtest::RemoteRange range{"range"};
};

TEST_F(PrintCommandTest, StartNumbersShotLogsAndFailures)
{
    range.MakeComp(1, true);
    for (int n = 4; n <= 8; ++n)
        range.MakeCard(1, n, 1, "Nr " + std::to_string(n), 2, 5, 1000);
    range.MakeComp(2, false);
    for (int relay = 1; relay <= 2; ++relay)
        for (int lane = 1; lane <= 3; ++lane)
            range.MakeCard(2, relay, lane, "Skytter", 2, relay * 10 + lane, 1000);
    std::string before = ReadFileText(folder.File("BVRemote.BVC"));

    int rc = -1;
    std::string out = Run("1 1 sn.pdf --relays 5-7 --lanes 1-10", &rc);
    EXPECT_EQ(rc, 0) << out;
    EXPECT_EQ(out, "card 5 0 5 " + folder.File("sn.pdf") + "\ncard 6 0 5 " + folder.File("sn.pdf") + "\ncard 7 0 5 " +
                       folder.File("sn.pdf") + "\n");
    std::string text = PdfText(folder.File("sn.pdf"));
    EXPECT_NE(text.find("Nr 6"), std::string::npos);
    EXPECT_EQ(text.find("Nr 4"), std::string::npos);

    out = Run("1 2 log.pdf --kind log --relays 1-2 --lanes 1-3", &rc);
    EXPECT_EQ(rc, 0) << out;
    std::vector<std::string> lines;
    for (size_t at = 0; at < out.size();) {
        size_t end = out.find('\n', at);
        lines.push_back(out.substr(at, end - at));
        at = end + 1;
    }
    ASSERT_EQ(lines.size(), 6u) << out;
    EXPECT_EQ(lines[0], "card 1 1 11 " + folder.File("log.pdf"));
    EXPECT_EQ(lines[5], "card 2 3 23 " + folder.File("log-6.pdf"));
    for (int n = 1; n <= 6; ++n) {
        std::string file = n == 1 ? folder.File("log.pdf") : folder.File("log-" + std::to_string(n) + ".pdf");
        EXPECT_NE(bvtest::RunCommand("pdfinfo '" + file + "'").find("Pages:"), std::string::npos) << file;
    }

    out = Run("1 2 list.pdf --kind list --relays 1-1 --lanes 1-3", &rc);
    EXPECT_EQ(rc, 0) << out;
    EXPECT_NE(PdfText(folder.File("list.pdf")).find("Skytter"), std::string::npos);

    // Failures: one line on standard error, exit 1; nothing stored changes.
    struct Case {
        const char* args;
        const char* message;
    };
    const Case failures[] = {
        {"9 1 x.pdf", "no event 9"},
        {"1 5 x.pdf", "no competition 5"},
        {"1 2 x.pdf --relays 7-8", "no card"},
        {"1 2 /nonexistent/x.pdf --relays 1-1", "not written"},
    };
    for (const Case& c : failures) {
        out = Run(c.args, &rc);
        EXPECT_EQ(rc, 1) << c.args;
        EXPECT_NE(out.find(c.message), std::string::npos) << c.args << ": " << out;
    }
    EXPECT_EQ(ReadFileText(folder.File("BVRemote.BVC")), before);
}

}  // namespace

namespace {

// Send on the demo range from BVRemote's own folder beside it: the range's
// exchange folder "BV" is the range's, not BVRemote's; without it, the
// message names a log that BVRemote wrote.
TEST_F(RemoteDialogTest, SendOnTheDemoWritesIntoTheRangesExchangeFolder)
{
    int status = -1;
    bvtest::RunCommand("'" BV_SOURCE_DIR "/scripts/demo-folder.sh' '" BV_BINARY_DIR "' demo", &status);
    ASSERT_EQ(status, 0);
    bvtest::TempFolder::Write("shots.txt", "1 1 1 9.5 1.0 2.0\n1 2 1 8.7 -3.0 4.5\n1 3 1 10.2 0.5 0.5\n");
    bvtest::RunCommand(BV_BINARY_DIR "/tools/bvtool/bvtool shots add demo 1 shots.txt", &status);
    ASSERT_EQ(status, 0);
    AddEvent(folder.File("demo"));
    Start();
    dlg->ChooseTab(3);
    dlg->ChooseTab(5);
    CExchTab& page = dlg->Exchange();
    EXPECT_EQ(page.item(1063).text(), "BV");
    page.item(1083).setNumber(1);
    page.item(1087).setNumber(1);
    auto listed = [](const std::string& path) {
        std::vector<std::string> names;
        if (std::filesystem::exists(path))
            for (const auto& entry : std::filesystem::directory_iterator(path))
                names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    page.item(1071).click();
    EXPECT_EQ(prompter.Questions().back().text, "The results were sent.") << ::testing::PrintToString(prompter.Log());
    std::vector<std::string> sent;
    for (int lane = 1; lane <= 10; ++lane)
        sent.push_back(lane < 10 ? "H1R0010" + std::to_string(lane) + ".txt" : "H1R00110.txt");
    EXPECT_EQ(listed(folder.File("demo/BV")), sent);
    EXPECT_EQ(listed(folder.File("BV")), std::vector<std::string>{});

    std::filesystem::remove_all(folder.File("demo/BV"));
    page.item(1071).click();
    EXPECT_EQ(prompter.Questions().back().text, "The results could not be sent (see the log).");
    const std::string log = ReadFileText(folder.File("BVLog.txt"));
    EXPECT_NE(log.find("cannot write in " + folder.File("demo") + "\\BV\\"), std::string::npos) << log;
}

// Pictures of the six pages and of a printed card page for the docs.
TEST_F(RemoteDialogTest, Screenshots)
{
    bvtest::RemoteRange range("range");
    {
        CBVConfig settings;
        settings.Open("range\\BVLeder.BVC", 1);
        WriteItem(settings, RangeItems::Channel(0), ChannelSetting{1, 1, 4}.Encode());
        CBVConfig comp;
        range.MakeComp(1, false);
        comp.Open("range\\Comp1\\Comp.Bvc", 1);
        for (int lane = 1; lane <= 4; ++lane)
            WriteItem(comp, CompSettings::LaneActive(lane), 1);
    }
    range.MakeCard(1, 1, 1, "Ola Nordmann", 2, 25, 1000, 2, 1550);
    range.MakeCard(1, 1, 2, "Kari Nordmann", 2, 25, 900);
    AddEvent("range");
    Start();
    dlg->show();
    std::string out = BV_BINARY_DIR "/screens";
    std::filesystem::create_directories(out);
    const char* names[] = {"language", "config", "print", "name", "mark", "exchange"};
    for (int i = 0; i < 6; ++i) {
        dlg->ChooseTab(i);
        if (i == 1)
            dlg->Config().ClickRow(0);
        QTest::qWait(20);
        EXPECT_TRUE(dlg->grab().toImage().save(QString::fromStdString(out + "/bvremote-" + names[i] + ".png")));
    }
    int rc = -1;
    bvtest::RunCommand(std::string(BV_BINARY_DIR "/remote/BVRemote --print 1 1 ") + folder.File("card.pdf") +
                           " --relays 1-1 --lanes 1-1",
                       &rc);
    ASSERT_EQ(rc, 0);
    bvtest::RunCommand("pdftoppm -png -r 60 -f 1 -l 1 -singlefile '" + folder.File("card.pdf") + "' '" + out +
                       "/bvremote-card'");
    EXPECT_TRUE(std::filesystem::exists(out + "/bvremote-card.png"));
}

}  // namespace

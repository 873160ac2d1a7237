// The pictures page driven by control id: pictures made in free slots and
// deleted, targets added lane after lane, removed and sorted with their
// zoom rings, the kinds of panel and rings chosen in the grid, the HTML
// file, the controls each kind of picture shows, and the highest number.
#include "ConfigDialogFixture.h"

#include <QAbstractButton>

#include <unistd.h>

#include "display/config/EventSlots.h"
#include "display/ui/config/DlgPict.h"
#include "foundation/ui/grid/GridList.h"

namespace bvtest {
namespace {

using Page = CVisConfigFiles::Page;
using D = CDlgPict;

class PicturesPageTest : public ConfigDialogTest {
protected:
    // Two events, then the dialog on the pictures page.
    void OpenWithEvents()
    {
        {
            CVisConfigFiles files;
            files.Open();
            EventSlots::New(files.Settings());
            EventSlots::New(files.Settings());
            EventSlots::SaveName(files.Settings(), 2, "Finale");
        }
        Open(Page::kPictures);
    }
    CDlgPict& page() { return dlg->Pictures(); }
    platform::Control list() { return page().item(D::IDC_LIST); }
    // Picks a target's cell in the grid and ends the edit as Enter does.
    void EditRings(int row, const std::string& ticked)
    {
        CGridList& g = page().Grid();
        ASSERT_NE(g.EditCell(row, D::kColRings), nullptr);
        CGridColumn& rings = *g.Column(D::kColRings);
        for (int k = 0; k < 11; ++k)
            rings.m_checks[static_cast<size_t>(k)] = ticked.find("0123456789X"[k]) != std::string::npos;
        ASSERT_NE(g.EditorWindow(), nullptr);
        QTest::keyClick(g.EditorWindow(), Qt::Key_Return);
        QApplication::processEvents();
    }
    void ChooseView(int row, const char* typed)
    {
        CGridList& g = page().Grid();
        ASSERT_NE(g.EditCell(row, D::kColView), nullptr);
        ASSERT_NE(g.EditorWindow(), nullptr);
        QTest::keyClicks(g.EditorWindow(), typed);
        QTest::keyClick(g.EditorWindow(), Qt::Key_Return);
        QApplication::processEvents();
    }
    std::string Lanes()
    {
        std::string s;
        CGridList& g = page().Grid();
        for (int r = 0; r < g.GetItemCount(); ++r)
            s += g.GetItemText(r, 0) + "/" + g.GetItemText(r, 1) + "/" + g.GetItemText(r, 3) + " ";
        return s;
    }
};

TEST_F(PicturesPageTest, PicturesTakeFreeSlotsAndStayWhileInAProfile)
{
    OpenWithEvents();
    for (int i = 0; i < 3; ++i)
        page().item(D::IDC_NEW).click();
    ASSERT_EQ(list().count(), 3);
    EXPECT_EQ(list().itemText(1, 0), "<Nr2>");
    EXPECT_EQ(list().itemText(1, 1), "No");

    // Picture 2 becomes an HTML page with the clock, then goes; a new
    // picture takes its slot and none of what it had.
    ClickRow(list(), 1);
    page().item(D::IDC_CLOCK).click();
    page().item(D::IDC_TYPE2).click();
    ExpectItems({B(2, 31, 1, 2, "2"), B(2, 31, 1, 9, "1")});
    page().item(D::IDC_DELETE).click();
    ExpectItems({V(31, 1, 530, "3"), V(31, 2, 680, "0"), B(2, 31, 1, 500, "")});
    EXPECT_EQ(list().count(), 2);
    EXPECT_EQ(page().item(D::IDC_NAME).text(), "");
    page().item(D::IDC_NEW).click();
    ExpectItems({V(31, 1, 530, "3"), V(31, 2, 680, "1"), B(2, 31, 1, 500, "<Nr2>"), B(2, 31, 1, 2, "<none>"),
                 B(2, 31, 1, 9, "<none>"), B(2, 504, 1, 4, std::to_string(0x00FF00))});

    // The last slot lowers the count.
    ClickRow(list(), 2);
    page().item(D::IDC_DELETE).click();
    ExpectItems({V(31, 1, 530, "2"), V(31, 3, 680, "0")});

    // A picture in a profile is not deleted; delete without a selection asks
    // for one.
    dlg->Files().Settings().WriteInt(31, 1, 1, 1);
    page().OnShown();
    EXPECT_EQ(list().itemText(0, 1), "Yes");
    ClickRow(list(), 0);
    page().item(D::IDC_DELETE).click();
    list().setSelection(-1);
    page().item(D::IDC_DELETE).click();
    EXPECT_EQ(Messages(), (std::vector<std::string>{"The picture is in a profile and cannot be deleted.",
                                                    "Choose the picture to delete."}));
    EXPECT_EQ(prompter.Questions()[0].buttons, platform::MessageButtons::OkCancel);
    EXPECT_EQ(prompter.Questions()[1].icon, platform::MessageIcon::Stop);
    ExpectItems({V(31, 1, 680, "1"), B(1, 31, 1, 500, "<Nr1>")});

    // The name, written when it changed.
    ClickRow(list(), 0);
    TypeAndLeave(page().item(D::IDC_NAME), "Skiver 1-10", list());
    EXPECT_EQ(Pict(1, 31, 1, 500), "Skiver 1-10");
    EXPECT_EQ(list().itemText(0, 0), "Skiver 1-10");
}

TEST_F(PicturesPageTest, TargetsMoveWithTheirRings)
{
    OpenWithEvents();
    page().item(D::IDC_NEW).click();
    ClickRow(list(), 0);
    platform::Control lanes = page().item(D::IDC_LANES);
    ASSERT_EQ(lanes.count(), 100);
    EXPECT_EQ(lanes.itemText(99, 0), "100");
    ClickRow(lanes, 4);
    for (int i = 0; i < 3; ++i)
        page().item(D::IDC_ADD).click();
    DoubleClickRow(lanes, 99);
    EXPECT_EQ(Lanes(), "5/Hold 1/0123456789X 6/Hold 1/0123456789X 7/Hold 1/0123456789X 100/Hold 1/0123456789X ");
    EXPECT_EQ(page().item(D::IDC_COUNT).text(), "4");
    ExpectItems({B(1, 31, 1, 530, "4"), B(1, 503, 1, 1, "5"), B(1, 503, 1, 2, "6"), B(1, 503, 1, 3, "7"),
                 B(1, 503, 1, 4, "100"), B(1, 502, 1, 3, "1"), B(1, 500, 3, 640, "0")});

    // Rings 9 and X on the third target, a list row on the fourth.
    EditRings(2, "9X");
    ChooseView(3, "List");
    ExpectItems({B(1, 500, 3, 700, "9X"), B(1, 500, 4, 640, "2")});
    EXPECT_EQ(page().Grid().GetItemText(3, 2), "List row");

    // Target 2 of 4 goes: the later ones move up with their rings.
    page().Grid().SelectRow(1, 1);
    page().item(D::IDC_REMOVE).click();
    EXPECT_EQ(Lanes(), "5/Hold 1/0123456789X 7/Hold 1/9X 100/Hold 1/0123456789X ");
    ExpectItems({B(1, 31, 1, 530, "3"), B(1, 503, 1, 2, "7"), B(1, 500, 2, 700, "9X"), B(1, 500, 3, 640, "2"),
                 B(1, 503, 1, 4, "0"), B(1, 502, 1, 4, "0"), B(1, 500, 4, 640, "0"), B(1, 500, 4, 700, "0123456789X")});
    EXPECT_EQ(page().Grid().GetSelectedItem(), 1);

    // A lane of the other event and a low lane of the first, then sorted:
    // by event, kind of panel and lane, each with its rings.
    page().item(D::IDC_EVENT).choose(1);
    ClickRow(lanes, 1);
    page().Grid().SelectItem(-1);
    page().item(D::IDC_ADD).click();
    page().item(D::IDC_EVENT).choose(0);
    ClickRow(lanes, 2);
    page().Grid().SelectItem(-1);
    page().item(D::IDC_ADD).click();
    page().item(D::IDC_SORT).click();
    EXPECT_EQ(Lanes(), "3/Hold 1/0123456789X 5/Hold 1/0123456789X 7/Hold 1/9X 100/Hold 1/0123456789X 2/Finale/0123456789X ");
    ExpectItems({B(1, 503, 1, 1, "3"), B(1, 500, 3, 700, "9X"), B(1, 500, 4, 640, "2"), B(1, 502, 1, 5, "2")});

    // A selected target sets the event box; copy to next takes its kind and
    // rings down.
    page().Grid().SelectRow(4, 1);
    EXPECT_EQ(page().item(D::IDC_EVENT).selection(), 1);
    page().Grid().SelectRow(2, 1);
    EXPECT_EQ(page().item(D::IDC_EVENT).selection(), 0);
    page().item(D::IDC_CLONE).click();
    EXPECT_EQ(page().Grid().GetSelectedItem(), 3);
    ExpectItems({B(1, 500, 4, 700, "9X"), B(1, 500, 4, 640, "0"), B(1, 503, 1, 4, "100")});

    // Nothing selected: the messages.
    page().Grid().SelectItem(-1);
    page().item(D::IDC_REMOVE).click();
    list().setSelection(-1);
    page().item(D::IDC_ADD).click();
    page().item(D::IDC_CLASS).click();
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Choose the target to remove.", "Choose a picture first.",
                                                    "Choose a picture first."}));
}

TEST_F(PicturesPageTest, KindOfPictureOptionsAndTheHtmlFile)
{
    OpenWithEvents();
    page().item(D::IDC_NEW).click();
    ClickRow(list(), 0);
    // What a picture of targets shows: no HTML file, no export format.
    struct Case {
        int radio;
        const char* type;
        bool html, exportFormat, options, grid, lanes, add;
    };
    const Case cases[] = {
        {D::IDC_TYPE2, "2", true, false, false, false, false, false},
        {D::IDC_TYPE3, "3", false, true, true, true, true, true},
        {D::IDC_TYPE, "0", false, false, true, true, true, true},
    };
    for (const Case& c : cases) {
        page().item(c.radio).click();
        EXPECT_EQ(Pict(1, 31, 1, 2), c.type);
        EXPECT_EQ(page().item(D::IDC_HTML).visible(), c.html) << c.type;
        EXPECT_EQ(page().item(D::IDC_FINDFILE).visible(), c.html) << c.type;
        EXPECT_EQ(page().item(D::IDC_PNG).visible(), c.exportFormat) << c.type;
        EXPECT_EQ(page().item(D::IDC_SHOWPLACE).visible(), c.options) << c.type;
        EXPECT_EQ(page().item(D::IDC_ESTIMATE + 3).visible(), c.options) << c.type;
        EXPECT_EQ(page().item(D::IDC_TARGETS).visible(), c.grid) << c.type;
        EXPECT_EQ(page().item(D::IDC_LANES).visible(), c.lanes) << c.type;
        EXPECT_EQ(page().item(D::IDC_ADD).visible(), c.add) << c.type;
    }
    EXPECT_FALSE(page().item(D::IDC_TYPE1).enabled());

    // Options, export format and what the panels show, on a Nettcast picture.
    page().item(D::IDC_TYPE3).click();
    page().item(D::IDC_SHOWPLACE).click();
    page().item(D::IDC_ONESHOT).click();
    page().item(D::IDC_PNGBIN).click();
    page().item(D::IDC_NAMEONLY).click();
    page().item(D::IDC_SHOTCOUNT).click();
    page().item(D::IDC_ESTIMATE + 3).click();
    page().item(D::IDC_NOFINAL).click();
    ExpectItems({B(1, 31, 1, 6, "1"), B(1, 31, 1, 8, "1"), B(1, 31, 1, 10, "2"),
                 B(1, 31, 1, 531, std::to_string(0x20015 | 0x80)), B(1, 31, 1, 532, "3"), B(1, 31, 1, 533, "1")});

    // A path of 300 characters keeps 270; the file chooser asks with the
    // picture's name, from the program's folder, and leaves it as it was.
    page().item(D::IDC_TYPE2).click();
    std::string path;
    for (int i = 0; i < 300; ++i)
        path += static_cast<char>('a' + i % 26);
    TypeAndLeave(page().item(D::IDC_HTML), "  " + path, list());
    std::vector<Item> pieces;
    for (int k = 0; k < 9; ++k)
        pieces.push_back(B(1, 501, 1, 570 + k, path.substr(30 * k, 30)));
    ExpectItems(pieces);
    char before[4096];
    ASSERT_NE(::getcwd(before, sizeof before), nullptr);
    prompter.AnswerFile("C:\\Reklame\\side.htm");
    page().item(D::IDC_FINDFILE).click();
    char after[4096];
    ASSERT_NE(::getcwd(after, sizeof after), nullptr);
    EXPECT_STREQ(before, after);
    ASSERT_EQ(prompter.Questions().size(), 1u);
    const platform::FileRequest& asked = prompter.Questions()[0].file;
    EXPECT_EQ(asked.title, "HTML file for <Nr1>");
    EXPECT_EQ(asked.initialPath, ".\\");
    EXPECT_EQ(asked.filter, "HTM filer|*.htm");
    ExpectItems({B(1, 501, 1, 570, "C:\\Reklame\\side.htm"), B(1, 501, 1, 571, "")});
    EXPECT_EQ(page().item(D::IDC_HTML).text(), "C:\\Reklame\\side.htm");
}

TEST_F(PicturesPageTest, PictureNumbersStopAtFourHundredAndNinetyNine)
{
    // The files on a memory disk: 499 of them are made.
    TempFolder memory(TempFolder::InMemory);
    platform::CopyFile(folder.File("BVView.bvt"), "BVView.bvt");
    {
        CVisConfigFiles files;
        files.Open();
        EventSlots::New(files.Settings());
        files.Settings().WriteInt(31, 1, 530, 498);
    }
    Open(Page::kPictures);
    page().item(D::IDC_NEW).click();
    EXPECT_EQ(Vis(31, 1, 530), "499");
    page().item(D::IDC_NEW).click();
    EXPECT_EQ(Messages(), std::vector<std::string>{"<beep>"});
    ExpectItems({V(31, 1, 530, "499"), V(31, 500, 680, "<none>")});
    EXPECT_FALSE(platform::FileExists("Pict500.bvc"));
    dlg.reset();
}

}  // namespace
}  // namespace bvtest

// The profiles and colours pages driven by control id: places added and
// removed with their marks, display times typed in the grid, a place left
// out in the middle, profiles freed; the colour presets, the chooser and
// its custom colours, copy to all, and the previews by their pixels.
#include "ConfigDialogFixture.h"

#include <QImage>

#include "display/config/EventSlots.h"
#include "display/config/PictureSlots.h"
#include "display/settings/VisSettings.h"
#include "display/ui/config/ColourSample.h"
#include "display/ui/config/DlgColor.h"
#include "display/ui/config/DlgProfil.h"
#include "foundation/files/ConfigItem.h"
#include "foundation/ui/grid/GridList.h"

namespace bvtest {
namespace {

using Page = CVisConfigFiles::Page;
using P = CDlgProfil;

// Events 1..5 and pictures 1..4; picture 3 shows targets of events 2, 2 and 5.
void FourPictures()
{
    CVisConfigFiles files;
    files.Open();
    for (int e = 0; e < 5; ++e)
        EventSlots::New(files.Settings());
    for (int b = 0; b < 4; ++b)
        PictureSlots::New(files);
    for (int e : {2, 2, 5})
        PictureSlots::AddTarget(*files.Picture(3), 1, e, 0);
    WriteItem(*files.Picture(4), VisItems::kPictName, "Fire");
}

class ProfilesPageTest : public ConfigDialogTest {
protected:
    CDlgProfil& page() { return dlg->Profiles(); }
    platform::Control profiles() { return page().item(P::IDC_PROFILES); }
    platform::Control pictures() { return page().item(P::IDC_PICTURES); }
    // The grid's rows: picture name and display time.
    std::string Rows()
    {
        std::string s;
        CGridList& g = page().Grid();
        for (int r = 0; r < g.GetItemCount(); ++r)
            s += g.GetItemText(r, 0) + "/" + g.GetItemText(r, 1) + " ";
        return s;
    }
    void Add(int pictureRow)
    {
        ClickRow(pictures(), pictureRow);
        page().item(P::IDC_ADD).click();
    }
    void TypeTime(int row, const char* text)
    {
        CGridList& g = page().Grid();
        ASSERT_NE(g.EditCell(row, P::kColSeconds), nullptr);
        QTest::keyClick(g.EditorWindow(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(g.EditorWindow(), text);
        QTest::keyClick(g.EditorWindow(), Qt::Key_Return);
        QApplication::processEvents();
    }
};

TEST_F(ProfilesPageTest, PlacesKeepTheMarksOfTheirPicturesAndEvents)
{
    FourPictures();
    Open();
    ASSERT_EQ(Shown(), Page::kProfiles);
    // Add without a profile: the stop message.
    page().item(P::IDC_ADD).click();
    page().item(P::IDC_NEW).click();
    ExpectItems({P(31, 1, 530, "1"), P(31, 1, 500, "Profil 1"), P(31, 1, 531, "0")});
    ASSERT_EQ(profiles().count(), 1);
    ClickRow(profiles(), 0);
    EXPECT_EQ(page().item(P::IDC_NAME).text(), "Profil 1");

    // The same picture twice: two places of 30 seconds.
    Add(3);
    DoubleClickRow(pictures(), 3);
    EXPECT_EQ(Rows(), "Fire/30 Fire/30 ");
    ExpectItems({P(31, 1, 531, "2"), P(500, 1, 1, "4"), P(500, 1, 2, "4"), P(501, 1, 1, "30"), P(501, 1, 2, "30"),
                 V(31, 1, 4, "1")});
    // One of the two goes: the mark stays; the other: it goes, and the
    // pictures page may delete picture 4.
    page().Grid().m_currentRow = 1;
    page().item(P::IDC_REMOVE).click();
    EXPECT_EQ(Vis(31, 1, 4), "1");
    page().item(P::IDC_REMOVE).click();
    ExpectItems({V(31, 1, 4, "0"), P(31, 1, 531, "0"), P(500, 1, 1, "0")});
    EXPECT_EQ(Rows(), "");
    page().item(P::IDC_REMOVE).click();

    // Picture 3's targets: events 2, 2 and 5 are marked.
    Add(2);
    ExpectItems({P(502, 1, 2, "1"), P(502, 1, 5, "1"), P(502, 1, 1, "0"), V(31, 1, 3, "1")});

    // A display time typed in the grid, as typed: a negative number too.
    TypeTime(0, " 45 ");
    EXPECT_EQ(Prof(501, 1, 1), "45");
    TypeTime(0, "-5");
    EXPECT_EQ(Prof(501, 1, 1), "-5");
    EXPECT_EQ(Rows(), "<Nr3>/-5 ");

    // Delete refused while the profile has places, whatever the answer.
    prompter.AnswerMessage(platform::IDOK);
    page().item(P::IDC_DELETE).click();
    EXPECT_EQ(Prof(31, 1, 500), "Profil 1");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Choose a profile and a picture first.",
                                                    "Choose a profile and a picture in it first.",
                                                    "The profile has pictures. Remove them before deleting the profile."}));

    // An empty name frees the profile with its places; its picture may be
    // deleted again; a new profile takes slot 1 without places.
    TypeAndLeave(page().item(P::IDC_NAME), "", profiles());
    ExpectItems({P(31, 1, 500, ""), V(31, 1, 3, "0")});
    EXPECT_EQ(profiles().count(), 0);
    page().item(P::IDC_NEW).click();
    ExpectItems({P(31, 1, 530, "1"), P(31, 1, 500, "Profil 1"), P(31, 1, 531, "0")});
    EXPECT_EQ(Rows(), "");
}

TEST_F(ProfilesPageTest, APlaceLeftOutInTheMiddleIsEditedAndRemovedWhereItIs)
{
    FourPictures();
    Open();
    page().item(P::IDC_NEW).click();
    ClickRow(profiles(), 0);
    for (int row : {0, 1, 2})
        Add(row);
    // Picture 2 is freed behind the page's back (its place stays in the file).
    dlg->Files().Settings().WriteInt(31, 2, 680, 0);
    page().OnShown();
    EXPECT_EQ(Rows(), "<Nr1>/30 <Nr3>/30 ");
    EXPECT_EQ(pictures().count(), 3);
    // The second row is place 3.
    TypeTime(1, "12");
    ExpectItems({P(501, 1, 3, "12"), P(501, 1, 2, "30")});
    page().Grid().m_currentRow = 1;
    page().item(P::IDC_REMOVE).click();
    ExpectItems({P(31, 1, 531, "2"), P(500, 1, 1, "1"), P(500, 1, 2, "2"), P(500, 1, 3, "0"), V(31, 1, 3, "0"),
                 V(31, 1, 1, "1"), P(502, 1, 2, "0")});
    EXPECT_EQ(Rows(), "<Nr1>/30 ");
    EXPECT_EQ(page().Grid().m_currentRow, 0);

    // The lists' selections become the dialog's current profile and picture.
    page().item(P::IDC_NEW).click();
    ClickRow(profiles(), 1);
    ClickRow(pictures(), 2);
    page().item(P::IDC_NAME).focus();
    EXPECT_EQ(dlg->currentProfile, 2);
    EXPECT_EQ(dlg->currentPicture, 4);
}

class ColoursPageTest : public ConfigDialogTest {
protected:
    CDlgColor& page() { return dlg->Colours(); }
    platform::Control list() { return page().item(CDlgColor::IDC_LIST); }
    static QRgb Rgb(uint32_t bgr) { return qRgb(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }
};

TEST_F(ColoursPageTest, PresetsChooserAndCopyToAll)
{
    FourPictures();
    {
        CVisConfigFiles files;
        files.Open();
        PictureSlots::Delete(files, 2);
        WriteItem(*files.Picture(4), VisItems::kPictType, 2);
        files.Picture(1)->WriteString(504, 1, 4, "");
    }
    Open(Page::kColours);
    // Pictures 1 and 3; the free slot and the HTML page are not listed.
    ASSERT_EQ(list().count(), 2);
    EXPECT_EQ(list().itemData(1), 3);
    EXPECT_EQ(page().SelectedPicture(), 1);

    // Preset 2, a highlight of our own, then preset 3: the highlight stays.
    page().item(CDlgColor::PresetButton(2)).click();
    ExpectItems({B(1, 504, 1, 1, std::to_string(0x800000)), B(1, 504, 1, 6, std::to_string(0xFFFFFF)),
                 B(1, 504, 1, 11, std::to_string(0x0000FF))});
    page().item(CDlgColor::PresetButton(3)).click();
    ExpectItems({B(1, 504, 1, 1, std::to_string(0xFFFFFF)), B(1, 504, 1, 4, "0"), B(1, 504, 1, 10,
                 std::to_string(0xFFFFFF)), B(1, 504, 1, 11, std::to_string(0x0000FF))});

    // The chooser: opened full and solid from the colour, with the page's
    // custom colours, which keep what the user put there; a cancel writes
    // the old colour again.
    prompter.AnswerColour(true, 0x00FFFF, {{0, 0x123456}}).AnswerColour(false, 0, {{15, 0x654321}});
    page().item(CDlgColor::ColourButton(VisItems::kHighlight)).click();
    EXPECT_EQ(Pict(1, 504, 1, 11), std::to_string(0x00FFFF));
    CBVConfig reader;
    reader.Open(".\\Pict1.bvc", 0);
    page().item(CDlgColor::ColourButton(VisItems::kTarget)).click();
    EXPECT_EQ(reader.Refresh(), 1);
    EXPECT_EQ(Pict(1, 504, 1, 2), std::to_string(0xFFFFFF));
    EXPECT_EQ(prompter.Log(), (std::vector<std::string>{"Colour from 0x0000FF full solid custom 16 -> 0x00FFFF",
                                                         "Colour from 0xFFFFFF full solid custom 16 -> cancelled"}));
    EXPECT_EQ(prompter.Questions()[1].colour.customColours[0], 0x123456u);
    EXPECT_EQ(prompter.Questions()[1].colour.customColours[1], 0xE0FFFFu);
    EXPECT_EQ(page().CustomColours()[15], 0x654321u);

    // Copy to all: pictures 1, 3 and 4 (the HTML page has colours too);
    // the free slot 2 keeps its own.
    page().item(CDlgColor::IDC_COPYALL).click();
    ExpectItems({B(3, 504, 1, 11, std::to_string(0x00FFFF)), B(4, 504, 1, 11, std::to_string(0x00FFFF)),
                 B(3, 504, 1, 1, std::to_string(0xFFFFFF)), B(2, 504, 1, 11, "<none>")});

    // Another picture chosen in the list becomes the current one.
    ClickRow(list(), 1);
    EXPECT_EQ(dlg->currentPicture, 3);
}

TEST_F(ColoursPageTest, PreviewsShowTheColours)
{
    FourPictures();
    Open(Page::kColours);
    page().item(CDlgColor::PresetButton(2)).click();
    QApplication::processEvents();
    CColourSample& target = page().TargetSample();
    target.repaint();
    QImage image = target.Picture().convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    ASSERT_GT(w, 100);
    ASSERT_GT(h, 100);
    const int cx = w / 2, cy = h / 2, l = std::min(w, h) / 2 - 3;
    // Background in the corner, the target's disc, its outline in black
    // (the contrast of a light colour), the centre disc, the shots.
    EXPECT_EQ(image.pixel(3, 3), Rgb(0x800000));
    EXPECT_EQ(image.pixel(cx, cy - (9 * l) / 10), Rgb(0xC0FFFF));
    EXPECT_EQ(image.pixel(cx, cy - l), Rgb(0x000000));
    EXPECT_EQ(image.pixel(cx, cy - (4 * l) / 5), Rgb(0x000000));
    EXPECT_EQ(image.pixel(cx, cy - l / 2), Rgb(0x000000));
    // The centre's outline: white, the contrast of black.
    EXPECT_EQ(image.pixel(cx, cy - (3 * l) / 5), Rgb(0xFFFFFF));
    EXPECT_EQ(image.pixel(cx - l / 4, cy - l / 8), Rgb(0x00FF00));
    EXPECT_EQ(image.pixel(cx + l / 4, cy - l / 8), Rgb(0x00FF00));
    EXPECT_EQ(image.pixel(cx, cy + l / 4), Rgb(0x0000FF));
    // The frame in the text colour.
    EXPECT_EQ(image.pixel(0, h / 2), Rgb(0xFFFFFF));

    // The text preview: white letters on blue.
    CColourSample& text = page().TextSample();
    text.repaint();
    QImage words = text.Picture().convertToFormat(QImage::Format_RGB32);
    int white = 0, blue = 0;
    for (int y = 2; y < 40 && y < words.height() - 1; ++y)
        for (int x = 2; x < 60 && x < words.width() - 1; ++x) {
            white += words.pixel(x, y) == Rgb(0xFFFFFF);
            blue += words.pixel(x, y) == Rgb(0x800000);
        }
    EXPECT_GT(white, 20);
    EXPECT_GT(blue, white);
}

}  // namespace
}  // namespace bvtest

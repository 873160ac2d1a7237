// Off-screen pictures saved as PNG files, checked by pngcheck and read back.
#include "platform/files/FileSystem.h"
#include "platform/ui/draw/BitmapDC.h"

#include "tests/platform/ui/DrawTestSupport.h"
#include "QtApp.h"
#include "TempFolder.h"

#include <QImage>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <random>

#include <sys/resource.h>
#include <sys/stat.h>

namespace {

using namespace platform;

class BitmapDCTest : public bvtest::InTempFolder {
protected:
    static void SetUpTestSuite() { bvtest::QtApp(); }

    // pngcheck's verbose report; exitCode 0 when it found no fault.
    std::string Check(const std::string& name, int* exitCode, const char* options = "-v")
    {
        return bvtest::RunCommand(std::string("pngcheck ") + options + " '" + folder.File(name) + "' 2>&1", exitCode);
    }
    QImage Read(const std::string& name)
    {
        return QImage(QString::fromStdString(folder.File(name))).convertToFormat(QImage::Format_RGB32);
    }
    static void DrawCard(CBitmapDC& bitmap)
    {
        bitmap.Clear(Rgb(255, 255, 255));
        bitmap.SetMapMode(MM_ISOTROPIC);  // 0.1 mm, y upwards, as a card sheet
        bitmap.SelectBrush(DrawBrush::SolidOf(Rgb(0xBF, 0xBF, 0xBF)));
        bitmap.Ellipse(100, -100, 600, -600);
        bitmap.SelectFont(bitmap.PointFont(120, "Arial", 700));
        bitmap.SetBkMode(TRANSPARENT);
        bitmap.TextOut(100, -700, "Felt 1");
        bitmap.SelectPen({PenStyle::Solid, 4, Rgb(0, 0, 255)});
        bitmap.MoveTo(0, -50);
        bitmap.LineTo(700, -50);
    }
    std::vector<std::string> Leftovers() { return FindFiles(".", "~bv*.TMP"); }
};

TEST_F(BitmapDCTest, PlainAndInterlacedPicturesCarryTheirChunksAndTheSamePixels)
{
    CBitmapDC bitmap;
    ASSERT_TRUE(bitmap.Create(301, 201));  // odd sizes: bitmap rows are padded, PNG rows are not
    DrawCard(bitmap);
    ASSERT_TRUE(bitmap.SaveAsPng(".\\Plain.png", false, false, 0));
    ASSERT_TRUE(bitmap.SaveAsPng(".\\Interlaced.png", true, false, 0));

    for (const char* name : {"Plain.png", "Interlaced.png"}) {
        SCOPED_TRACE(name);
        int exitCode = -1;
        std::string report = Check(name, &exitCode);
        EXPECT_EQ(exitCode, 0) << report;
        for (const char* chunk : {"chunk IHDR", "chunk tEXt", "chunk tIME", "chunk IDAT", "chunk IEND"})
            EXPECT_NE(report.find(chunk), std::string::npos) << chunk << "\n" << report;
        for (const char* chunk : {"gAMA", "tRNS", "PLTE", "zTXt"})
            EXPECT_EQ(report.find(chunk), std::string::npos) << chunk << "\n" << report;
        EXPECT_NE(report.find("301 x 201 image, 24-bit RGB"), std::string::npos) << report;
        std::string texts = Check(name, &exitCode, "-t");
        EXPECT_NE(texts.find("www.brevandi.no:\n    grafiske filer"), std::string::npos) << texts;
    }
    EXPECT_NE(Check("Plain.png", nullptr).find("non-interlaced"), std::string::npos);
    EXPECT_EQ(Check("Interlaced.png", nullptr).find("non-interlaced"), std::string::npos);
    EXPECT_NE(Check("Interlaced.png", nullptr).find("interlaced"), std::string::npos);

    QImage drawn = bitmap.Picture().convertToFormat(QImage::Format_RGB32);
    QImage plain = Read("Plain.png");
    QImage interlaced = Read("Interlaced.png");
    ASSERT_EQ(plain.size(), QSize(301, 201));
    EXPECT_TRUE(plain == interlaced);
    EXPECT_TRUE(plain == drawn);
    // Spot checks: top left is the white background, the grey disc and the
    // blue line lie where 0.1 mm at 96 pixels to the inch puts them.
    EXPECT_EQ(plain.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(plain.pixel(13, 13), qRgb(255, 255, 255));
    EXPECT_EQ(plain.pixel(132, 132), qRgb(0xBF, 0xBF, 0xBF));  // centre of the disc, 35 mm in
    EXPECT_EQ(plain.pixel(150, 19), qRgb(0, 0, 255));          // the line 5 mm down
}

TEST_F(BitmapDCTest, TransparentColourGivesTransparencyChunk)
{
    CBitmapDC bitmap;
    ASSERT_TRUE(bitmap.Create(20, 10));
    bitmap.Clear(Rgb(255, 255, 255));
    bitmap.FillSolidRect({0, 0, 10, 10}, Rgb(255, 0, 0));
    ASSERT_TRUE(bitmap.SaveAsPng(".\\Clear.png", false, true, Rgb(255, 255, 255)));
    int exitCode = -1;
    std::string report = Check("Clear.png", &exitCode);
    EXPECT_EQ(exitCode, 0) << report;
    EXPECT_NE(report.find("chunk tRNS"), std::string::npos) << report;
    EXPECT_NE(report.find("red = 0x00ff, green = 0x00ff, blue = 0x00ff"), std::string::npos) << report;
    QImage image(QString::fromStdString(folder.File("Clear.png")));
    EXPECT_EQ(qAlpha(image.pixel(15, 5)), 0);
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 0, 0));
}

TEST_F(BitmapDCTest, SavedAgainAfterMoreDrawingAndOneColumnWide)
{
    CBitmapDC column;
    ASSERT_TRUE(column.Create(1, 7));
    column.Clear(Rgb(0, 0, 255));
    column.FillSolidRect({0, 3, 1, 4}, Rgb(255, 255, 0));
    ASSERT_TRUE(column.SaveAsPng(".\\Column.png", true, false, 0));
    int exitCode = -1;
    std::string report = Check("Column.png", &exitCode);
    EXPECT_EQ(exitCode, 0) << report;
    QImage image = Read("Column.png");
    ASSERT_EQ(image.size(), QSize(1, 7));
    EXPECT_EQ(image.pixel(0, 2), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(0, 3), qRgb(255, 255, 0));

    column.Clear(Rgb(0, 255, 0));
    ASSERT_TRUE(column.SaveAsPng(".\\Column.png", true, false, 0));
    EXPECT_EQ(Read("Column.png").pixel(0, 3), qRgb(0, 255, 0));
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(BitmapDCTest, CopiesAPictureInWholeWhateverTheClip)
{
    QImage window(4, 3, QImage::Format_RGB32);
    window.fill(qRgb(10, 20, 30));
    window.setPixel(3, 2, qRgb(200, 0, 0));
    CBitmapDC copy;
    EXPECT_FALSE(copy.CopyFrom(window));  // nothing to copy onto yet
    ASSERT_TRUE(copy.Create(6, 4));
    copy.Clear(Rgb(255, 255, 255));
    copy.IntersectClipRect(0, 0, 1, 1);
    ASSERT_TRUE(copy.CopyFrom(window, 1, 1));
    QImage picture = copy.Picture();
    EXPECT_EQ(picture.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(picture.pixel(1, 1), qRgb(10, 20, 30));
    EXPECT_EQ(picture.pixel(4, 3), qRgb(200, 0, 0));
    EXPECT_EQ(picture.pixel(5, 3), qRgb(255, 255, 255));
}

TEST_F(BitmapDCTest, NothingIsWrittenWhereThePictureCannotGo)
{
    CBitmapDC never;
    EXPECT_FALSE(never.SaveAsPng(".\\Never.png", false, false, 0)) << "not created";
    EXPECT_FALSE(FileExists(".\\Never.png"));

    CBitmapDC bitmap;
    ASSERT_TRUE(bitmap.Create(10, 10));
    bitmap.Clear(Rgb(255, 255, 255));
    EXPECT_FALSE(bitmap.SaveAsPng(".\\Missing\\Card.png", false, false, 0));
    EXPECT_FALSE(FolderExists(".\\Missing"));

    ASSERT_EQ(CreateFolder(".\\Card.png"), 0);
    EXPECT_FALSE(bitmap.SaveAsPng(".\\Card.png", false, false, 0)) << "a folder of that name";
    EXPECT_TRUE(FolderExists(".\\Card.png"));
    EXPECT_TRUE(Leftovers().empty());

    EXPECT_FALSE(bitmap.WritePng(nullptr, false, false, 0));
}

// A write that fails halfway (here: the file-size limit, as a full disk would)
// leaves the earlier picture as it was and no half file beside it.
TEST_F(BitmapDCTest, FailedWriteKeepsTheEarlierPicture)
{
    bvtest::TempFolder::Write(folder.File("Card.png"), "earlier picture");
    CBitmapDC bitmap;
    ASSERT_TRUE(bitmap.Create(120, 120));
    std::mt19937 random(7);
    for (int y = 0; y < 120; y += 2)
        for (int x = 0; x < 120; x += 2)
            bitmap.FillSolidRect({x, y, x + 2, y + 2}, random() & 0xFFFFFF);

    struct rlimit before;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = before;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool saved = bitmap.SaveAsPng(".\\Card.png", false, false, 0);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(bvtest::TempFolder::Read(folder.File("Card.png")), "earlier picture");
    EXPECT_TRUE(Leftovers().empty());

    ASSERT_TRUE(bitmap.SaveAsPng(".\\Card.png", false, false, 0));
    EXPECT_EQ(Read("Card.png").size(), QSize(120, 120));
}

// A picture is written again only when its file does not already hold it:
// the pixels, the interlacing and a complete file of ours decide.
TEST_F(BitmapDCTest, APictureItsFileAlreadyHoldsIsNotWrittenAgain)
{
    CBitmapDC bitmap;
    ASSERT_TRUE(bitmap.Create(120, 90));
    bitmap.SetPngPacking(CBitmapDC::PngPacking::Quick);
    DrawCard(bitmap);
    // The file's inode: a written picture replaces the file.
    auto inode = [&] {
        struct stat st{};
        return ::stat(folder.File("Card.png").c_str(), &st) == 0 ? st.st_ino : 0;
    };
    using Saved = CBitmapDC::Saved;
    struct Step {
        const char* name;
        std::function<void()> before;
        bool interlaced;
        Saved expected;
    };
    const Step steps[] = {
        {"no file yet", [] {}, true, Saved::Written},
        {"the same picture", [] {}, true, Saved::Unchanged},
        {"the same picture not interlaced", [] {}, false, Saved::Written},
        {"one pixel changed",
         [&] {
             bitmap.SetMapMode(MM_TEXT);
             bitmap.SetViewportOrg(0, 0);
             bitmap.FillSolidRect({5, 5, 6, 6}, Rgb(1, 2, 3));
         },
         false, Saved::Written},
        {"the file cut short",
         [&] { std::filesystem::resize_file(folder.File("Card.png"), std::filesystem::file_size(folder.File("Card.png")) / 2); },
         false, Saved::Written},
        {"a file of another program", [&] { bvtest::TempFolder::Write(folder.File("Card.png"), "earlier picture"); },
         false, Saved::Written},
        {"the same picture again", [] {}, false, Saved::Unchanged},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.before();
        const auto before = inode();
        EXPECT_EQ(bitmap.SaveAsPngIfChanged(".\\Card.png", step.interlaced, false, 0), step.expected);
        EXPECT_EQ(inode() == before, step.expected == Saved::Unchanged);
        int exitCode = -1;
        const std::string report = Check("Card.png", &exitCode, "-v");
        EXPECT_EQ(exitCode, 0) << report;
        EXPECT_NE(report.find("Picture digest"), std::string::npos) << report;
        EXPECT_EQ(Read("Card.png"), bitmap.Picture().convertToFormat(QImage::Format_RGB32));
    }
    EXPECT_EQ(Read("Card.png").pixel(5, 5), qRgb(1, 2, 3));
    EXPECT_TRUE(Leftovers().empty());
}

}  // namespace

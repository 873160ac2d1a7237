// The print job's loop and preview, answered by a scripted prompter: what
// it calls when, what it prints into a PDF file, how it ends when the user
// cancels, the printer fails or the program is to quit, and how the preview
// stands in for the main window.
#include "ReportFixture.h"

#include "platform/ui/FrameWnd.h"
#include "platform/ui/KitWindow.h"
#include "platform/ui/ScriptedPrompter.h"
#include "platform/ui/draw/DefaultPrinter.h"
#include "platform/ui/draw/PrintPreview.h"
#include "results/print/ListPrintJob.h"

#include "QtApp.h"
#include "RunCommand.h"
#include "TempFolder.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace results;
using namespace reporttest;
using platform::DrawRecorder;
using platform::QuestionKind;
using platform::ScriptedPrompter;

// A job of a few pages that notes every step it is asked for.
class StepJob : public CPrintJob {
public:
    int pages = 3;
    std::vector<std::string> steps;
    std::function<void(int page)> onPage;
    bool mainWindowEnabled = true;

    StepJob() { m_continuePrinting = 1; }

    void OnBeginPrinting(platform::DrawSurface&, PrintInfo&) override { steps.push_back("begin"); }
    void OnEndPrinting(platform::DrawSurface&, PrintInfo&) override { steps.push_back("end"); }
    void OnPrint(platform::DrawSurface& dc, PrintInfo& info) override
    {
        steps.push_back("page " + std::to_string(info.currentPage));
        if (platform::MainWindow() != nullptr)
            mainWindowEnabled = mainWindowEnabled && platform::MainWindow()->Host()->isEnabled();
        dc.SelectFont(dc.PointFont(120, "Arial"));
        dc.TextOut(400, 400, "Side" + std::to_string(info.currentPage));
        if (onPage)
            onPage(info.currentPage);
        if (info.currentPage >= pages)
            m_continuePrinting = 0;
    }
};

// A printer that refuses to start one page.
class FailingPrinter : public DrawRecorder {
public:
    int refusePage = 2;
    int StartPage() override { return Pages() + 1 == refusePage ? -1 : DrawRecorder::StartPage(); }
};

std::vector<std::string> Steps(std::initializer_list<const char*> steps) { return {steps.begin(), steps.end()}; }

class PrintJobTest : public bvtest::InTempFolder {
protected:
    static void SetUpTestSuite() { bvtest::QtApp(); }
    void SetUp() override
    {
        frame.show();
        platform::SetMainWindow(&frame);
    }
    void TearDown() override { platform::SetMainWindow(nullptr); }

    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const platform::Question& q : prompter.Questions())
            if (q.kind == QuestionKind::Message)
                texts.push_back(q.text);
        return texts;
    }

    platform::FrameWnd frame;
    ScriptedPrompter prompter;
    platform::ScopedPrompter scoped{prompter};
    // The preview's paper, the same on every machine.
    platform::ScopedDefaultPrinter printer{platform::A4Printer(600, 100, 100)};
};

TEST_F(PrintJobTest, CancellingThePrintDialogPrintsNothing)
{
    StepJob job;
    prompter.AnswerPrinter(false);
    job.Print();
    EXPECT_TRUE(job.steps.empty());
    EXPECT_EQ(prompter.Questions().size(), 1u);
    EXPECT_TRUE(frame.isEnabled());
}

// Printing to a file writes a PDF file of every page; there is no page
// range, and the document is "BVRes utskrift" whatever the list.
TEST_F(PrintJobTest, PrintsToAFileUntilTheListIsComplete)
{
    StepJob job;
    job.pages = 4;
    bool eventsFlowed = false;
    bool flowedBeforeLastPage = false;
    QTimer::singleShot(0, [&] { eventsFlowed = true; });
    job.onPage = [&](int page) {
        if (page == 4)
            flowedBeforeLastPage = eventsFlowed;
    };
    platform::PrinterChoice choice;
    choice.pdfPath = folder.File("Liste.pdf");
    choice.fromPage = 2;
    choice.toPage = 2;
    prompter.AnswerPrinter(true, choice);
    job.Print();

    EXPECT_EQ(job.steps, Steps({"begin", "page 1", "page 2", "page 3", "page 4", "end"}));
    EXPECT_FALSE(job.mainWindowEnabled);
    EXPECT_TRUE(frame.isEnabled());
    EXPECT_TRUE(flowedBeforeLastPage);
    std::string info = bvtest::RunCommand("pdfinfo '" + choice.pdfPath + "'");
    EXPECT_NE(info.find("Pages:           4"), std::string::npos) << info;
    EXPECT_NE(info.find("Title:           BVRes utskrift"), std::string::npos) << info;
    std::string text = bvtest::RunCommand("pdftotext '" + choice.pdfPath + "' -");
    for (const char* page : {"Side1", "Side2", "Side3", "Side4"})
        EXPECT_NE(text.find(page), std::string::npos) << page;
    EXPECT_TRUE(Messages().empty());
}

// How a printout ends when it cannot go on: a document the printer does
// not start, a page it refuses, a request to quit while printing. The job's
// end is always called, and the main window is back.
TEST_F(PrintJobTest, EndsWhenThePrinterOrTheProgramStopsIt)
{
    // A PDF file in a folder that is not there cannot be started.
    {
        StepJob job;
        platform::PrinterChoice choice;
        choice.pdfPath = folder.File("Mangler/Liste.pdf");
        prompter.AnswerPrinter(true, choice);
        job.Print();
        EXPECT_EQ(job.steps, Steps({"begin", "end"}));
        EXPECT_EQ(Messages(), std::vector<std::string>{"Could not start print job."});
        EXPECT_TRUE(frame.isEnabled());
    }
    prompter.Clear();
    {
        StepJob job;
        FailingPrinter failing;
        job.PrintTo(failing);
        EXPECT_EQ(job.steps, Steps({"begin", "page 1", "end"}));
        EXPECT_EQ(failing.Find("AbortDoc").size(), 1u);
        EXPECT_TRUE(failing.Find("EndDoc").empty());
        EXPECT_EQ(Messages(), std::vector<std::string>{"The print job could not be completed."});
    }
    prompter.Clear();
    {
        // The program is closed while page 2 prints: the printout stops
        // after it, without a message, and nothing of it is left.
        StepJob job;
        job.pages = 5;
        job.onPage = [](int page) {
            if (page == 2)
                QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
        };
        platform::PrinterChoice choice;
        choice.pdfPath = folder.File("Avbrutt.pdf");
        prompter.AnswerPrinter(true, choice);
        job.Print();
        EXPECT_EQ(job.steps, Steps({"begin", "page 1", "page 2", "end"}));
        EXPECT_TRUE(Messages().empty());
        EXPECT_FALSE(QDir(QString::fromStdString(folder.Path())).exists("Avbrutt.pdf"));
        EXPECT_TRUE(frame.isEnabled());
    }
}

std::vector<platform::PrintPreview*> OpenPreviews()
{
    std::vector<platform::PrintPreview*> found;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* preview = dynamic_cast<platform::PrintPreview*>(widget); preview != nullptr && preview->isVisible())
            found.push_back(preview);
    return found;
}

// The preview stands in for the main window: one window however often it
// is asked for, its page count known once the last page was drawn, and the
// list emptied when it closes.
TEST_F(PrintJobTest, PreviewStandsInForTheMainWindow)
{
    KeptReport report;
    AddSyntheticDef(report, 1, {.rows = 140, .compactStyle = 0x6, .captions = 9});
    AddSyntheticDef(report, 2, {.rows = 40, .captions = 7});
    report.ListComplete(2);
    report.m_previewFlag = true;
    report.Print();

    ASSERT_TRUE(report.PreviewOpen());
    platform::PrintPreview* preview = report.Preview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(OpenPreviews().size(), 1u);
    EXPECT_EQ(preview->windowTitle(), QString::fromUtf8("BVRes forhåndsvisning"));
    EXPECT_FALSE(frame.isVisible());
    EXPECT_EQ(report.begun, 1);
    int pages = static_cast<int>(report.m_pages.size());
    EXPECT_GT(pages, 2);
    EXPECT_EQ(preview->PageCount(), pages);
    EXPECT_EQ(report.m_printInfo.maxPage, pages);
    EXPECT_TRUE(prompter.Questions().empty());  // no print dialog for a preview

    // Asked again (the list still in it): the same window, brought forward.
    report.Print();
    EXPECT_EQ(report.Preview(), preview);
    EXPECT_EQ(OpenPreviews().size(), 1u);

    // Drawn anew (back to the first page), it keeps its pages.
    preview->Refresh();
    EXPECT_EQ(preview->PageCount(), pages);
    EXPECT_EQ(static_cast<int>(report.m_pages.size()), pages);
    EXPECT_EQ(report.ended, 0);

    preview->close();
    EXPECT_EQ(report.ended, 1);
    EXPECT_FALSE(report.PreviewOpen());
    EXPECT_TRUE(report.aListDef.empty());
    EXPECT_TRUE(frame.isVisible());
    EXPECT_TRUE(OpenPreviews().empty());
}

}  // namespace

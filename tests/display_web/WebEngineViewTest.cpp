// The HTML view on the real browser engine: a local page that refreshes
// itself into a second one, as an HTML picture of a slide show does. Runs
// under a virtual X server; a sandbox where the engine cannot start at all
// skips it and says why.
#include "tests/support/EventLoop.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>

#include "TempFolder.h"
#include "display/ui/FormHtml.h"
#include "platform/ui/web/WebEnginePane.h"

namespace {

QApplication& WebApp()
{
    static int argc = 1;
    static char name[] = "bvtest";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        // The engine draws through the X server when there is one.
        if (std::getenv("DISPLAY"))
            setenv("QT_QPA_PLATFORM", "xcb", 1);
        platform::PrepareWebEngine();
        return new QApplication(argc, argv);
    }();
    return *app;
}

bool RunUntil(const std::function<bool()>& test, int ms)
{
    return bvtest::RunEventsUntil(test, ms, 10);
}

// The program's start, once: the engine sets its own environment then.
class WebEngineViewTest : public bvtest::InTempFolder {
protected:
    static void SetUpTestSuite() { WebApp(); }
};

TEST_F(WebEngineViewTest, APageThatRefreshesItselfShowsTheNextPage)
{
    WebApp();
    platform::UseWebEnginePanes();
    bvtest::TempFolder::Write("start.htm", "<html><body>Start</body></html>");
    bvtest::TempFolder::Write("a.htm",
                              "<html><head><meta http-equiv=\"refresh\" content=\"1;url=b.htm\"></head>"
                              "<body><h1>Velkommen</h1></body></html>");
    bvtest::TempFolder::Write("b.htm", "<html><body><h1>Resultater</h1></body></html>");

    CFormHtml view;
    view.resize(640, 400);
    view.show();
    std::vector<std::pair<std::string, bool>> loads;
    view.Pane().onLoaded = [&](const std::string& page, bool ok) { loads.emplace_back(page, ok); };

    // A page of its own first: an engine that cannot run here never loads one.
    view.Navigate(".\\start.htm");
    if (!RunUntil([&] { return !loads.empty(); }, 30000) || !loads.front().second) {
        platform::SetHtmlPaneMaker(nullptr);
        GTEST_SKIP() << "the browser engine did not start in this sandbox (no page loaded in 30 s)";
    }
    EXPECT_EQ(view.Pane().LoadedPage(), folder.Path() + "/start.htm");

    loads.clear();
    view.Navigate(".\\a.htm");
    ASSERT_TRUE(RunUntil([&] { return loads.size() >= 2; }, 20000));
    EXPECT_EQ(loads[0], (std::pair<std::string, bool>{folder.Path() + "/a.htm", true}));
    EXPECT_EQ(loads[1], (std::pair<std::string, bool>{folder.Path() + "/b.htm", true}));
    EXPECT_EQ(view.Pane().LoadedPage(), folder.Path() + "/b.htm");
    EXPECT_EQ(view.File(), ".\\a.htm");
    platform::SetHtmlPaneMaker(nullptr);
}

}  // namespace

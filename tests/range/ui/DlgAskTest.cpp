// The question box: its lines, its buttons and the answers it hands to the frame.
#include "QtApp.h"

#include "platform/system/TextTable.h"
#include "platform/ui/FrameWnd.h"
#include "range/ui/DlgAsk.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdlib>
#include <vector>

namespace {

// A frame that keeps the answers it is sent.
class AnswerFrame : public platform::FrameWnd {
public:
    std::vector<intptr_t> answers;
    intptr_t OnMessage(int message, intptr_t wParam, intptr_t lParam) override
    {
        if (message == CDlgAsk::WM_ASK_ANSWER)
            answers.push_back(wParam);
        return 0;
    }
};

class Texts : public platform::TextTable {
public:
    std::string GetText(std::string_view key) override
    {
        if (key == "IDS_YES")
            return "Ja";
        if (key == "IDS_CANCEL")
            return "Avbryt";
        return {};
    }
};

TEST(DlgAsk, MessageLines)
{
    struct Case {
        const char* name;
        std::string message;
        std::array<std::string, 4> lines;
    };
    const std::string sixty(60, 'a');
    const Case cases[] = {
        {"empty", "", {"", "", "", ""}},
        {"one line", "Lane 3 differs", {"Lane 3 differs", "", "", ""}},
        {"CR LF is one line end", "one\r\ntwo", {"one", "two", "", ""}},
        {"CR and LF alone", "one\rtwo\nthree", {"one", "two", "three", ""}},
        {"empty line kept", "one\n\nthree", {"one", "", "three", ""}},
        {"only four lines", "1\n2\n3\n4\n5\n6", {"1", "2", "3", "4"}},
        {"long line cut at 60", sixty + "bcd\nnext", {sixty, "next", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CDlgAsk::SplitMessage(c.message), c.lines);
    }
    // Only the first 199 characters are read: 190 + 3 line ends leave six
    // for the fourth line.
    std::string late = std::string(190, 'y') + "\n\n\n" + "zzzzzzzz";
    EXPECT_EQ(CDlgAsk::SplitMessage(late)[3], "zzzzzz");
}

TEST(DlgAsk, ButtonsAnswersAndProgress)
{
    bvtest::QtApp();
    Texts texts;
    platform::SetTextTable(&texts);
    AnswerFrame frame;
    CDlgAsk ask(&frame);
    ask.Create();
    ask.ShowWindow(true);
    EXPECT_FALSE(ask.IsOpen());

    ask.SetContent("Avslutt", "Sett skivene til trening?", {CDlgAsk::kYes, CDlgAsk::kNo, 0, CDlgAsk::kCancel},
                   {"IDS_YES", "", nullptr, "IDS_CANCEL"});
    EXPECT_TRUE(ask.IsOpen());
    EXPECT_EQ(ask.Caption(), "Avslutt");
    EXPECT_EQ(ask.item(CDlgAsk::IDC_LINE1).text(), "Sett skivene til trening?");
    // A button shows exactly when it has a value; a key gives its caption.
    EXPECT_TRUE(ask.item(CDlgAsk::IDC_BUTTON1).visible());
    EXPECT_TRUE(ask.item(CDlgAsk::IDC_BUTTON2).visible());
    EXPECT_FALSE(ask.item(CDlgAsk::IDC_BUTTON3).visible());
    EXPECT_TRUE(ask.item(CDlgAsk::IDC_BUTTON4).visible());
    EXPECT_EQ(ask.item(CDlgAsk::IDC_BUTTON1).text(), "Ja");
    EXPECT_EQ(ask.item(CDlgAsk::IDC_BUTTON4).text(), "Avbryt");

    // The bar shows while its position is above 0.
    EXPECT_FALSE(ask.item(CDlgAsk::IDC_PROGRESS).visible());
    ask.SetProgress(40);
    EXPECT_TRUE(ask.item(CDlgAsk::IDC_PROGRESS).visible());
    EXPECT_EQ(ask.item(CDlgAsk::IDC_PROGRESS).pos(), 40);
    ask.SetProgress(0);
    EXPECT_FALSE(ask.item(CDlgAsk::IDC_PROGRESS).visible());

    // An answer reaches the frame before the click returns, and closes the box.
    ask.item(CDlgAsk::IDC_BUTTON2).click();
    EXPECT_EQ(frame.answers, (std::vector<intptr_t>{CDlgAsk::kNo}));
    EXPECT_EQ(ask.LastAnswer(), CDlgAsk::kNo);
    EXPECT_FALSE(ask.IsOpen());

    // New content on the open window replaces the old at once.
    ask.SetContent("Oppstart", "", {0, 0, 0, CDlgAsk::kCancel}, {nullptr, nullptr, nullptr, "IDS_CANCEL"});
    EXPECT_EQ(ask.Caption(), "Oppstart");
    EXPECT_EQ(ask.item(CDlgAsk::IDC_LINE1).text(), "");
    EXPECT_FALSE(ask.item(CDlgAsk::IDC_BUTTON1).visible());
    ask.item(CDlgAsk::IDC_BUTTON4).click();
    EXPECT_EQ(frame.answers.back(), CDlgAsk::kCancel);
    platform::SetTextTable(nullptr);
}

// Without a display a question with no countdown answers itself with
// Cancel in time; an answer given first, or a newer question, outdates it.
TEST(DlgAsk, AnUnseenQuestionAnswersCancelInTime)
{
    bvtest::QtApp();
    setenv("BV_UNSEEN_ANSWER_MS", "100", 1);
    AnswerFrame frame;
    CDlgAsk ask(&frame);
    ask.Create();
    auto waitMs = [](int ms) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    };

    ask.SetContent("Avslutt", "Sett skivene til trening?", {CDlgAsk::kYes, CDlgAsk::kNo, 0, CDlgAsk::kCancel},
                   {"IDS_YES", "IDS_NO", nullptr, "IDS_CANCEL"});
    ask.ShowWindow(true);
    ask.AnswerWhenUnseen();
    waitMs(400);
    EXPECT_EQ(frame.answers, (std::vector<intptr_t>{CDlgAsk::kCancel}));
    EXPECT_FALSE(ask.IsOpen());

    // Answered by hand first: the wait answers nothing more.
    ask.SetContent("Avslutt", "", {CDlgAsk::kYes, CDlgAsk::kNo, 0, CDlgAsk::kCancel}, {});
    ask.AnswerWhenUnseen();
    ask.item(CDlgAsk::IDC_BUTTON1).click();
    waitMs(400);
    EXPECT_EQ(frame.answers, (std::vector<intptr_t>{CDlgAsk::kCancel, CDlgAsk::kYes}));
    unsetenv("BV_UNSEEN_ANSWER_MS");
}

}  // namespace

// The clock link's server on the frame's window: it runs while the lines are
// open.
#include "foundation/ui/net/BVSocket.h"
#include "platform/ui/FrameWnd.h"
#include "range/ui/MainFrm.h"

#include "QtApp.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class ClockLinkTest : public bvtest::InTempFolder {
protected:
    void SetUp() override
    {
        bvtest::QtApp();
        objects = std::make_unique<RangeObjects>();
        frame = std::make_unique<CMainFrame>(*objects);
        frame->CreateWindowFrame();
    }

    std::unique_ptr<RangeObjects> objects;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(ClockLinkTest, RunsWhileTheLinesAreOpen)
{
    frame->m_socket = std::make_unique<CBVSocket>(frame->Window());
    frame->m_clockPort = 0;  // any free port
    frame->OpenPorts();
    EXPECT_TRUE(frame->m_socket->IsOpen());
    EXPECT_EQ(frame->m_socket->Flags() & 1, 1);  // a server
    EXPECT_GT(frame->m_socket->LocalPort(), 0);
    frame->ClosePorts();
    EXPECT_FALSE(frame->m_socket->IsOpen());
}

}  // namespace

// Mouse messages reach the browser host as clicks, moves, leaves and wheel
// turns, with capture, focus and multiple clicks counted.

#include <gtest/gtest.h>

#include "browser/input_forwarding.h"
#include "recording_host.h"
#include "test_windows.h"

namespace {

// A WM_MOUSEWHEEL wParam: the MK_* bits and the signed delta in the high word.
WPARAM WheelParam(WORD keyState, short delta) {
  return (static_cast<WPARAM>(static_cast<WORD>(delta)) << 16) | keyState;
}

class MouseForwardingTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(window.window(), nullptr); }
  void TearDown() override {
    if (GetCapture() == window.window()) ReleaseCapture();
  }

  // Forwards one message to the message-only window at message time `time`.
  void Send(UINT msg, WPARAM wParam, int x, int y, LONG time = 1000) {
    forwarder.ForwardMouseMessageAt(host, window.window(), msg, wParam, MAKELPARAM(x, y), time);
  }

  TestWindow window = TestWindow::MessageOnly();
  KeyboardState keyboard{{}};
  CefRefPtr<RecordingHost> host = new RecordingHost;
  InputForwarder forwarder;
};

struct ButtonCase {
  const char* what;
  UINT msg;
  cef_mouse_button_type_t button;
  bool mouseUp;
};

const ButtonCase kButtonCases[] = {
    {"left press", WM_LBUTTONDOWN, MBT_LEFT, false},
    {"left release", WM_LBUTTONUP, MBT_LEFT, true},
    {"right press", WM_RBUTTONDOWN, MBT_RIGHT, false},
    {"right release", WM_RBUTTONUP, MBT_RIGHT, true},
    {"middle press", WM_MBUTTONDOWN, MBT_MIDDLE, false},
    {"middle release", WM_MBUTTONUP, MBT_MIDDLE, true},
    {"left double-click message (CS_DBLCLKS) is a press", WM_LBUTTONDBLCLK, MBT_LEFT, false},
};

TEST_F(MouseForwardingTest, ButtonsBecomeClicksAtTheClientPoint) {
  for (const ButtonCase& c : kButtonCases) {
    SCOPED_TRACE(c.what);
    host->clicks.clear();
    EXPECT_FALSE(forwarder.ForwardMouseMessageAt(host, window.window(), c.msg, MK_CONTROL, MAKELPARAM(30, 40), 0));
    ASSERT_EQ(host->clicks.size(), 1u);
    const RecordedClick& click = host->clicks[0];
    EXPECT_EQ(click.event.x, 30);
    EXPECT_EQ(click.event.y, 40);
    EXPECT_EQ(click.event.modifiers, static_cast<uint32_t>(EVENTFLAG_CONTROL_DOWN));
    EXPECT_EQ(click.button, c.button);
    EXPECT_EQ(click.mouseUp, c.mouseUp);
    EXPECT_EQ(click.clickCount, 1);
  }
}

TEST_F(MouseForwardingTest, PointsLeftOfAndAboveTheWindowStayNegative) {
  // Under capture the release can come from outside the client area.
  Send(WM_LBUTTONUP, 0, -5, -7);
  ASSERT_EQ(host->clicks.size(), 1u);
  EXPECT_EQ(host->clicks[0].event.x, -5);
  EXPECT_EQ(host->clicks[0].event.y, -7);
}

TEST_F(MouseForwardingTest, PressTakesCaptureAndFocusAndReleaseGivesCaptureBack) {
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
  EXPECT_EQ(GetCapture(), window.window());
  EXPECT_EQ(GetFocus(), window.window());
  Send(WM_LBUTTONUP, 0, 10, 10);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MouseForwardingTest, DoubleClickCountsTwoOnPressAndRelease) {
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 50, 60, 1000);
  Send(WM_LBUTTONUP, 0, 50, 60, 1050);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 50, 60, 1100);
  Send(WM_LBUTTONUP, 0, 50, 60, 1150);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 50, 60, 1200);
  ASSERT_EQ(host->clicks.size(), 5u);
  const int expected[] = {1, 1, 2, 2, 3};
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(host->clicks[i].clickCount, expected[i]) << "event " << i;
}

enum class Gap { kNone, kAtLimit, kPastLimit };

struct SecondPressCase {
  const char* what;
  Gap dx;
  Gap dy;
  Gap time;
  UINT secondPress;
  int expectedCount;
};

const SecondPressCase kSecondPressCases[] = {
    {"same place, soon after", Gap::kNone, Gap::kNone, Gap::kNone, WM_LBUTTONDOWN, 2},
    {"at the edge of the double-click area and time", Gap::kAtLimit, Gap::kAtLimit, Gap::kAtLimit, WM_LBUTTONDOWN,
     2},
    {"one pixel too far sideways", Gap::kPastLimit, Gap::kNone, Gap::kNone, WM_LBUTTONDOWN, 1},
    {"one pixel too far down", Gap::kNone, Gap::kPastLimit, Gap::kNone, WM_LBUTTONDOWN, 1},
    {"one millisecond too late", Gap::kNone, Gap::kNone, Gap::kPastLimit, WM_LBUTTONDOWN, 1},
    {"another button", Gap::kNone, Gap::kNone, Gap::kNone, WM_RBUTTONDOWN, 1},
};

int Offset(Gap gap, int limit) { return gap == Gap::kNone ? 0 : gap == Gap::kAtLimit ? limit : limit + 1; }

TEST_F(MouseForwardingTest, SecondPressCountsTwoOnlyWithinTheSystemDoubleClickLimits) {
  const int halfWidth = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
  const int halfHeight = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
  const int doubleClickTime = static_cast<int>(GetDoubleClickTime());
  for (const SecondPressCase& c : kSecondPressCases) {
    SCOPED_TRACE(c.what);
    InputForwarder fresh;
    host->clicks.clear();
    fresh.ForwardMouseMessageAt(host, window.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100), 5000);
    fresh.ForwardMouseMessageAt(host, window.window(), WM_LBUTTONUP, 0, MAKELPARAM(100, 100), 5000);
    fresh.ForwardMouseMessageAt(host, window.window(), c.secondPress, 0,
                                MAKELPARAM(100 + Offset(c.dx, halfWidth), 100 + Offset(c.dy, halfHeight)),
                                5000 + Offset(c.time, doubleClickTime));
    ASSERT_EQ(host->clicks.size(), 3u);
    EXPECT_EQ(host->clicks[2].clickCount, c.expectedCount);
  }
}

TEST_F(MouseForwardingTest, MovingOutOfTheDoubleClickAreaBetweenPressesStartsAgain) {
  const int halfWidth = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 100, 1000);
  Send(WM_LBUTTONUP, 0, 100, 100, 1010);
  Send(WM_MOUSEMOVE, 0, 100 + halfWidth + 1, 100, 1020);
  Send(WM_MOUSEMOVE, 0, 100, 100, 1030);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 100, 1040);
  ASSERT_EQ(host->clicks.size(), 3u);
  EXPECT_EQ(host->clicks[2].clickCount, 1);
}

TEST_F(MouseForwardingTest, MessageClockWrappingBetweenPressesStillCounts) {
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 10, 10, 0x7FFFFFF0);
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 10, 10, static_cast<LONG>(0x80000010u));  // 32 ms later
  ASSERT_EQ(host->clicks.size(), 2u);
  EXPECT_EQ(host->clicks[1].clickCount, 2);
}

TEST_F(MouseForwardingTest, MoveBecomesMouseMove) {
  Send(WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, 12, 34);
  ASSERT_EQ(host->moves.size(), 1u);
  EXPECT_EQ(host->moves[0].event.x, 12);
  EXPECT_EQ(host->moves[0].event.y, 34);
  EXPECT_EQ(host->moves[0].event.modifiers,
            static_cast<uint32_t>(EVENTFLAG_LEFT_MOUSE_BUTTON | EVENTFLAG_SHIFT_DOWN));
  EXPECT_FALSE(host->moves[0].mouseLeave);
}

TEST_F(MouseForwardingTest, LeaveBecomesMouseMoveWithLeave) {
  Send(WM_MOUSEMOVE, 0, 12, 34);
  Send(WM_MOUSELEAVE, 0, 0, 0);
  ASSERT_EQ(host->moves.size(), 2u);
  EXPECT_TRUE(host->moves[1].mouseLeave);
}

TEST_F(MouseForwardingTest, WheelOverAnotherWindowIsDropped) {
  // No point is ever over a message-only window.
  Send(WM_MOUSEWHEEL, WheelParam(0, WHEEL_DELTA), 300, 400);
  EXPECT_TRUE(host->wheels.empty());
}

// The wheel of the window under the point: vertical, or sideways with Shift.
TEST(MouseWheelTest, WheelOverTheWindowScrollsByTheUnscaledDelta) {
  const POINT point{5, 5};
  HWND under = WindowFromPoint(point);  // the desktop where no window is open
  ASSERT_NE(under, nullptr);
  POINT client = point;
  ScreenToClient(under, &client);
  CefRefPtr<RecordingHost> host = new RecordingHost;
  InputForwarder forwarder;
  {
    KeyboardState keyboard({});
    forwarder.ForwardMouseMessage(host, under, WM_MOUSEWHEEL, WheelParam(MK_CONTROL, -2 * WHEEL_DELTA),
                                  MAKELPARAM(point.x, point.y));
  }
  {
    KeyboardState keyboard({VK_SHIFT});
    forwarder.ForwardMouseMessage(host, under, WM_MOUSEWHEEL, WheelParam(MK_SHIFT, WHEEL_DELTA),
                                  MAKELPARAM(point.x, point.y));
  }
  ASSERT_EQ(host->wheels.size(), 2u);
  EXPECT_EQ(host->wheels[0].event.x, client.x);
  EXPECT_EQ(host->wheels[0].event.y, client.y);
  EXPECT_EQ(host->wheels[0].event.modifiers, static_cast<uint32_t>(EVENTFLAG_CONTROL_DOWN));
  EXPECT_EQ(host->wheels[0].deltaX, 0);
  EXPECT_EQ(host->wheels[0].deltaY, -240);
  EXPECT_EQ(host->wheels[1].deltaX, 120);
  EXPECT_EQ(host->wheels[1].deltaY, 0);
}

TEST(MouseWheelTest, WheelPointIsConvertedToClientCoordinates) {
  // Left of x = 200, where the program's own window tests put theirs.
  TestWindow window = TestWindow::Popup(0, 20, 300, 150, 100);
  if (!window.window()) GTEST_SKIP() << "no display for a top-level window";
  KeyboardState keyboard({});
  CefRefPtr<RecordingHost> host = new RecordingHost;
  InputForwarder forwarder;
  forwarder.ForwardMouseMessage(host, window.window(), WM_MOUSEWHEEL, WheelParam(0, WHEEL_DELTA),
                                MAKELPARAM(30, 320));
  ASSERT_EQ(host->wheels.size(), 1u);
  EXPECT_EQ(host->wheels[0].event.x, 10);
  EXPECT_EQ(host->wheels[0].event.y, 20);
  EXPECT_EQ(host->wheels[0].deltaY, 120);
}

TEST(MouseForwardingWithoutHostTest, NothingHappens) {
  TestWindow window = TestWindow::MessageOnly();
  InputForwarder forwarder;
  EXPECT_FALSE(forwarder.ForwardMouseMessage(nullptr, window.window(), WM_LBUTTONDOWN, 0, 0));
  EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace

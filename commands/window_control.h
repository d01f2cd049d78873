#pragma once
// What the page's window commands need from the window program. tarnwick-cli
// has no window: there the commands act on nothing and answer as usual.

class WindowControl {
 public:
  virtual ~WindowControl() = default;

  // Moves and sizes the window (no change of z-order).
  virtual void Place(int x, int y, int width, int height) = 0;
  // Shows or hides it; a shown window is brought to the foreground.
  virtual void Show(bool show) = 0;
  // Minimises it later, through the message queue, so the reply goes first.
  virtual void PostMinimize() = 0;
  // While set, the window follows the mouse with the left button down.
  virtual void SetDragging(bool dragging) = 0;
  // Removes the tray icon and ends the process at once; never returns.
  [[noreturn]] virtual void EndProgram() = 0;
};

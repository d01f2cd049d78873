// Input for the page: the host's mouse, keyboard and IME calls as DevTools
// input events.

#include "engine/runtime/engine_objects.h"

using Json = nlohmann::json;

namespace {

// The DevTools modifier bits: Alt 1, Ctrl 2, Meta 4, Shift 8.
int Modifiers(uint32_t flags) {
  int modifiers = 0;
  if (flags & EVENTFLAG_ALT_DOWN) modifiers |= 1;
  if (flags & EVENTFLAG_CONTROL_DOWN) modifiers |= 2;
  if (flags & EVENTFLAG_COMMAND_DOWN) modifiers |= 4;
  if (flags & EVENTFLAG_SHIFT_DOWN) modifiers |= 8;
  return modifiers;
}

// The DevTools "buttons" bits: left 1, right 2, middle 4.
int PressedButtons(uint32_t flags) {
  int buttons = 0;
  if (flags & EVENTFLAG_LEFT_MOUSE_BUTTON) buttons |= 1;
  if (flags & EVENTFLAG_RIGHT_MOUSE_BUTTON) buttons |= 2;
  if (flags & EVENTFLAG_MIDDLE_MOUSE_BUTTON) buttons |= 4;
  return buttons;
}

const char* ButtonName(cef_mouse_button_type_t type) {
  switch (type) {
    case MBT_LEFT: return "left";
    case MBT_MIDDLE: return "middle";
    case MBT_RIGHT: return "right";
  }
  return "none";
}

int ButtonBit(cef_mouse_button_type_t type) { return type == MBT_LEFT ? 1 : type == MBT_RIGHT ? 2 : 4; }

const char* ButtonOfBits(int buttons) {
  if (buttons & 1) return "left";
  if (buttons & 2) return "right";
  if (buttons & 4) return "middle";
  return "none";
}

}  // namespace

void BrowserImpl::DispatchMouse(const char* type, const CefMouseEvent& event, const char* button, int buttons,
                                int clickCount, int deltaX, int deltaY) {
  Json params = {{"type", type},       {"x", event.x},         {"y", event.y},
                 {"modifiers", Modifiers(event.modifiers)}, {"button", button}, {"buttons", buttons},
                 {"clickCount", clickCount}};
  if (deltaX || deltaY) {
    // Wheel deltas come in Windows units (120 a notch, up positive); the page
    // scrolls by pixels, down positive.
    params["deltaX"] = -deltaX;
    params["deltaY"] = -deltaY;
  }
  Send("Input.dispatchMouseEvent", std::move(params));
}

void BrowserImpl::SendMouseClickEvent(const CefMouseEvent& event, cef_mouse_button_type_t type, bool mouseUp,
                                      int clickCount) {
  if (mouseUp) {
    pressedButtons_ &= ~ButtonBit(type);
  } else {
    pressedButtons_ |= ButtonBit(type);
  }
  DispatchMouse(mouseUp ? "mouseReleased" : "mousePressed", event, ButtonName(type),
                pressedButtons_ | PressedButtons(event.modifiers), clickCount);
}

void BrowserImpl::SendMouseMoveEvent(const CefMouseEvent& event, bool mouseLeave) {
  const int buttons = PressedButtons(event.modifiers);
  if (mouseLeave) {
    // Outside the view: the page sees the pointer leave.
    CefMouseEvent outside = event;
    outside.x = -1;
    outside.y = -1;
    DispatchMouse("mouseMoved", outside, "none", buttons, 0);
    return;
  }
  DispatchMouse("mouseMoved", event, ButtonOfBits(buttons), buttons, 0);
}

void BrowserImpl::SendMouseWheelEvent(const CefMouseEvent& event, int deltaX, int deltaY) {
  DispatchMouse("mouseWheel", event, "none", PressedButtons(event.modifiers), 0, deltaX, deltaY);
}

void BrowserImpl::SendCaptureLostEvent() {
  // Whatever button the page still thinks is down goes up.
  for (cef_mouse_button_type_t type : {MBT_LEFT, MBT_MIDDLE, MBT_RIGHT}) {
    if (pressedButtons_ & ButtonBit(type)) SendMouseClickEvent(CefMouseEvent{-1, -1, 0}, type, true, 1);
  }
  pressedButtons_ = 0;
}

void BrowserImpl::SendKeyEvent(const CefKeyEvent& event) {
  Json params = {{"modifiers", Modifiers(event.modifiers)},
                 {"windowsVirtualKeyCode", event.windows_key_code},
                 {"nativeVirtualKeyCode", event.native_key_code},
                 {"isSystemKey", event.is_system_key != 0},
                 {"isKeypad", (event.modifiers & EVENTFLAG_IS_KEY_PAD) != 0},
                 {"autoRepeat", (event.modifiers & EVENTFLAG_IS_REPEAT) != 0}};
  if (event.modifiers & EVENTFLAG_IS_LEFT) params["location"] = 1;
  if (event.modifiers & EVENTFLAG_IS_RIGHT) params["location"] = 2;
  switch (event.type) {
    case KEYEVENT_RAWKEYDOWN: params["type"] = "rawKeyDown"; break;
    case KEYEVENT_KEYDOWN: params["type"] = "keyDown"; break;
    case KEYEVENT_KEYUP: params["type"] = "keyUp"; break;
    case KEYEVENT_CHAR: {
      params["type"] = "char";
      const std::wstring text(1, event.character);
      const std::wstring unmodified(1, event.unmodified_character ? event.unmodified_character : event.character);
      params["text"] = CefString(text).ToString();
      params["unmodifiedText"] = CefString(unmodified).ToString();
      break;
    }
  }
  Send("Input.dispatchKeyEvent", std::move(params));
}

void BrowserImpl::ImeSetComposition(const CefString& text, const std::vector<CefCompositionUnderline>&,
                                    const CefRange&, const CefRange& selection_range) {
  compositionText_ = text.ToString();
  Send("Input.imeSetComposition", {{"text", text.ToString()},
                                   {"selectionStart", selection_range.from},
                                   {"selectionEnd", selection_range.to}});
}

void BrowserImpl::ImeCommitText(const CefString& text, const CefRange&, int) {
  compositionText_.clear();
  Send("Input.insertText", {{"text", text.ToString()}});
}

void BrowserImpl::ImeFinishComposingText(bool) {
  // Whatever is being composed stays as typed text.
  if (compositionText_.empty()) return;
  Send("Input.insertText", {{"text", compositionText_}});
  compositionText_.clear();
}

void BrowserImpl::ImeCancelComposition() {
  compositionText_.clear();
  Send("Input.imeSetComposition", {{"text", ""}, {"selectionStart", 0}, {"selectionEnd", 0}});
}

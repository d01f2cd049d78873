// Input for the page: the host's mouse, keyboard and IME calls as DevTools
// input events.

#include <cmath>

#include "engine/runtime/engine_objects.h"
#include "engine/runtime/engine_runtime.h"

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

// Where the characters of the focused field's composition are, in CSS pixels
// of the top document's viewport: [start, [[x, y, width, height], ...]] or
// null. The composition is the `length` units before the field's selection
// minus `selectionFrom`. Text fields are measured with a hidden copy of the
// field laid out the same way; editable elements with a Range over the text
// node at the selection. Approximate by design: the rectangles only place
// the IME's candidate list.
constexpr const char* kMeasureComposition = R"JS((function (length, selectionFrom) {
  let doc = document, dx = 0, dy = 0, el = doc.activeElement;
  while (el && (el.tagName === 'IFRAME' || el.tagName === 'FRAME')) {
    let inner = null;
    try { inner = el.contentDocument; } catch (e) {}
    if (!inner) return null;
    const box = el.getBoundingClientRect();
    dx += box.left + el.clientLeft;
    dy += box.top + el.clientTop;
    doc = inner;
    el = doc.activeElement;
  }
  if (!el) return null;
  const rects = [];
  const push = (r) => rects.push([r.left + dx, r.top + dy, r.width, r.height]);
  if ((el.tagName === 'INPUT' || el.tagName === 'TEXTAREA') && typeof el.selectionStart === 'number') {
    const value = el.value;
    const start = Math.max(0, el.selectionStart - selectionFrom);
    const style = doc.defaultView.getComputedStyle(el);
    const box = el.getBoundingClientRect();
    const mirror = doc.createElement('div');
    for (const name of style) mirror.style.setProperty(name, style.getPropertyValue(name));
    Object.assign(mirror.style, {
      position: 'fixed', left: box.left + 'px', top: box.top + 'px', width: box.width + 'px',
      height: box.height + 'px', boxSizing: 'border-box', margin: '0', visibility: 'hidden',
      overflow: 'hidden', display: 'block', pointerEvents: 'none',
      whiteSpace: el.tagName === 'INPUT' ? 'pre' : 'pre-wrap'});
    if (el.tagName === 'INPUT') {
      // A text input centres its one line vertically.
      const inner = el.clientHeight - parseFloat(style.paddingTop) - parseFloat(style.paddingBottom);
      mirror.style.lineHeight = Math.max(inner, 0) + 'px';
    }
    mirror.appendChild(doc.createTextNode(value.slice(0, start)));
    const spans = [];
    for (let i = start; i < start + length && i < value.length; ++i) {
      const span = doc.createElement('span');
      span.textContent = value[i];
      mirror.appendChild(span);
      spans.push(span);
    }
    mirror.appendChild(doc.createTextNode(value.slice(start + length) + ' '));
    (doc.body || doc.documentElement).appendChild(mirror);
    mirror.scrollLeft = el.scrollLeft;
    mirror.scrollTop = el.scrollTop;
    for (const span of spans) push(span.getBoundingClientRect());
    mirror.remove();
    return [start, rects];
  }
  const selection = doc.getSelection();
  if (!selection || !selection.rangeCount) return null;
  const caret = selection.getRangeAt(0);
  const node = caret.startContainer;
  if (node.nodeType !== Node.TEXT_NODE) return null;
  const start = Math.max(0, caret.startOffset - selectionFrom);
  const range = doc.createRange();
  for (let i = start; i < start + length && i < node.length; ++i) {
    range.setStart(node, i);
    range.setEnd(node, i + 1);
    push(range.getBoundingClientRect());
  }
  return [start, rects];
}))JS";

// The engine's "no range" (UINT32_MAX, UINT32_MAX) is left out of a command.
void AddRange(nlohmann::json& params, const CefRange& range, const char* from, const char* to) {
  if (range.from == UINT32_MAX && range.to == UINT32_MAX) return;
  params[from] = range.from;
  params[to] = range.to;
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
                                    const CefRange& replacement_range, const CefRange& selection_range) {
  // The protocol draws its own underline; the IME's clause underlines have no place in it.
  compositionText_ = text.ToString();
  Json params = {{"text", compositionText_},
                 {"selectionStart", selection_range.from},
                 {"selectionEnd", selection_range.to}};
  AddRange(params, replacement_range, "replacementStart", "replacementEnd");
  Send("Input.imeSetComposition", std::move(params));
  ++compositionChange_;
  if (!text.empty()) MeasureComposition(static_cast<uint32_t>(text.length()), selection_range.from);
}

void BrowserImpl::ImeCommitText(const CefString& text, const CefRange& replacement_range, int) {
  compositionText_.clear();
  ++compositionChange_;
  Json params = {{"text", text.ToString()}};
  AddRange(params, replacement_range, "replacementStart", "replacementEnd");
  Send("Input.insertText", std::move(params));
}

void BrowserImpl::ImeFinishComposingText(bool) {
  // Whatever is being composed stays as typed text.
  if (compositionText_.empty()) return;
  ++compositionChange_;
  Send("Input.insertText", {{"text", compositionText_}});
  compositionText_.clear();
}

void BrowserImpl::ImeCancelComposition() {
  compositionText_.clear();
  ++compositionChange_;
  Send("Input.imeSetComposition", {{"text", ""}, {"selectionStart", 0}, {"selectionEnd", 0}});
}

void BrowserImpl::MeasureComposition(uint32_t length, uint32_t selectionFrom) {
  CdpConnection* connection = EngineRuntime::Get().connection();
  if (!connection || closed_) return;
  const std::string expression =
      std::string(kMeasureComposition) + "(" + std::to_string(length) + ", " + std::to_string(selectionFrom) + ")";
  CefRefPtr<BrowserImpl> self = this;
  const uint64_t change = compositionChange_;
  // Sent after the composition in the same session, so the page measures the new one.
  connection->Send(
      "Runtime.evaluate", {{"expression", expression}, {"returnByValue", true}}, sessionId_,
      [self, change, length](const Json& result, const Json* error) {
        if (error || self->closed_ || change != self->compositionChange_) return;
        const Json& value = result.contains("result") ? result["result"].value("value", Json()) : Json();
        if (!value.is_array() || value.size() != 2 || !value[0].is_number_unsigned() || !value[1].is_array()) return;
        CefRefPtr<CefRenderHandler> render = self->client_ ? self->client_->GetRenderHandler() : nullptr;
        if (!render) return;
        // CSS pixels to view pixels: the page is drawn at the zoom factor.
        const double zoom = std::pow(1.2, self->zoomLevel_);
        std::vector<CefRect> bounds;
        for (const Json& r : value[1]) {
          if (!r.is_array() || r.size() != 4) return;
          for (const Json& number : r)
            if (!number.is_number()) return;
          const double x = r[0].get<double>() * zoom, y = r[1].get<double>() * zoom;
          const double w = r[2].get<double>() * zoom, h = r[3].get<double>() * zoom;
          bounds.emplace_back(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)),
                              static_cast<int>(std::lround(w)), static_cast<int>(std::lround(h)));
        }
        const uint32_t start = value[0].get<uint32_t>();
        render->OnImeCompositionRangeChanged(self.get(), CefRange(start, start + length), bounds);
      });
}

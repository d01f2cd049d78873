#include <cstring>

#include "tests/engine/engine_fixture.h"

bool RecordingClient::OnProcessMessageReceived(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame> frame, cef_process_id_t,
                                               CefRefPtr<CefProcessMessage> message) {
  if (onMessage) {
    onMessage(frame, message);
    return true;
  }
  ReceivedMessage received;
  received.name = message->GetName().ToString();
  received.fromMainFrame = frame && frame->IsMain();
  CefRefPtr<CefListValue> list = message->GetArgumentList();
  for (size_t i = 0; i < list->GetSize(); ++i) {
    switch (list->GetType(i)) {
      case VTYPE_INT: received.entries.push_back("i:" + std::to_string(list->GetInt(i))); break;
      case VTYPE_DOUBLE: {
        char text[64];
        snprintf(text, sizeof(text), "d:%.17g", list->GetDouble(i));
        received.entries.push_back(text);
        break;
      }
      case VTYPE_BOOL: received.entries.push_back(list->GetBool(i) ? "b:true" : "b:false"); break;
      case VTYPE_STRING: received.entries.push_back("s:" + list->GetString(i).ToString()); break;
      case VTYPE_NULL: received.entries.push_back("null"); break;
      default: received.entries.push_back("?"); break;
    }
  }
  messages.push_back(std::move(received));
  return true;
}

void RecordingClient::GetViewRect(CefRefPtr<CefBrowser>, CefRect& rect) { rect = CefRect(0, 0, 160, 100); }

void RecordingClient::OnPaint(CefRefPtr<CefBrowser>, cef_paint_element_type_t, const std::vector<CefRect>&,
                              const void* buffer, int width, int height) {
  lastFrame.assign(static_cast<const uint8_t*>(buffer), static_cast<const uint8_t*>(buffer) + width * height * 4);
  frameWidth = width;
  frameHeight = height;
  ++frames;
}

void RecordingClient::OnLoadEnd(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame> frame, int) {
  if (frame->IsMain()) ++loadsEnded;
}

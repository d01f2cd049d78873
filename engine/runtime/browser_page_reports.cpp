// What the page stub reports besides function calls: the pointer's cursor and
// requests for a context menu.

#include <windows.h>

#include <map>

#include "engine/runtime/engine_objects.h"
#include "engine/runtime/menu_model.h"

using Json = nlohmann::json;

namespace {

struct CursorKind {
  cef_cursor_type_t type;
  LPCSTR systemCursor;  // IDC_* resource
};

// CSS cursor keywords and the system cursor each is drawn with.
const std::map<std::string, CursorKind>& CursorKinds() {
  static const std::map<std::string, CursorKind> kinds = {
      {"default", {CT_POINTER, IDC_ARROW}},         {"pointer", {CT_HAND, IDC_HAND}},
      {"text", {CT_IBEAM, IDC_IBEAM}},              {"vertical-text", {CT_VERTICALTEXT, IDC_IBEAM}},
      {"wait", {CT_WAIT, IDC_WAIT}},                {"progress", {CT_PROGRESS, IDC_APPSTARTING}},
      {"help", {CT_HELP, IDC_HELP}},                {"crosshair", {CT_CROSS, IDC_CROSS}},
      {"move", {CT_MOVE, IDC_SIZEALL}},             {"all-scroll", {CT_MOVE, IDC_SIZEALL}},
      {"not-allowed", {CT_NOTALLOWED, IDC_NO}},     {"no-drop", {CT_NODROP, IDC_NO}},
      {"grab", {CT_GRAB, IDC_HAND}},                {"grabbing", {CT_GRABBING, IDC_HAND}},
      {"e-resize", {CT_EASTRESIZE, IDC_SIZEWE}},    {"w-resize", {CT_WESTRESIZE, IDC_SIZEWE}},
      {"ew-resize", {CT_EASTWESTRESIZE, IDC_SIZEWE}}, {"col-resize", {CT_COLUMNRESIZE, IDC_SIZEWE}},
      {"n-resize", {CT_NORTHRESIZE, IDC_SIZENS}},   {"s-resize", {CT_SOUTHRESIZE, IDC_SIZENS}},
      {"ns-resize", {CT_NORTHSOUTHRESIZE, IDC_SIZENS}}, {"row-resize", {CT_ROWRESIZE, IDC_SIZENS}},
      {"ne-resize", {CT_NORTHEASTRESIZE, IDC_SIZENESW}}, {"sw-resize", {CT_SOUTHWESTRESIZE, IDC_SIZENESW}},
      {"nesw-resize", {CT_NORTHEASTSOUTHWESTRESIZE, IDC_SIZENESW}},
      {"nw-resize", {CT_NORTHWESTRESIZE, IDC_SIZENWSE}}, {"se-resize", {CT_SOUTHEASTRESIZE, IDC_SIZENWSE}},
      {"nwse-resize", {CT_NORTHWESTSOUTHEASTRESIZE, IDC_SIZENWSE}},
      {"none", {CT_NONE, nullptr}},
  };
  return kinds;
}

// The editing commands a text field offers.
struct EditCommand {
  int id;
  const wchar_t* label;
};
const EditCommand kEditCommands[] = {
    {MENU_ID_UNDO, L"&Undo"},   {MENU_ID_REDO, L"&Redo"},   {0, nullptr},
    {MENU_ID_CUT, L"Cu&t"},     {MENU_ID_COPY, L"&Copy"},   {MENU_ID_PASTE, L"&Paste"},
    {MENU_ID_DELETE, L"&Delete"}, {0, nullptr},             {MENU_ID_SELECT_ALL, L"Select &All"},
};

class ContextMenuParamsImpl final : public CefContextMenuParams {
 public:
  ContextMenuParamsImpl(int x, int y, bool editable) : x_(x), y_(y), editable_(editable) {}
  int GetXCoord() override { return x_; }
  int GetYCoord() override { return y_; }
  cef_context_menu_type_flags_t GetTypeFlags() override {
    return static_cast<cef_context_menu_type_flags_t>(CM_TYPEFLAG_PAGE | (editable_ ? CM_TYPEFLAG_EDITABLE : 0));
  }
  bool IsEditable() override { return editable_; }

 private:
  int x_, y_;
  bool editable_;
  IMPLEMENT_REFCOUNTING(ContextMenuParamsImpl);
};

}  // namespace

void BrowserImpl::OnCursorReport(const std::string& cssCursor) {
  CefRefPtr<CefDisplayHandler> display = client_ ? client_->GetDisplayHandler() : nullptr;
  if (!display) return;
  const auto& kinds = CursorKinds();
  const auto found = kinds.find(cssCursor);
  const CursorKind kind = found != kinds.end() ? found->second : CursorKind{CT_POINTER, IDC_ARROW};
  const HCURSOR cursor = kind.systemCursor ? LoadCursorA(nullptr, kind.systemCursor) : nullptr;
  if (!display->OnCursorChange(this, cursor, kind.type, CefCursorInfo{}) && parent_) SetCursor(cursor);
}

void BrowserImpl::OnContextMenuReport(const std::string& frameId, const Json& report) {
  CefRefPtr<CefContextMenuHandler> handler = client_ ? client_->GetContextMenuHandler() : nullptr;
  CefRefPtr<FrameImpl> frame = FrameById(frameId);
  if (!frame) frame = FrameById(targetId_);
  const int x = report.value("x", 0), y = report.value("y", 0);
  CefRefPtr<CefContextMenuParams> params = new ContextMenuParamsImpl(x, y, report.value("editable", false));
  CefRefPtr<MenuModelImpl> model = new MenuModelImpl();
  if (params->IsEditable()) {
    for (const EditCommand& command : kEditCommands)
      command.label ? model->AddItem(command.id, command.label) : model->AddSeparator();
  }
  if (handler) handler->OnBeforeContextMenu(this, frame.get(), params, model.get());
  if (model->GetCount() == 0) return;

  // Shown as a native menu at the pointer, owned by the host's window.
  CefRefPtr<CefRenderHandler> render = client_ ? client_->GetRenderHandler() : nullptr;
  int screenX = x, screenY = y;
  if (!parent_ || !render || !render->GetScreenPoint(this, x, y, screenX, screenY)) return;
  HMENU menu = CreatePopupMenu();
  for (size_t i = 0; i < model->GetCount(); ++i) {
    const int id = model->GetCommandIdAt(i);
    if (id == MenuModelImpl::kSeparator) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(id), model->GetLabelAt(i).c_str());
    }
  }
  const int chosen = static_cast<int>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screenX, screenY, 0, parent_, nullptr));
  DestroyMenu(menu);
  if (chosen <= 0) return;
  if (handler && handler->OnContextMenuCommand(this, frame.get(), params, chosen, 0)) return;
  switch (chosen) {
    case MENU_ID_UNDO: frame->Undo(); break;
    case MENU_ID_REDO: frame->Redo(); break;
    case MENU_ID_CUT: frame->Cut(); break;
    case MENU_ID_COPY: frame->Copy(); break;
    case MENU_ID_PASTE: frame->Paste(); break;
    case MENU_ID_DELETE: frame->Delete(); break;
    case MENU_ID_SELECT_ALL: frame->SelectAll(); break;
    default: break;
  }
}

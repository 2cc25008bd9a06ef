#include "forms/win32/form_runtime.h"

#include <ole2.h>

#include <algorithm>
#include <string>

#include "forms/byte_io.h"
#include "forms/properties.h"
#include "forms/stored_forms.h"
#include "runtime/errors.h"
#include "runtime/termination.h"
#include "runtime/win32_runtime.h"
#include "runtime/win32_text.h"

namespace quillet::forms::win32 {
namespace {

constexpr wchar_t kFormClass[] = L"_QF_Window";
constexpr wchar_t kHiddenOwnerClass[] = L"_QF_HideOwner";

void register_class(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW window_class{sizeof window_class};
  window_class.style = CS_DBLCLKS;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.lpszClassName = name;
  RegisterClassExW(&window_class);
}

// The program's directory becomes the current directory, as documents and scripts are
// looked up from there.
void enter_program_directory() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring directory(path, length);
  directory.resize(directory.find_last_of(L'\\') == std::wstring::npos ? 0 : directory.find_last_of(L'\\'));
  if (!directory.empty()) SetCurrentDirectoryW(directory.c_str());
}

DWORD window_style(const WindowProperties& properties) {
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  if (properties.border == 1) style |= WS_THICKFRAME;
  if (properties.minimise_box != 0) style |= WS_MINIMIZEBOX;
  if (properties.maximise_box != 0) style |= WS_MAXIMIZEBOX;
  return style;
}

HBRUSH background_brush(std::uint32_t colour) {
  return colour == kButtonFace ? GetSysColorBrush(COLOR_BTNFACE) : CreateSolidBrush(colour);
}

// The image of the given size from an icon file (its directory, then the images), or null.
HICON icon_from_file(std::string_view file, int size) {
  ByteReader in(file);
  in.skip(4);  // reserved, type
  const std::uint16_t count = in.half_word();
  for (std::uint16_t i = 0; i < count && !in.failed(); ++i) {
    const std::string_view entry = in.take(16);
    if (entry.size() != 16) return nullptr;
    const int width = static_cast<unsigned char>(entry[0]) == 0 ? 256 : static_cast<unsigned char>(entry[0]);
    ByteReader fields(entry.substr(8));
    const std::uint32_t bytes = fields.word();
    const std::uint32_t offset = fields.word();
    if (width != size || offset > file.size() || bytes > file.size() - offset) continue;
    auto* image = reinterpret_cast<BYTE*>(const_cast<char*>(file.data() + offset));
    return CreateIconFromResourceEx(image, bytes, TRUE, 0x00030000, size, size, LR_DEFAULTCOLOR);
  }
  return nullptr;
}

}  // namespace

FormRuntime::FormRuntime() {
  OleInitialize(nullptr);
  enter_program_directory();
  register_class(kFormClass, form_procedure);
  register_class(kHiddenOwnerClass, hidden_procedure);
  hidden_owner_ = CreateWindowExW(0, kHiddenOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
  runtime::win32::set_runtime_window(hidden_owner_);
  std::optional<FormBlock> block = read_form_block(stored_form_block());
  if (!block) runtime::raise_error(0, "载入启动窗口失败");
  block_ = std::move(*block);
  runtime::add_shutdown_step(runtime::ShutdownStage::CloseForms, [] { instance().close_all_forms(); });
  runtime::add_shutdown_step(runtime::ShutdownStage::ReleaseResources, [] { OleUninitialize(); });
}

FormRuntime& FormRuntime::initialise() { return instance(); }

FormRuntime& FormRuntime::instance() {
  static FormRuntime* runtime = new FormRuntime;  // lives until the process ends
  return *runtime;
}

void FormRuntime::register_handler(std::uint32_t reference, EventHandler handler) {
  if (handler) {
    handlers_[reference] = std::move(handler);
  } else {
    handlers_.erase(reference);  // an empty handler means none
  }
}

FormRuntime::OpenForm* FormRuntime::open_form(std::uint32_t form_id) {
  for (auto& form : open_) {
    if (form->form_id == form_id) return form.get();
  }
  return nullptr;
}

FormRuntime::OpenForm* FormRuntime::open_form(HWND window) {
  for (auto& form : open_) {
    if (form->window == window) return form.get();
  }
  return nullptr;
}

HWND FormRuntime::window_of(std::uint32_t form_id) const {
  for (const auto& form : open_) {
    if (form->form_id == form_id) return form->window;
  }
  return nullptr;
}

bool FormRuntime::load_form(std::uint32_t form_id, HWND owner) {
  if (OpenForm* open = open_form(form_id); open != nullptr && !open->closing) {
    if (IsIconic(open->window)) {
      ShowWindow(open->window, SW_RESTORE);
    } else {
      SetForegroundWindow(open->window);
    }
    return true;
  }
  const FormRecord* record = form(form_id);
  if (record == nullptr || (owner != nullptr && !IsWindow(owner))) return false;
  const ControlRecord& window_unit = *record->units[0].control();
  const std::optional<WindowProperties> properties = decode_properties<WindowProperties>(window_unit.properties);
  if (!properties) return false;

  auto open = std::make_unique<OpenForm>();
  open->form_id = form_id;
  open->menu = walk_menu(*record);
  open->accelerators = build_accelerators(open->menu);
  open->background = background_brush(properties->background_colour);
  MenuBar menu_bar = build_menu_bar(open->menu);

  Rect rect = window_unit.rect;
  if (properties->start_position == 1) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    rect.left = work.left + (work.right - work.left - rect.width) / 2;
    rect.top = work.top + (work.bottom - work.top - rect.height) / 2;
  }
  OpenForm* form_state = open.get();
  open_.push_back(std::move(open));
  const std::wstring title = runtime::win32::widen(properties->title);
  HWND window = CreateWindowExW(properties->border == 2 ? WS_EX_DLGMODALFRAME : 0, kFormClass, title.c_str(),
                                window_style(*properties), rect.left, rect.top, rect.width, rect.height, owner,
                                menu_bar.get(), GetModuleHandleW(nullptr), form_state);
  if (window == nullptr) {
    open_.erase(std::find_if(open_.begin(), open_.end(), [form_state](const auto& f) { return f.get() == form_state; }));
    return false;
  }
  menu_bar.release();  // the window owns its menu now
  if (!properties->icon.empty()) {
    form_state->big_icon = icon_from_file(properties->icon, 32);
    form_state->small_icon = icon_from_file(properties->icon, 16);
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(form_state->big_icon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(form_state->small_icon));
  }
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);

  // Created, then shown and resized, each only while the window still exists.
  raise_event(form_id, 0, kEventCreated);
  if (IsWindow(window)) raise_event(form_id, 0, kEventShown);
  if (IsWindow(window)) raise_event(form_id, 0, kEventResized);
  if (OpenForm* still = open_form(window)) still->created = true;
  return true;
}

void FormRuntime::close_form(std::uint32_t form_id, bool forced) {
  OpenForm* form_state = open_form(form_id);
  if (form_state == nullptr || form_state->closing) return;
  const HWND window = form_state->window;
  if (!forced) {
    for (std::int32_t question : {kEventBeforeCloseQuery, kEventCloseQuery}) {
      const EventNotice answer = raise_event(form_id, 0, question);
      if (answer.handled && answer.result == 0) return;
      if (open_form(window) == nullptr) return;  // the handler closed it already
    }
  }
  open_form(window)->closing = true;
  raise_event(form_id, 0, kEventDestroying);
  if (IsWindow(window)) DestroyWindow(window);
}

void FormRuntime::close_all_forms() {
  while (!open_.empty()) {
    const std::size_t before = open_.size();
    close_form(open_.back()->form_id, true);
    if (open_.size() == before) forget(open_.back()->window);  // a window that would not go
  }
}

void FormRuntime::forget(HWND window) {
  const auto found = std::find_if(open_.begin(), open_.end(), [window](const auto& form) { return form->window == window; });
  if (found == open_.end()) return;
  if ((*found)->background != GetSysColorBrush(COLOR_BTNFACE)) DeleteObject((*found)->background);
  if ((*found)->big_icon != nullptr) DestroyIcon((*found)->big_icon);
  if ((*found)->small_icon != nullptr) DestroyIcon((*found)->small_icon);
  open_.erase(found);
  if (open_.empty() && running_) PostQuitMessage(0);
}

void FormRuntime::link_events(std::uint32_t form_id, std::uint32_t unit_id, std::uint32_t target_id) {
  auto found = std::find_if(block_.forms.begin(), block_.forms.end(), [form_id](const FormRecord& f) { return f.id == form_id; });
  if (found == block_.forms.end()) return;
  FormRecord& record = *found;
  if (target_id == 0 && unit_id == record.units[0].id) {
    for (UnitRecord& unit : record.units) unit.shared_events = 0;
    return;
  }
  const UnitRecord* target = target_id != 0 ? record.find_unit(target_id) : nullptr;
  for (UnitRecord& unit : record.units) {
    if (unit.id != unit_id) continue;
    if (target_id == 0) unit.shared_events = 0;
    else if (target != nullptr && target->type == unit.type) unit.shared_events = target_id;
  }
}

EventNotice FormRuntime::raise_event(std::uint32_t form_id, std::uint32_t unit_id, std::int32_t event,
                                     std::vector<std::int64_t> arguments) {
  EventNotice notice{form_id, unit_id, event, std::move(arguments)};
  if (runtime::reporting_error()) return notice;
  const FormRecord* record = form(form_id);
  if (record == nullptr) runtime::raise_error(0, "未找到引发事件的窗口");
  const std::uint32_t raised_by = unit_id != 0 ? unit_id : record->units[0].id;
  if (record->find_unit(raised_by) == nullptr) runtime::raise_error(0, "未找到引发事件的窗口组件");
  const Handler reference = record->event_handler(raised_by, event);
  if (!reference) return notice;
  const auto handler = handlers_.find(*reference);
  if (handler == handlers_.end()) return notice;
  const auto previous_sender = sender_;
  sender_ = {form_id, raised_by};
  notice.result = handler->second(notice);
  sender_ = previous_sender;
  notice.handled = true;
  return notice;
}

bool FormRuntime::translate_accelerator(MSG& message) {
  if (message.hwnd == nullptr) return false;
  HWND root = GetAncestor(message.hwnd, GA_ROOT);
  const OpenForm* form_state = open_form(root);
  return form_state != nullptr && form_state->accelerators.get() != nullptr &&
         TranslateAcceleratorW(root, form_state->accelerators.get(), &message) != 0;
}

void FormRuntime::run() {
  running_ = true;
  if (open_.empty()) return;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (translate_accelerator(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  running_ = false;
}

LRESULT FormRuntime::on_form_message(OpenForm& form_state, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (lparam == 0) {  // a menu item or an accelerator
        if (const std::uint32_t unit = form_state.menu.unit_for(LOWORD(wparam))) raise_event(form_state.form_id, unit, 0);
        return 0;
      }
      break;
    case WM_SIZE:
      if (form_state.created) raise_event(form_state.form_id, 0, kEventResized);
      return 0;
    case WM_CLOSE:
      close_form(form_state.form_id, false);
      return 0;
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(form_state.window, &client);
      FillRect(reinterpret_cast<HDC>(wparam), &client, form_state.background);
      return 1;
    }
    default:
      break;
  }
  return DefWindowProcW(form_state.window, message, wparam, lparam);
}

LRESULT CALLBACK FormRuntime::form_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* form_state = static_cast<OpenForm*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    form_state->window = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form_state));
  }
  auto* form_state = reinterpret_cast<OpenForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    instance().forget(window);
    return DefWindowProcW(window, message, wparam, lparam);
  }
  if (form_state == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  return instance().on_form_message(*form_state, message, wparam, lparam);
}

LRESULT CALLBACK FormRuntime::hidden_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (runtime::win32::handle_runtime_message(message, wparam, lparam)) return 0;
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace quillet::forms::win32

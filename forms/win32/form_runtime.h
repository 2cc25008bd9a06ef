// The form runtime on Win32: start-up, forms created from the stored descriptions, event
// dispatch to the application's handlers, and the message loop. One instance, on the
// user-interface thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "forms/form_block.h"
#include "forms/menu_walk.h"
#include "forms/win32/menu_win32.h"

namespace quillet::forms::win32 {

// What a control hands to the dispatcher, and what comes back.
struct EventNotice {
  std::uint32_t form_id = 0;
  std::uint32_t unit_id = 0;  // 0: the form's window unit
  std::int32_t event = 0;
  std::vector<std::int64_t> arguments;
  bool handled = false;
  std::int64_t result = 0;
};

// Window events of the form runtime.
inline constexpr std::int32_t kEventCreated = 0;
inline constexpr std::int32_t kEventCloseQuery = 1;
inline constexpr std::int32_t kEventDestroying = 2;
inline constexpr std::int32_t kEventShown = 3;
inline constexpr std::int32_t kEventResized = 4;
inline constexpr std::int32_t kEventBeforeCloseQuery = 12;

using EventHandler = std::function<std::int64_t(const EventNotice&)>;

class FormRuntime {
 public:
  // Start-up: OLE, the program's directory as the current directory, the window classes, the
  // hidden owner window (which also receives termination requests from other threads), the
  // stored forms.
  static FormRuntime& initialise();
  static FormRuntime& instance();

  // The application's handler for a handler reference of the stored forms; an empty function
  // removes it.
  void register_handler(std::uint32_t reference, EventHandler handler);

  // Loads and shows a form; an open form is only activated (restored when minimised).
  bool load_form(std::uint32_t form_id, HWND owner = nullptr);
  // Closes a form as the user would (asking its close query), or at once when forced.
  void close_form(std::uint32_t form_id, bool forced);
  void close_all_forms();

  HWND window_of(std::uint32_t form_id) const;
  bool is_loaded(std::uint32_t form_id) const { return window_of(form_id) != nullptr; }
  const FormRecord* form(std::uint32_t form_id) const { return block_.find_form(form_id); }
  // Sets unit's shared-events link (0 removes it) when both units have the same type.
  void link_events(std::uint32_t form_id, std::uint32_t unit_id, std::uint32_t target_id);

  // Raises an event; the notice comes back with the handled flag and the result.
  EventNotice raise_event(std::uint32_t form_id, std::uint32_t unit_id, std::int32_t event,
                          std::vector<std::int64_t> arguments = {});
  // The unit that raised the running event, as (form id, unit id); (0, 0) outside a handler.
  std::pair<std::uint32_t, std::uint32_t> event_sender() const { return sender_; }

  // Runs the message loop until the last form window is gone.
  void run();

  HWND hidden_owner() const { return hidden_owner_; }

 private:
  struct OpenForm {
    std::uint32_t form_id = 0;
    HWND window = nullptr;
    MenuDescription menu;
    AcceleratorTable accelerators;
    HBRUSH background = nullptr;
    HICON big_icon = nullptr;
    HICON small_icon = nullptr;
    bool closing = false;
    bool created = false;
  };

  FormRuntime();
  static LRESULT CALLBACK form_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK hidden_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT on_form_message(OpenForm& form, UINT message, WPARAM wparam, LPARAM lparam);
  OpenForm* open_form(std::uint32_t form_id);
  OpenForm* open_form(HWND window);
  void forget(HWND window);
  bool translate_accelerator(MSG& message);

  FormBlock block_;
  std::map<std::uint32_t, EventHandler> handlers_;
  std::vector<std::unique_ptr<OpenForm>> open_;
  std::pair<std::uint32_t, std::uint32_t> sender_{0, 0};
  HWND hidden_owner_ = nullptr;
  bool running_ = false;
};

}  // namespace quillet::forms::win32

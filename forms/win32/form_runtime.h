// The form runtime on Win32: start-up, forms created from the stored descriptions, event
// dispatch to the application's handlers, and the message loop. One instance, on the
// user-interface thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <memory>
#include <vector>

#include "forms/form_block.h"
#include "forms/menu_walk.h"
#include "forms/win32/control.h"
#include "forms/win32/menu_win32.h"

namespace quillet::forms::win32 {

class FormWindow;

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
using IdleCallback = void (*)(void* datum);

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

  // Loads and shows a form; an open form is only activated (restored when minimised). A
  // modeless form's owner must be a live window. A modal form disables the other forms and
  // returns when it has closed (or the program is quitting).
  bool load_form(std::uint32_t form_id, HWND owner = nullptr, bool modal = false);
  // Closes a form as the user would (asking its close query), or at once when forced.
  void close_form(std::uint32_t form_id, bool forced);
  // Asks a form's close questions (its before-close and close-query events) without closing
  // it: true when it may close, or when a handler closed it already.
  bool may_close(std::uint32_t form_id);
  void close_all_forms();

  HWND window_of(std::uint32_t form_id) const;
  bool is_loaded(std::uint32_t form_id) const { return window_of(form_id) != nullptr; }
  const FormRecord* form(std::uint32_t form_id) const { return block_.find_form(form_id); }
  FormRecord* mutable_form(std::uint32_t form_id);

  // The control of a unit of an open form (unit 0 or the window unit: the form's window), or
  // null when the form is not open or the unit has no control.
  Control* control(std::uint32_t form_id, std::uint32_t unit_id) const;
  std::vector<Control*> controls_of(std::uint32_t form_id) const;
  // Places every control of the form at its container's origin and applies the visibility of
  // its containers (after a container moved, was shown or hidden).
  void lay_out(std::uint32_t form_id);
  // Builds the form's menu bar and accelerators again from its (changed) menu items.
  void rebuild_menu(std::uint32_t form_id);

  // Sets unit's shared-events link (0 removes it) when both units have the same type; the
  // window unit without a target removes every link of the form.
  void link_events(std::uint32_t form_id, std::uint32_t unit_id, std::uint32_t target_id);

  // Raises an event; the notice comes back with the handled flag and the result.
  EventNotice raise_event(std::uint32_t form_id, std::uint32_t unit_id, std::int32_t event,
                          std::vector<std::int64_t> arguments = {});
  // The unit that raised the running event, as (form id, unit id); (0, 0) outside a handler.
  std::pair<std::uint32_t, std::uint32_t> event_sender() const { return sender_; }
  bool in_event_handler() const { return handler_depth_ > 0; }
  // True while the form's controls are being created: their messages raise no events yet.
  bool building(std::uint32_t form_id) const;

  // Called while the loop is idle, newest first, until its window is gone; once per window.
  void add_idle_callback(HWND window, IdleCallback callback, void* datum);

  // Runs the message loop until the last form window is gone.
  void run();
  // Handles every message already waiting, as the loop would, without waiting for more.
  void process_pending_messages();


 private:
  struct OpenForm {
    std::uint32_t form_id = 0;
    HWND window = nullptr;
    MenuDescription menu;
    AcceleratorTable accelerators;
    HICON big_icon = nullptr;
    HICON small_icon = nullptr;
    std::vector<std::unique_ptr<Control>> controls;  // the window unit first
    std::vector<HWND> disabled_while_modal;
    HWND last_focus = nullptr;
    bool building = true;  // controls are being created: their notifications raise nothing
    bool closing = false;
    bool created = false;
    FormWindow* window_unit() const;
  };
  struct IdleEntry {
    HWND window;
    IdleCallback callback;
    void* datum;
  };

  FormRuntime();
  static LRESULT CALLBACK form_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK hidden_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT on_form_message(OpenForm& form, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT on_command(OpenForm& form, WPARAM wparam, LPARAM lparam);
  OpenForm* open_form(std::uint32_t form_id) const;
  OpenForm* open_form(HWND window) const;
  Control* control_of(const OpenForm& form, HWND window) const;
  bool create_controls(OpenForm& form, FormRecord& record);
  // Puts the control at its container's origin, shown only while its containers are.
  void place_in_container(Control& control) const;
  void focus_first_control(OpenForm& form);
  void enter_modal(OpenForm& form);
  void forget(HWND window);
  bool pre_translate(MSG& message);
  void run_idle_callbacks();
  // Tells the user that a handler ended with an exception, and why.
  static void report_failed_handler(const std::string& reason);
  // Fetches and dispatches one message (after the idle phase when one is due); false on the
  // quit message, which a nested loop posts again for the loop outside it.
  bool pump_message(bool nested);

  FormBlock block_;
  std::map<std::uint32_t, EventHandler> handlers_;
  std::vector<std::unique_ptr<OpenForm>> open_;
  std::vector<IdleEntry> idle_;
  std::pair<std::uint32_t, std::uint32_t> sender_{0, 0};
  int handler_depth_ = 0;
  HWND hidden_owner_ = nullptr;
  bool running_ = false;
  bool idle_due_ = true;
};

}  // namespace quillet::forms::win32

// Quillet's entry point: start the form runtime, show the main window, run the message loop.
// The application's handlers are registered here as the editor grows.
#include <windows.h>

#include "forms/catalogue.h"
#include "forms/win32/form_runtime.h"
#include "runtime/errors.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using quillet::forms::win32::FormRuntime;
  FormRuntime& forms = FormRuntime::initialise();
  if (!forms.load_form(quillet::forms::kMainForm)) quillet::runtime::raise_error(0, "载入启动窗口失败");
  forms.run();
  return 0;
}

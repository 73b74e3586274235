// zelk2html.exe: the dialog on Windows.
#include <windows.h>
#include <objbase.h>

#include <string>

#include "app/command_line.h"
#include "app/win32/win32_host.h"
#include "app/zelk_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  zelk::DialogCommandLine command = zelk::read_command_line(zelk::command_line_arguments());
  if (command.exit_status) {
    // A program without a console shows what it would have printed, with
    // the lines a terminal needed wrapped (long ones, before an unindented
    // line) flowed into paragraphs that the message box wraps itself.
    std::string& text = command.text;
    for (std::size_t at = 0, line = 0; at + 1 < text.size(); ++at) {
      if (text[at] != '\n') continue;
      if (at - line >= 60 && text[at + 1] != '\n' && text[at + 1] != ' ') text[at] = ' ';
      line = at + 1;
    }
    UINT icon = *command.exit_status == 0 ? MB_ICONINFORMATION : MB_ICONERROR;
    MessageBoxA(nullptr, command.text.c_str(), "ZELK to HTML", MB_OK | icon);
    return *command.exit_status;
  }
  // The shell may hand "open" to extensions that need COM on this thread.
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  int status = 0;
  {
    zelk::Win32Host host(instance);
    status = zelk::CzelkApp().run(host, command.listing);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return status;
}

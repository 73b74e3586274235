// zelk2html.exe: the dialog on Windows.
#include <windows.h>
#include <objbase.h>

#include "app/win32/win32_host.h"
#include "app/zelk_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // The shell may hand "open" to extensions that need COM on this thread.
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  int status = 0;
  {
    zelk::Win32Host host(instance);
    status = zelk::CzelkApp().run(host);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return status;
}

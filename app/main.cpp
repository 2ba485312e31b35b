#include <windows.h>

#include "app/Application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The command line is not interpreted.
  {
    TApplication application;
    application.Run();
  }
  return 0;
}

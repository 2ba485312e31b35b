// Base of every on-screen object: one control is one window. The single
// framework window procedure finds the control from a window property and
// hands it the message; a miss falls back to the default procedure.
#pragma once

#include <windows.h>

#include <string>

// The message record every handler receives.
struct TMessage {
  HWND Window;
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
};

class TControl {
 public:
  TControl();
  virtual ~TControl();
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  // The window, created (with its parents' windows) on first use.
  HWND Handle();
  // The window field itself; never creates.
  HWND WindowHandle() const { return handle_; }
  void HandleNeeded();

  void SetParent(TControl* parent);
  TControl* Parent() const { return parent_; }
  HWND ParentWindow = nullptr;

  // Only while no window exists.
  void SetClassNameW(const std::wstring& name);
  const std::wstring& ClassNameW() const { return className_; }
  void SetCaption(const std::wstring& caption);

  int Left = 0, Top = 0, Width = 1, Height = 1;
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  bool Enabled = true;

  // Default processing of a message: the procedure the window was created
  // with.
  virtual void DefaultHandler(TMessage& message);
  virtual void Dispatch(TMessage& message);

 protected:
  struct TCreateParams {
    std::wstring ClassName;
    std::wstring Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    UINT ClassStyle = CS_DBLCLKS;
  };
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateHandle();
  virtual void WMCreate(TMessage& message);
  virtual void WMDestroy(TMessage& message);
  void DestroyHandle();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  static TControl* FromWindow(HWND window);

  HWND handle_ = nullptr;
  TControl* parent_ = nullptr;
  std::wstring className_ = L"TControl";
  std::wstring caption_;
  bool visible_ = false;
};

// Window-property name that links a framework window to its control:
// "Widget" and the process id as 8 upper-case hex digits.
const wchar_t* ControlPropertyName();

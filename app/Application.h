// The process: single-instance guard, start-up of libraries, folders and
// process-wide objects, the message loop, and the ordered shut-down.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

class TMainWindow;
class TDesktop;

class TApplication {
 public:
  TApplication();
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // The whole life of the process; returns at once when another instance
  // holds the mutex, or when the mutex cannot be created at all.
  void Run();

  std::wstring AppFolder;
  std::wstring DataFolder;
  TMainWindow* MainWindow() const { return mainWindow_.get(); }

 private:
  void Startup();
  void Shutdown();
  void InitLibraries();
  void InitPaths();
  void InitGlobals();
  void CreateMainWindow();
  void MessageLoop();

  // A portable copy that cannot write beside itself keeps this run's files
  // here, removed at exit; empty otherwise.
  std::wstring sessionFolder_;
  std::unique_ptr<TDesktop> desktop_;
  std::unique_ptr<TMainWindow> mainWindow_;
  bool comInitialized_ = false;
};

// What screen readers see of a window that draws everything itself. Active
// Accessibility asks the window for an object (WM_GETOBJECT); the objects
// handed out here ask a model for every answer, so they never hold a copy
// of what the window shows. Every object is a full IAccessible, named by
// an id unique in its window: the root (0) resolves any id, which is what
// a reader does with the child id of an event.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

struct TAccessibleInfo {
  long Role = 0;   // ROLE_SYSTEM_*
  long State = 0;  // STATE_SYSTEM_*
  std::wstring Name, Description, Value, DefaultAction;
  RECT Screen{};  // empty when the object has no place on screen
};

// The window's side: what its objects are. Called on the window's thread.
class TAccessibleModel {
 public:
  virtual ~TAccessibleModel() = default;
  // The children of `id`, in reading order.
  virtual std::vector<long> AccessibleChildren(long id) = 0;
  // The parent of `id`; -1 for the root.
  virtual long AccessibleParent(long id) = 0;
  // False when there is no such object (any more).
  virtual bool Describe(long id, TAccessibleInfo& info) = 0;
  // Starts the object's default action (later, not inside the call); false
  // when it has none.
  virtual bool DoDefaultAction(long id) = 0;
  // SELFLAG_* on `id`; false when the object cannot take them.
  virtual bool Select(long id, long flags) = 0;
  // The object with the keyboard focus, or -1.
  virtual long FocusedObject() = 0;
  // The selected child of `id`, or -1.
  virtual long SelectedChild(long id) = 0;
  // The innermost object at a screen point, or -1.
  virtual long ObjectAt(POINT screen) = 0;
};

struct TAccessibleLink;

// A window's accessible objects. The window owns one; when it goes, every
// object a reader still holds answers CO_E_OBJNOTCONNECTED.
class TAccessibleRoot {
 public:
  TAccessibleRoot(HWND window, TAccessibleModel& model);
  ~TAccessibleRoot();
  TAccessibleRoot(const TAccessibleRoot&) = delete;
  TAccessibleRoot& operator=(const TAccessibleRoot&) = delete;

  // The answer to WM_GETOBJECT: the root object for OBJID_CLIENT; 0 (the
  // system's own object) for anything else.
  LRESULT Answer(DWORD objectId, WPARAM flags);
  // Tells readers that `event` (EVENT_OBJECT_*) happened to object `id`.
  void Notify(DWORD event, long id) const;
  // Cuts every object off the model.
  void Disconnect();

 private:
  std::shared_ptr<TAccessibleLink> link_;
};

// Reads the ticker the way a screen reader does: from another process,
// through Microsoft Active Accessibility, starting at the client object of
// the ticker's top-level window.
//   accprobe tree              one line per object, depth first, the root first
//   accprobe do PATH           accDoDefaultAction; prints "ok" or "hr=0x.."
//   accprobe focus             the line of what the root says has the focus, or "none"
//   accprobe select PATH FLAGS accSelect with FLAGS (decimal)
//   accprobe hit X Y           the line of the deepest object at a screen point
//   accprobe nav PATH DIR      accNavigate(DIR, decimal) from PATH; the line, or "none"
//   accprobe count PATH        accChildCount
//   accprobe watch MS          for MS ms, one line per event of the ticker
//                              window: EVENT idObject idChild role state name
//                              of the object the event names; "ready" once
//                              the hook is set
// A line is PATH ROLE STATE NAME DESCRIPTION VALUE DEFAULTACTION X,Y,W,H,
// separated by tabs: PATH is "" for the root and "1.3" for the third child of
// its first child (positions count from 1, in AccessibleChildren's order),
// "-" when the object is not found in the tree; ROLE is decimal, STATE hex;
// the location is on the screen, "-" when the object gives none. Output is
// UTF-8.
// "accprobe --class NAME COMMAND ..." reads the top-level window of class
// NAME instead (a system program's, to check the probe itself);
// "accprobe --no-path COMMAND ..." prints "-" for the path of what focus, hit
// and nav find rather than search the tree for it.
// Exit code 0 when done, 1 for a bad command line, 2 when there is no ticker
// window, 3 when an accessibility call failed (its HRESULT on stderr).
#include <windows.h>
#include <oleacc.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "framework/ComPtr.h"
#include "framework/UniqueHandle.h"
#include "tools/TickerWindows.h"

namespace {

struct Failure {
  std::string what;
  HRESULT hr;
};

void Check(HRESULT hr, const char* what) {
  if (FAILED(hr)) throw Failure{what, hr};
}

VARIANT ChildId(long id) {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

// An object, or one of its simple elements (a child id other than
// CHILDID_SELF, asked through the parent).
struct Element {
  ComPtr<IAccessible> object;
  long child = CHILDID_SELF;
};

ComPtr<IAccessible> Share(IAccessible* object) {
  object->AddRef();
  return ComPtr<IAccessible>(object);
}

ComPtr<IAccessible> AccessibleOf(IDispatch* dispatch) {
  ComPtr<IAccessible> object;
  if (dispatch) dispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(object.Put()));
  return object;
}

// What a call on `from` handed back: nothing, `from` itself, another object,
// or a child id. A child id may still stand for a full object, which
// get_accChild then gives; otherwise it is a simple element of `from`.
std::optional<Element> Resolve(IAccessible* from, const VARIANT& v) {
  if (v.vt == VT_DISPATCH) {
    ComPtr<IAccessible> object = AccessibleOf(v.pdispVal);
    if (!object) return std::nullopt;
    return Element{std::move(object), CHILDID_SELF};
  }
  if (v.vt != VT_I4) return std::nullopt;
  if (v.lVal == CHILDID_SELF) return Element{Share(from), CHILDID_SELF};
  ComPtr<IDispatch> dispatch;
  if (from->get_accChild(ChildId(v.lVal), dispatch.Put()) == S_OK && dispatch) {
    if (ComPtr<IAccessible> object = AccessibleOf(dispatch.Get())) return Element{std::move(object), CHILDID_SELF};
  }
  return Element{Share(from), v.lVal};
}

// The VARIANTs AccessibleChildren fills, cleared together.
class VariantArray {
 public:
  explicit VariantArray(long count) : items_(static_cast<std::size_t>(count)) {
    for (VARIANT& v : items_) ::VariantInit(&v);
  }
  ~VariantArray() {
    for (VARIANT& v : items_) ::VariantClear(&v);
  }
  VariantArray(const VariantArray&) = delete;
  VariantArray& operator=(const VariantArray&) = delete;
  VARIANT* Data() { return items_.data(); }
  const VARIANT& operator[](std::size_t i) const { return items_[i]; }

 private:
  std::vector<VARIANT> items_;
};

long ChildCount(const Element& e) {
  if (e.child != CHILDID_SELF) return 0;
  long count = 0;
  Check(e.object->get_accChildCount(&count), "get_accChildCount");
  return count;
}

std::vector<Element> Children(const Element& e) {
  std::vector<Element> children;
  if (e.child != CHILDID_SELF) return children;
  long count = 0;
  HRESULT hr = e.object->get_accChildCount(&count);
  // Some standard objects of Wine's (an edit control's) do not count at all:
  // they have no children to show.
  if (hr == E_NOTIMPL) return children;
  Check(hr, "get_accChildCount");
  if (count <= 0) return children;
  VariantArray raw(count);
  long got = 0;
  Check(::AccessibleChildren(e.object.Get(), 0, count, raw.Data(), &got), "AccessibleChildren");
  for (long i = 0; i < got; ++i) {
    std::optional<Element> child = Resolve(e.object.Get(), raw[static_cast<std::size_t>(i)]);
    if (!child) throw Failure{"AccessibleChildren gave a child of unknown kind", E_UNEXPECTED};
    children.push_back(std::move(*child));
  }
  return children;
}

Element Root(HWND window) {
  Element root;
  Check(::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                     reinterpret_cast<void**>(root.object.Put())),
        "AccessibleObjectFromWindow");
  return root;
}

Element Find(HWND window, const std::wstring& path) {
  Element e = Root(window);
  std::size_t at = 0;
  while (at < path.size()) {
    std::size_t dot = path.find(L'.', at);
    if (dot == std::wstring::npos) dot = path.size();
    long index = std::wcstol(path.substr(at, dot - at).c_str(), nullptr, 10);
    std::vector<Element> children = Children(e);
    if (index < 1 || index > static_cast<long>(children.size())) throw Failure{"no such child in the path", E_INVALIDARG};
    e = std::move(children[static_cast<std::size_t>(index - 1)]);
    at = dot + 1;
  }
  return e;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

// A text as one field of a line: tabs and line breaks become spaces.
std::string Field(const std::wstring& text) {
  std::string out = Utf8(text);
  for (char& c : out)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return out;
}

using TextGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);

std::string Text(const Element& e, TextGetter get) {
  UniqueBstr text;
  if (FAILED((e.object.Get()->*get)(ChildId(e.child), text.Put()))) return {};
  return Field(text.Str());
}

// Role or state: a number, or (as some servers answer) a string.
std::string Number(const Element& e, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), bool hex) {
  UniqueVariant value;
  if (FAILED((e.object.Get()->*get)(ChildId(e.child), value.Put()))) return {};
  const VARIANT& v = value.Get();
  if (v.vt == VT_I4) {
    char text[32];
    std::snprintf(text, sizeof(text), hex ? "0x%lx" : "%ld", static_cast<long>(v.lVal));
    return text;
  }
  if (v.vt == VT_BSTR && v.bstrVal) return Field(std::wstring(v.bstrVal, ::SysStringLen(v.bstrVal)));
  return {};
}

// Everything but the path.
std::string Fields(const Element& e) {
  std::string line = Number(e, &IAccessible::get_accRole, false);
  line += '\t' + Number(e, &IAccessible::get_accState, true);
  line += '\t' + Text(e, &IAccessible::get_accName);
  line += '\t' + Text(e, &IAccessible::get_accDescription);
  line += '\t' + Text(e, &IAccessible::get_accValue);
  line += '\t' + Text(e, &IAccessible::get_accDefaultAction);
  long x = 0, y = 0, w = 0, h = 0;
  if (SUCCEEDED(e.object->accLocation(&x, &y, &w, &h, ChildId(e.child)))) {
    char where[64];
    std::snprintf(where, sizeof(where), "\t%ld,%ld,%ld,%ld", x, y, w, h);
    line += where;
  } else {
    line += "\t-";
  }
  return line;
}

void Print(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}

std::string Narrow(const std::wstring& path) { return Utf8(path); }

std::wstring ChildPath(const std::wstring& parent, std::size_t index) {
  return (parent.empty() ? L"" : parent + L".") + std::to_wstring(index + 1);
}

void Tree(const Element& e, const std::wstring& path, std::vector<std::pair<std::wstring, std::string>>& out) {
  out.emplace_back(path, Fields(e));
  std::vector<Element> children = Children(e);
  for (std::size_t i = 0; i < children.size(); ++i)
    Tree(children[i], ChildPath(path, i), out);
}

// Whether focus, hit and nav look for the path of what they found.
bool findPaths = true;

// An object reached by focus, hit test or navigation, as a line. Its path is
// that of the one tree line with the same fields, "-" when there is none or
// more than one. Not by identity: a server may well hand out a new object
// each time it is asked (the ticker does). The search reads the whole tree,
// seconds for a list of hundreds under Wine; --no-path skips it.
void PrintFound(HWND window, const Element& found) {
  std::string fields = Fields(found);
  std::string path = "-";
  if (findPaths) {
    std::vector<std::pair<std::wstring, std::string>> tree;
    Tree(Root(window), L"", tree);
    int matches = 0;
    for (const auto& [where, line] : tree) {
      if (line == fields) {
        ++matches;
        path = Narrow(where);
      }
    }
    if (matches != 1) path = "-";
  }
  Print(path + '\t' + fields);
}

// Follows what an object says about itself and its children (focus, hit
// test) down to the deepest object that answers; a screen reader does the
// same, since a container names only its own child.
template <typename Ask>
std::optional<Element> Descend(Element from, Ask ask) {
  UniqueVariant answer;
  if (FAILED(ask(from, answer.Put()))) return std::nullopt;
  std::optional<Element> found = Resolve(from.object.Get(), answer.Get());
  for (int depth = 0; found && found->child == CHILDID_SELF && depth < 16; ++depth) {
    if (found->object.Get() == from.object.Get()) break;
    UniqueVariant deeper;
    if (ask(*found, deeper.Put()) != S_OK) break;
    std::optional<Element> next = Resolve(found->object.Get(), deeper.Get());
    if (!next || (next->child == CHILDID_SELF && next->object.Get() == found->object.Get())) break;
    from = std::move(*found);
    found = std::move(next);
  }
  return found;
}

const char* EventName(DWORD event) {
  switch (event) {
    case EVENT_OBJECT_FOCUS: return "FOCUS";
    case EVENT_OBJECT_SELECTION: return "SELECTION";
    case EVENT_OBJECT_REORDER: return "REORDER";
    case EVENT_OBJECT_STATECHANGE: return "STATECHANGE";
    case EVENT_OBJECT_NAMECHANGE: return "NAMECHANGE";
    case EVENT_OBJECT_VALUECHANGE: return "VALUECHANGE";
    default: return nullptr;
  }
}

struct Event {
  DWORD event;
  HWND window;
  LONG object;
  LONG child;
};

// Out-of-context events arrive as messages while this thread waits; they are
// only queued there, and read between messages, since reading the object
// calls into the ticker and would let the next event in half-way.
HWND watched = nullptr;
std::deque<Event> events;

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (window == watched) events.push_back({event, window, object, child});
}

void Speak(const Event& e) {
  char head[96];
  if (const char* name = EventName(e.event))
    std::snprintf(head, sizeof(head), "%s\t%ld\t%ld", name, static_cast<long>(e.object), static_cast<long>(e.child));
  else
    std::snprintf(head, sizeof(head), "0x%04lx\t%ld\t%ld", static_cast<unsigned long>(e.event),
                  static_cast<long>(e.object), static_cast<long>(e.child));
  Element source;
  UniqueVariant child;
  HRESULT hr = ::AccessibleObjectFromEvent(e.window, static_cast<DWORD>(e.object), static_cast<DWORD>(e.child),
                                           source.object.Put(), child.Put());
  std::string line = head;
  if (SUCCEEDED(hr) && source.object) {
    if (child.Get().vt == VT_I4) source.child = child.Get().lVal;
    line += '\t' + Number(source, &IAccessible::get_accRole, false) + '\t' +
            Number(source, &IAccessible::get_accState, true) + '\t' + Text(source, &IAccessible::get_accName);
  } else {
    char failed[32];
    std::snprintf(failed, sizeof(failed), "\thr=0x%08lx", static_cast<unsigned long>(hr));
    line += failed;
  }
  Print(line);
  std::fflush(stdout);
}

struct WinEventHookTraits {
  using Handle = HWINEVENTHOOK;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::UnhookWinEvent(h); }
};
using UniqueWinEventHook = UniqueHandle<WinEventHookTraits>;

int Watch(HWND window, DWORD span) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  watched = window;
  // Only the ticker's process, which is never ours; WINEVENT_SKIPOWNPROCESS
  // would add nothing, and Wine (8.0) delivers no event at all to a hook
  // that has both a process filter and that flag.
  UniqueWinEventHook hook(
      ::SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, &OnEvent, process, 0, WINEVENT_OUTOFCONTEXT));
  if (!hook) throw Failure{"SetWinEventHook", HRESULT_FROM_WIN32(::GetLastError())};
  Print("ready");
  std::fflush(stdout);
  const DWORD start = ::GetTickCount();
  for (;;) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    while (!events.empty()) {
      Event e = events.front();
      events.pop_front();
      Speak(e);
    }
    DWORD spent = ::GetTickCount() - start;
    if (spent >= span) break;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, span - spent, QS_ALLINPUT);
  }
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: accprobe [--class NAME] [--no-path] tree | do PATH | focus | select PATH FLAGS | hit X Y | nav PATH DIR | count PATH "
               "| watch MS\n");
  return 1;
}

int Run(int argc, wchar_t** argv, HWND window) {
  const std::wstring command = argv[1];
  if (command == L"tree") {
    std::vector<std::pair<std::wstring, std::string>> tree;
    Tree(Root(window), L"", tree);
    for (const auto& [path, fields] : tree) Print(Narrow(path) + '\t' + fields);
    return 0;
  }
  if (command == L"do" && argc >= 3) {
    Element e = Find(window, argv[2]);
    HRESULT hr = e.object->accDoDefaultAction(ChildId(e.child));
    if (hr == S_OK)
      Print("ok");
    else
      std::printf("hr=0x%08lx\n", static_cast<unsigned long>(hr));
    return 0;
  }
  if (command == L"focus") {
    std::optional<Element> found =
        Descend(Root(window), [](const Element& e, VARIANT* v) { return e.object->get_accFocus(v); });
    if (found)
      PrintFound(window, *found);
    else
      Print("none");
    return 0;
  }
  if (command == L"select" && argc >= 4) {
    Element e = Find(window, argv[2]);
    long flags = std::wcstol(argv[3], nullptr, 10);
    Check(e.object->accSelect(flags, ChildId(e.child)), "accSelect");
    Print("ok");
    return 0;
  }
  if (command == L"hit" && argc >= 4) {
    long x = std::wcstol(argv[2], nullptr, 10), y = std::wcstol(argv[3], nullptr, 10);
    std::optional<Element> found =
        Descend(Root(window), [x, y](const Element& e, VARIANT* v) { return e.object->accHitTest(x, y, v); });
    if (found)
      PrintFound(window, *found);
    else
      Print("none");
    return 0;
  }
  if (command == L"nav" && argc >= 4) {
    Element e = Find(window, argv[2]);
    long direction = std::wcstol(argv[3], nullptr, 10);
    UniqueVariant answer;
    Check(e.object->accNavigate(direction, ChildId(e.child), answer.Put()), "accNavigate");
    std::optional<Element> found = Resolve(e.object.Get(), answer.Get());
    if (found)
      PrintFound(window, *found);
    else
      Print("none");
    return 0;
  }
  if (command == L"count" && argc >= 3) {
    std::printf("%ld\n", ChildCount(Find(window, argv[2])));
    return 0;
  }
  if (command == L"watch" && argc >= 3) return Watch(window, static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)));
  return Usage();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const wchar_t* windowClass = TickerClassName;
  for (;;) {
    if (argc >= 3 && std::wcscmp(argv[1], L"--class") == 0) {
      windowClass = argv[2];
      argc -= 2;
      argv += 2;
    } else if (argc >= 2 && std::wcscmp(argv[1], L"--no-path") == 0) {
      findPaths = false;
      --argc;
      ++argv;
    } else {
      break;
    }
  }
  if (argc < 2) return Usage();
  // Lines end in "\n" alone, and UTF-8 goes out byte for byte.
  ::_setmode(::_fileno(stdout), _O_BINARY);
  HWND window = ::FindWindowW(windowClass, nullptr);
  if (!window) {
    std::fprintf(stderr, "no ticker window\n");
    return 2;
  }
  ComSession com;
  if (!com.Ok()) {
    std::fprintf(stderr, "CoInitialize failed\n");
    return 3;
  }
  try {
    return Run(argc, argv, window);
  } catch (const Failure& f) {
    std::fprintf(stderr, "%s: hr=0x%08lx\n", f.what.c_str(), static_cast<unsigned long>(f.hr));
    return 3;
  }
}

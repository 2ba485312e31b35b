#include "framework/Accessible.h"

#include <oleacc.h>

#include <algorithm>
#include <new>

struct TAccessibleLink {
  HWND Window;
  TAccessibleModel* Model;  // null once the window is gone
};

namespace {

constexpr long RootId = 0;

BSTR Bstr(const std::wstring& text) { return ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())); }

// One object of the tree; also its own enumerator of children, which is how
// AccessibleChildren learns the children's ids.
class TAccessibleNode final : public IAccessible, public IEnumVARIANT {
 public:
  TAccessibleNode(std::shared_ptr<TAccessibleLink> link, long id) : link_(std::move(link)), id_(id) {}
  TAccessibleNode(const TAccessibleNode&) = delete;
  TAccessibleNode& operator=(const TAccessibleNode&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible))
      *out = static_cast<IAccessible*>(this);
    else if (iid == IID_IEnumVARIANT)
      *out = static_cast<IEnumVARIANT*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG left = ::InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch: readers use the vtable; scripting is not offered.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info != nullptr) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (parent == nullptr) return E_POINTER;
    *parent = nullptr;
    TAccessibleModel* model = Model();
    if (model == nullptr) return CO_E_OBJNOTCONNECTED;
    if (id_ == RootId)  // the window around the client area
      return ::AccessibleObjectFromWindow(link_->Window, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                          reinterpret_cast<void**>(parent));
    long up = model->AccessibleParent(id_);
    if (up < 0) return S_FALSE;
    *parent = Node(up);
    return *parent ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    TAccessibleModel* model = Self();
    if (model == nullptr) return CO_E_OBJNOTCONNECTED;
    *count = static_cast<long>(model->AccessibleChildren(id_).size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    long id;
    HRESULT hr = Target(child, id);
    if (hr != S_OK) return hr;
    if (id == id_) return E_INVALIDARG;
    *out = Node(id);
    return *out ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
    return Text(child, out, &TAccessibleInfo::Name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
    return Text(child, out, &TAccessibleInfo::Value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
    return Text(child, out, &TAccessibleInfo::Description);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
    return Text(child, out, &TAccessibleInfo::DefaultAction);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
    return Number(child, out, &TAccessibleInfo::Role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
    return Number(child, out, &TAccessibleInfo::State);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* out) override {
    if (out != nullptr) *out = nullptr;
    return Model() ? S_FALSE : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (file != nullptr) *file = nullptr;
    if (topic != nullptr) *topic = 0;
    return Model() ? S_FALSE : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* out) override {
    if (out != nullptr) *out = nullptr;
    return Model() ? S_FALSE : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
    if (out == nullptr) return E_POINTER;
    ::VariantInit(out);
    TAccessibleModel* model = Self();
    if (model == nullptr) return CO_E_OBJNOTCONNECTED;
    return Answer(model->FocusedObject(), out);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
    if (out == nullptr) return E_POINTER;
    ::VariantInit(out);
    TAccessibleModel* model = Self();
    if (model == nullptr) return CO_E_OBJNOTCONNECTED;
    return Answer(model->SelectedChild(id_), out);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    long id;
    HRESULT hr = Target(child, id);
    if (hr != S_OK) return hr;
    return Model()->Select(id, flags) ? S_OK : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
    *left = *top = *width = *height = 0;
    TAccessibleInfo info;
    HRESULT hr = Info(child, info);
    if (hr != S_OK) return hr;
    if (::IsRectEmpty(&info.Screen)) return S_FALSE;
    *left = info.Screen.left;
    *top = info.Screen.top;
    *width = info.Screen.right - info.Screen.left;
    *height = info.Screen.bottom - info.Screen.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* out) override {
    if (out == nullptr) return E_POINTER;
    ::VariantInit(out);
    long id;
    HRESULT hr = Target(start, id);
    if (hr != S_OK) return hr;
    TAccessibleModel* model = Model();
    long to = -1;
    if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
      if (id != id_) return E_INVALIDARG;
      std::vector<long> children = model->AccessibleChildren(id);
      if (!children.empty()) to = direction == NAVDIR_FIRSTCHILD ? children.front() : children.back();
    } else if (direction >= NAVDIR_UP && direction <= NAVDIR_PREVIOUS) {
      long up = model->AccessibleParent(id);
      if (up < 0) return S_FALSE;
      std::vector<long> siblings = model->AccessibleChildren(up);
      auto at = std::find(siblings.begin(), siblings.end(), id);
      if (at == siblings.end()) return S_FALSE;
      // One column of objects: down and right are next, up and left previous.
      const bool next = direction == NAVDIR_NEXT || direction == NAVDIR_DOWN || direction == NAVDIR_RIGHT;
      if (next && at + 1 != siblings.end()) to = *(at + 1);
      if (!next && at != siblings.begin()) to = *(at - 1);
    } else {
      return E_INVALIDARG;
    }
    return to < 0 ? S_FALSE : Answer(to, out);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override {
    if (out == nullptr) return E_POINTER;
    ::VariantInit(out);
    TAccessibleModel* model = Self();
    if (model == nullptr) return CO_E_OBJNOTCONNECTED;
    long at = model->ObjectAt(POINT{x, y});
    // Only this object or one inside it.
    for (long up = at; up >= 0; up = model->AccessibleParent(up))
      if (up == id_) return Answer(at, out);
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    long id;
    HRESULT hr = Target(child, id);
    if (hr != S_OK) return hr;
    return Model()->DoDefaultAction(id) ? S_OK : DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }

  // IEnumVARIANT: the children, each as an object of its own.
  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override {
    if (fetched != nullptr) *fetched = 0;
    if (out == nullptr) return E_POINTER;
    TAccessibleModel* model = Self();
    if (model == nullptr) return CO_E_OBJNOTCONNECTED;
    std::vector<long> children = model->AccessibleChildren(id_);
    ULONG n = 0;
    for (; n < count && cursor_ < children.size(); ++n, ++cursor_) {
      ::VariantInit(&out[n]);
      IDispatch* node = Node(children[cursor_]);
      if (node == nullptr) {
        for (ULONG i = 0; i < n; ++i) ::VariantClear(&out[i]);
        return E_OUTOFMEMORY;
      }
      out[n].vt = VT_DISPATCH;
      out[n].pdispVal = node;
    }
    if (fetched != nullptr) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    TAccessibleModel* model = Self();
    if (model == nullptr) return CO_E_OBJNOTCONNECTED;
    const size_t total = model->AccessibleChildren(id_).size();
    cursor_ = std::min<size_t>(cursor_ + count, total);
    return cursor_ < total || count == 0 ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    cursor_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override {
    if (out == nullptr) return E_POINTER;
    auto* copy = new (std::nothrow) TAccessibleNode(link_, id_);
    *out = copy;
    if (copy == nullptr) return E_OUTOFMEMORY;
    copy->cursor_ = cursor_;
    return S_OK;
  }

 private:
  ~TAccessibleNode() = default;

  TAccessibleModel* Model() const { return link_->Model; }
  // The model, when this object still exists in it.
  TAccessibleModel* Self() const {
    TAccessibleInfo info;
    TAccessibleModel* model = Model();
    return model != nullptr && model->Describe(id_, info) ? model : nullptr;
  }
  IDispatch* Node(long id) const {
    return static_cast<IAccessible*>(new (std::nothrow) TAccessibleNode(link_, id));
  }
  // The object a VARIANT names: this one (CHILDID_SELF) or any other of the
  // window by its id.
  HRESULT Target(const VARIANT& child, long& id) const {
    if (Self() == nullptr) return CO_E_OBJNOTCONNECTED;
    if (child.vt == VT_EMPTY) {
      id = id_;
      return S_OK;
    }
    if (child.vt != VT_I4) return E_INVALIDARG;
    id = child.lVal == CHILDID_SELF ? id_ : child.lVal;
    TAccessibleInfo info;
    if (id != id_ && (id <= RootId || !Model()->Describe(id, info))) return E_INVALIDARG;
    return S_OK;
  }
  HRESULT Info(const VARIANT& child, TAccessibleInfo& info) const {
    long id;
    HRESULT hr = Target(child, id);
    if (hr != S_OK) return hr;
    return Model()->Describe(id, info) ? S_OK : E_INVALIDARG;
  }
  HRESULT Text(const VARIANT& child, BSTR* out, std::wstring TAccessibleInfo::*field) const {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    TAccessibleInfo info;
    HRESULT hr = Info(child, info);
    if (hr != S_OK) return hr;
    const std::wstring& text = info.*field;
    if (text.empty()) return S_FALSE;
    *out = Bstr(text);
    return *out ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT Number(const VARIANT& child, VARIANT* out, long TAccessibleInfo::*field) const {
    if (out == nullptr) return E_POINTER;
    ::VariantInit(out);
    TAccessibleInfo info;
    HRESULT hr = Info(child, info);
    if (hr != S_OK) return hr;
    out->vt = VT_I4;
    out->lVal = info.*field;
    return S_OK;
  }
  // How an object found by a question is handed back: this one by
  // CHILDID_SELF, any other as an object of its own, none as VT_EMPTY.
  HRESULT Answer(long id, VARIANT* out) const {
    if (id < 0) return S_FALSE;
    if (id == id_) {
      out->vt = VT_I4;
      out->lVal = CHILDID_SELF;
      return S_OK;
    }
    IDispatch* node = Node(id);
    if (node == nullptr) return E_OUTOFMEMORY;
    out->vt = VT_DISPATCH;
    out->pdispVal = node;
    return S_OK;
  }

  std::shared_ptr<TAccessibleLink> link_;
  const long id_;
  size_t cursor_ = 0;
  LONG refs_ = 1;
};

}  // namespace

TAccessibleRoot::TAccessibleRoot(HWND window, TAccessibleModel& model)
    : link_(std::make_shared<TAccessibleLink>(TAccessibleLink{window, &model})) {}

TAccessibleRoot::~TAccessibleRoot() { Disconnect(); }

void TAccessibleRoot::Disconnect() { link_->Model = nullptr; }

LRESULT TAccessibleRoot::Answer(DWORD objectId, WPARAM flags) {
  if (objectId != static_cast<DWORD>(OBJID_CLIENT) || link_->Model == nullptr) return 0;
  auto* root = new (std::nothrow) TAccessibleNode(link_, RootId);
  if (root == nullptr) return 0;
  LRESULT result = ::LresultFromObject(__uuidof(IAccessible), flags, static_cast<IAccessible*>(root));
  root->Release();
  // A failure (negative HRESULT) leaves the system's own object.
  return result < 0 ? 0 : result;
}

void TAccessibleRoot::Notify(DWORD event, long id) const {
  if (link_->Model != nullptr)
    ::NotifyWinEvent(event, link_->Window, OBJID_CLIENT, id == RootId ? CHILDID_SELF : id);
}

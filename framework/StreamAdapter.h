// Hands a TStream to COM (the GDI+ decoder) as an IStream. Reference
// counted; the adapter frees the stream with its last reference when it owns
// it. Exceptions from the stream never cross the COM boundary: each method
// turns them into its own HRESULT.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <atomic>

#include "framework/Streams.h"
#include "framework/UniqueHandle.h"

// Holds one reference to an IStream.
struct StreamReferenceTraits {
  using Handle = IStream*;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { h->Release(); }
};
using UniqueStreamReference = UniqueHandle<StreamReferenceTraits>;

class TStreamAdapter final : public IStream {
 public:
  // The adapter starts with one reference, held by the returned owner.
  static UniqueStreamReference Create(TStream* stream, bool ownsStream);

  TStreamAdapter(const TStreamAdapter&) = delete;
  TStreamAdapter& operator=(const TStreamAdapter&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // ISequentialStream
  HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) override;
  HRESULT STDMETHODCALLTYPE Write(const void* pv, ULONG cb, ULONG* pcbWritten) override;
  // IStream
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override;
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER newSize) override;
  HRESULT STDMETHODCALLTYPE CopyTo(IStream* target, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead,
                                   ULARGE_INTEGER* pcbWritten) override;
  HRESULT STDMETHODCALLTYPE Commit(DWORD flags) override;
  HRESULT STDMETHODCALLTYPE Revert() override;
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER cb, DWORD type) override;
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER cb, DWORD type) override;
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* statstg, DWORD flag) override;
  HRESULT STDMETHODCALLTYPE Clone(IStream** ppstm) override;

  TStream* Stream() const { return stream_; }
  bool OwnsStream() const { return ownsStream_; }

 private:
  TStreamAdapter(TStream* stream, bool ownsStream) : stream_(stream), ownsStream_(ownsStream) {}
  ~TStreamAdapter();

  TStream* stream_;
  bool ownsStream_;
  std::atomic<ULONG> references_{1};
};

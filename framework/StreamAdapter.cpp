#include "framework/StreamAdapter.h"
#include "framework/RecordLayouts.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

UniqueStreamReference TStreamAdapter::Create(TStream* stream, bool ownsStream) {
  return UniqueStreamReference(new TStreamAdapter(stream, ownsStream));
}

TStreamAdapter::~TStreamAdapter() {
  if (ownsStream_) delete stream_;
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISequentialStream) || IsEqualIID(iid, IID_IStream)) {
    *object = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE TStreamAdapter::AddRef() { return ++references_; }

ULONG STDMETHODCALLTYPE TStreamAdapter::Release() {
  ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::Read(void* pv, ULONG cb, ULONG* pcbRead) {
  if (!pv) return STG_E_INVALIDPOINTER;
  try {
    // The stream moves at most 2 GiB at a time; a larger request is a short
    // read, which IStream callers handle.
    auto count = static_cast<std::int32_t>(std::min<ULONG>(cb, INT_MAX));
    std::int32_t n = stream_->Read(pv, count);
    if (pcbRead) *pcbRead = static_cast<ULONG>(n);
    return S_OK;
  } catch (...) {
    return S_FALSE;
  }
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::Write(const void* pv, ULONG cb, ULONG* pcbWritten) {
  if (!pv) return STG_E_INVALIDPOINTER;
  try {
    auto count = static_cast<std::int32_t>(std::min<ULONG>(cb, INT_MAX));
    std::int32_t n = stream_->Write(pv, count);
    if (pcbWritten) *pcbWritten = static_cast<ULONG>(n);
    return S_OK;
  } catch (...) {
    return STG_E_CANTSAVE;
  }
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) {
  if (origin > STREAM_SEEK_END) return STG_E_INVALIDFUNCTION;
  try {
    std::int64_t position = stream_->Seek(move.QuadPart, static_cast<TStream::Origin>(origin));
    if (newPosition) newPosition->QuadPart = static_cast<ULONGLONG>(position);
    return S_OK;
  } catch (...) {
    return STG_E_INVALIDPOINTER;
  }
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::SetSize(ULARGE_INTEGER newSize) {
  try {
    if (newSize.QuadPart > static_cast<ULONGLONG>(LLONG_MAX)) return E_FAIL;
    auto size = static_cast<std::int64_t>(newSize.QuadPart);
    stream_->SetSize(size);
    return stream_->Size() == size ? S_OK : E_FAIL;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::CopyTo(IStream* target, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead,
                                                 ULARGE_INTEGER* pcbWritten) {
  // Copying into nothing would crash in the first Write.
  if (!target) return STG_E_INVALIDPOINTER;
  constexpr ULONGLONG MaxBuffer = 0x100000;
  constexpr ULONGLONG MaxRound = INT_MAX;
  ULONGLONG totalRead = 0, totalWritten = 0;
  auto report = [&] {
    if (pcbRead) pcbRead->QuadPart = totalRead;
    if (pcbWritten) pcbWritten->QuadPart = totalWritten;
  };
  try {
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[std::min(cb.QuadPart, MaxBuffer)]);
    const auto bufferSize = static_cast<std::int32_t>(std::min(cb.QuadPart, MaxBuffer));
    ULONGLONG remaining = cb.QuadPart;
    while (remaining > 0) {
      ULONGLONG round = std::min(remaining, MaxRound);
      remaining -= round;
      while (round > 0) {
        auto chunk = static_cast<std::int32_t>(std::min<ULONGLONG>(round, static_cast<ULONGLONG>(bufferSize)));
        std::int32_t got = stream_->Read(buffer.get(), chunk);
        if (got <= 0) {
          report();
          return S_OK;
        }
        ULONG wrote = 0;
        HRESULT hr = target->Write(buffer.get(), static_cast<ULONG>(got), &wrote);
        totalRead += static_cast<ULONGLONG>(got);
        totalWritten += wrote;
        if (FAILED(hr) || wrote < static_cast<ULONG>(got)) {
          report();
          return E_FAIL;
        }
        round -= static_cast<ULONGLONG>(got);
      }
    }
    report();
    return S_OK;
  } catch (...) {
    report();
    return E_UNEXPECTED;
  }
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::Commit(DWORD) { return S_OK; }

HRESULT STDMETHODCALLTYPE TStreamAdapter::Revert() { return STG_E_REVERTED; }

HRESULT STDMETHODCALLTYPE TStreamAdapter::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
  return STG_E_INVALIDFUNCTION;
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
  return STG_E_INVALIDFUNCTION;
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::Stat(STATSTG* statstg, DWORD) {
  if (!statstg) return S_OK;
  try {
    std::memset(statstg, 0, sizeof(*statstg));
    statstg->type = STGTY_STREAM;
    statstg->cbSize.QuadPart = static_cast<ULONGLONG>(stream_->Size());
    statstg->grfLocksSupported = LOCK_WRITE;
    return S_OK;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT STDMETHODCALLTYPE TStreamAdapter::Clone(IStream** ppstm) {
  if (ppstm) *ppstm = nullptr;
  return E_NOTIMPL;
}

// TStreamAdapter: the IStream results the GDI+ decoder and other COM callers
// see, including how stream exceptions are reported.
#include <doctest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "framework/StreamAdapter.h"
#include "framework/Streams.h"

namespace {

std::vector<std::uint8_t> Counting(size_t n) {
  std::vector<std::uint8_t> bytes(n);
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
  return bytes;
}

// Every operation throws.
struct BrokenStream : TStream {
  std::int32_t Read(void*, std::int32_t) override { throw EStreamError("read"); }
  std::int32_t Write(const void*, std::int32_t) override { throw EStreamError("write"); }
  std::int64_t Seek(std::int64_t, Origin) override { throw EStreamError("seek"); }
  std::int64_t Size() override { throw EStreamError("size"); }
  void SetSize(std::int64_t) override { throw EStreamError("set size"); }
};

// Reports its destruction.
struct WatchedStream : TMemoryStream {
  bool* destroyed;
  explicit WatchedStream(bool* flag) : destroyed(flag) {}
  ~WatchedStream() override { *destroyed = true; }
};

// Accepts at most Limit bytes per Write.
struct ShortStream : TMemoryStream {
  std::int32_t limit;
  explicit ShortStream(std::int32_t l) : limit(l) {}
  std::int32_t Write(const void* buffer, std::int32_t count) override {
    return TMemoryStream::Write(buffer, std::min(count, limit));
  }
};

LARGE_INTEGER Li(LONGLONG v) {
  LARGE_INTEGER li;
  li.QuadPart = v;
  return li;
}
ULARGE_INTEGER Uli(ULONGLONG v) {
  ULARGE_INTEGER li;
  li.QuadPart = v;
  return li;
}

}  // namespace

TEST_CASE("Read and Write") {
  TMemoryStream memory(Counting(10));
  auto adapter = TStreamAdapter::Create(&memory, false);
  IStream* s = adapter.Get();
  std::uint8_t buffer[16] = {};
  ULONG n = 99;
  CHECK(s->Read(nullptr, 4, &n) == STG_E_INVALIDPOINTER);
  CHECK(s->Read(buffer, 4, &n) == S_OK);
  CHECK(n == 4);
  CHECK(buffer[3] == 21);
  CHECK(s->Read(buffer, 16, nullptr) == S_OK);  // count is optional
  CHECK(s->Read(buffer, 16, &n) == S_OK);
  CHECK(n == 0);  // at the end

  CHECK(s->Write(nullptr, 1, &n) == STG_E_INVALIDPOINTER);
  CHECK(s->Write("abc", 3, &n) == S_OK);
  CHECK(n == 3);
  CHECK(memory.Size() == 13);
  CHECK(memory.Bytes()[12] == 'c');
}

TEST_CASE("Seek") {
  TMemoryStream memory(Counting(100));
  auto adapter = TStreamAdapter::Create(&memory, false);
  IStream* s = adapter.Get();
  ULARGE_INTEGER position = Uli(0);
  struct Row {
    LONGLONG move;
    DWORD origin;
    HRESULT result;
    ULONGLONG position;
  };
  const Row rows[] = {
      {10, STREAM_SEEK_SET, S_OK, 10},  {5, STREAM_SEEK_CUR, S_OK, 15},
      {-1, STREAM_SEEK_END, S_OK, 99},  {0, 3, STG_E_INVALIDFUNCTION, 99},
      {-200, STREAM_SEEK_CUR, STG_E_INVALIDPOINTER, 99},
  };
  for (const Row& row : rows) {
    CAPTURE(row.move);
    CHECK(s->Seek(Li(row.move), row.origin, &position) == row.result);
    CHECK(memory.Seek(0, TStream::FromCurrent) == static_cast<std::int64_t>(row.position));
    if (row.result == S_OK) CHECK(position.QuadPart == row.position);
  }
  CHECK(s->Seek(Li(0), STREAM_SEEK_SET, nullptr) == S_OK);
}

TEST_CASE("SetSize and Stat") {
  TMemoryStream memory(Counting(10));
  auto adapter = TStreamAdapter::Create(&memory, false);
  CHECK(adapter.Get()->SetSize(Uli(64)) == S_OK);
  CHECK(memory.Size() == 64);
  STATSTG stat;
  std::memset(&stat, 0xCD, sizeof(stat));
  CHECK(adapter.Get()->Stat(&stat, STATFLAG_NONAME) == S_OK);
  CHECK(stat.type == STGTY_STREAM);
  CHECK(stat.cbSize.QuadPart == 64);
  CHECK(stat.grfLocksSupported == LOCK_WRITE);
  CHECK(stat.pwcsName == nullptr);
  CHECK(stat.grfMode == 0);
  CHECK(adapter.Get()->Stat(nullptr, 0) == S_OK);
}

TEST_CASE("fixed answers: Commit, Revert, locks, Clone") {
  TMemoryStream memory;
  auto adapter = TStreamAdapter::Create(&memory, false);
  IStream* s = adapter.Get();
  CHECK(s->Commit(0) == S_OK);
  CHECK(s->Revert() == STG_E_REVERTED);
  CHECK(s->LockRegion(Uli(0), Uli(1), LOCK_WRITE) == STG_E_INVALIDFUNCTION);
  CHECK(s->UnlockRegion(Uli(0), Uli(1), LOCK_WRITE) == STG_E_INVALIDFUNCTION);
  IStream* clone = reinterpret_cast<IStream*>(0x1234);
  CHECK(s->Clone(&clone) == E_NOTIMPL);
  CHECK(clone == nullptr);
  CHECK(s->Clone(nullptr) == E_NOTIMPL);
}

TEST_CASE("stream exceptions become each method's own result") {
  BrokenStream broken;
  auto adapter = TStreamAdapter::Create(&broken, false);
  IStream* s = adapter.Get();
  char buffer[4];
  ULONG n = 0;
  ULARGE_INTEGER position;
  STATSTG stat;
  TMemoryStream sink;
  auto target = TStreamAdapter::Create(&sink, false);
  CHECK(s->Read(buffer, 4, &n) == S_FALSE);
  CHECK(s->Write(buffer, 4, &n) == STG_E_CANTSAVE);
  CHECK(s->Seek(Li(0), STREAM_SEEK_SET, &position) == STG_E_INVALIDPOINTER);
  CHECK(s->SetSize(Uli(1)) == E_UNEXPECTED);
  CHECK(s->Stat(&stat, 0) == E_UNEXPECTED);
  CHECK(s->CopyTo(target.Get(), Uli(10), nullptr, nullptr) == E_UNEXPECTED);
}

TEST_CASE("a resource stream is read-only through the adapter") {
  auto adapter = TStreamAdapter::Create(new TResourceStream(GetModuleHandleW(nullptr), 5006, L"PNG"), true);
  IStream* s = adapter.Get();
  std::uint8_t signature[8] = {};
  ULONG n = 0;
  CHECK(s->Read(signature, 8, &n) == S_OK);
  CHECK(n == 8);
  CHECK(std::memcmp(signature, "\x89PNG\r\n\x1a\n", 8) == 0);
  CHECK(s->Write(signature, 8, &n) == STG_E_CANTSAVE);
  CHECK(s->SetSize(Uli(4)) == E_UNEXPECTED);
}

TEST_CASE("CopyTo") {
  SUBCASE("copies up to cb bytes from the current position and reports both totals") {
    const size_t sizes[] = {0, 1, 1000, 0x100000 + 17, 3 * 0x100000};
    for (size_t size : sizes) {
      CAPTURE(size);
      TMemoryStream source(Counting(size + 5));
      source.Seek(5, TStream::FromBeginning);
      TMemoryStream sink;
      auto from = TStreamAdapter::Create(&source, false);
      auto to = TStreamAdapter::Create(&sink, false);
      ULARGE_INTEGER read = Uli(7), written = Uli(7);
      CHECK(from.Get()->CopyTo(to.Get(), Uli(size), &read, &written) == S_OK);
      CHECK(read.QuadPart == size);
      CHECK(written.QuadPart == size);
      REQUIRE(sink.Bytes().size() == size);
      CHECK(std::equal(sink.Bytes().begin(), sink.Bytes().end(), Counting(size + 5).begin() + 5));
    }
  }
  SUBCASE("stops at the end of the source") {
    TMemoryStream source(Counting(300)), sink;
    auto from = TStreamAdapter::Create(&source, false);
    auto to = TStreamAdapter::Create(&sink, false);
    ULARGE_INTEGER read, written;
    CHECK(from.Get()->CopyTo(to.Get(), Uli(0xFFFFFFFFFFULL), &read, &written) == S_OK);
    CHECK(read.QuadPart == 300);
    CHECK(written.QuadPart == 300);
  }
  SUBCASE("a target that writes less than it got fails with E_FAIL") {
    TMemoryStream source(Counting(100));
    ShortStream sink(30);
    auto from = TStreamAdapter::Create(&source, false);
    auto to = TStreamAdapter::Create(&sink, false);
    ULARGE_INTEGER read, written;
    CHECK(from.Get()->CopyTo(to.Get(), Uli(100), &read, &written) == E_FAIL);
    CHECK(read.QuadPart == 100);
    CHECK(written.QuadPart == 30);
  }
  SUBCASE("no target is an invalid pointer, not a crash") {
    TMemoryStream source(Counting(10));
    auto from = TStreamAdapter::Create(&source, false);
    CHECK(from.Get()->CopyTo(nullptr, Uli(10), nullptr, nullptr) == STG_E_INVALIDPOINTER);
  }
}

TEST_CASE("reference counting and stream ownership") {
  bool destroyed = false;
  {
    auto adapter = TStreamAdapter::Create(new WatchedStream(&destroyed), true);
    IStream* extra = nullptr;
    REQUIRE(adapter.Get()->QueryInterface(IID_IStream, reinterpret_cast<void**>(&extra)) == S_OK);
    ISequentialStream* sequential = nullptr;
    REQUIRE(adapter.Get()->QueryInterface(IID_ISequentialStream, reinterpret_cast<void**>(&sequential)) == S_OK);
    IUnknown* unknown = nullptr;
    CHECK(adapter.Get()->QueryInterface(IID_IStorage, reinterpret_cast<void**>(&unknown)) == E_NOINTERFACE);
    CHECK(unknown == nullptr);
    sequential->Release();
    adapter.Reset();
    CHECK(!destroyed);  // `extra` still holds it
    extra->Release();
    CHECK(destroyed);
  }
  destroyed = false;
  WatchedStream kept(&destroyed);
  TStreamAdapter::Create(&kept, false).Reset();
  CHECK(!destroyed);  // not owned: the caller keeps it
}

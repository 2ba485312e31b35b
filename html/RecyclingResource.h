// A memory resource that keeps the blocks given back to it and hands them out
// again: the upstream of a document's arena when documents are built one
// after another. An arena asks for the same series of block sizes each time,
// so after the first few documents no block comes from the heap any more and
// the heap neither grows nor shrinks (each of which costs system calls and
// page faults).
#pragma once

#include <cstddef>
#include <memory_resource>
#include <vector>

class TRecyclingResource final : public std::pmr::memory_resource {
 public:
  // Keeps at most retainLimit bytes; blocks beyond it go back upstream, so
  // one huge document does not pin its memory for good.
  explicit TRecyclingResource(std::size_t retainLimit,
                              std::pmr::memory_resource* upstream = std::pmr::new_delete_resource());
  ~TRecyclingResource() override;
  TRecyclingResource(const TRecyclingResource&) = delete;
  TRecyclingResource& operator=(const TRecyclingResource&) = delete;

  // Bytes kept for reuse, and how many blocks had to come from upstream.
  std::size_t Retained() const { return retained_; }
  std::size_t UpstreamAllocations() const { return upstreamAllocations_; }
  // Gives every kept block back upstream.
  void Release();

 private:
  struct TBlock {
    void* data;
    std::size_t bytes;
    std::size_t alignment;
  };

  void* do_allocate(std::size_t bytes, std::size_t alignment) override;
  void do_deallocate(void* p, std::size_t bytes, std::size_t alignment) override;
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }

  std::pmr::memory_resource* upstream_;
  std::size_t retainLimit_;
  std::size_t retained_ = 0;
  std::size_t upstreamAllocations_ = 0;
  std::vector<TBlock> free_;
};

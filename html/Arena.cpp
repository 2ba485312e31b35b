#include "html/Arena.h"

#include <limits>
#include <new>

TArena::TArena(std::pmr::memory_resource* upstream) : upstream_(upstream) {}

TArena::~TArena() {
  while (last_) {
    TBlock* previous = last_->previous;
    upstream_->deallocate(last_, last_->bytes, alignof(std::max_align_t));
    last_ = previous;
  }
}

void* TArena::AllocateInNewBlock(std::size_t bytes, std::size_t alignment) {
  // Room for the header, the request and its worst padding; a request larger
  // than the series gets a block of its own size and leaves the series as it
  // was, so the next documents still ask for the usual sizes.
  constexpr std::size_t Limit = std::numeric_limits<std::size_t>::max() / 2;
  if (bytes > Limit || alignment > Limit) throw std::bad_alloc();
  const std::size_t needed = sizeof(TBlock) + bytes + alignment;
  std::size_t size = nextBlock_;
  if (needed > size)
    size = needed;
  else if (nextBlock_ < LargestBlock)
    nextBlock_ *= 2;
  auto* block = static_cast<TBlock*>(upstream_->allocate(size, alignof(std::max_align_t)));
  block->previous = last_;
  block->bytes = size;
  last_ = block;
  next_ = reinterpret_cast<char*>(block + 1);
  end_ = reinterpret_cast<char*>(block) + size;
  const std::size_t pad = static_cast<std::size_t>(-reinterpret_cast<std::uintptr_t>(next_)) & (alignment - 1);
  char* p = next_ + pad;
  next_ = p + bytes;
  return p;
}

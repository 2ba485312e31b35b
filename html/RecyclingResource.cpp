#include "html/RecyclingResource.h"

TRecyclingResource::TRecyclingResource(std::size_t retainLimit, std::pmr::memory_resource* upstream)
    : upstream_(upstream), retainLimit_(retainLimit) {}

TRecyclingResource::~TRecyclingResource() { Release(); }

void TRecyclingResource::Release() {
  for (const TBlock& block : free_) upstream_->deallocate(block.data, block.bytes, block.alignment);
  free_.clear();
  retained_ = 0;
}

void* TRecyclingResource::do_allocate(std::size_t bytes, std::size_t alignment) {
  // The list is short (an arena's blocks grow geometrically), so a scan is
  // cheaper than any index. Only an exact fit is taken: the arena frees a
  // block with the size it asked for.
  for (std::size_t i = free_.size(); i-- > 0;) {
    if (free_[i].bytes == bytes && free_[i].alignment == alignment) {
      void* data = free_[i].data;
      retained_ -= bytes;
      free_[i] = free_.back();
      free_.pop_back();
      return data;
    }
  }
  ++upstreamAllocations_;
  return upstream_->allocate(bytes, alignment);
}

void TRecyclingResource::do_deallocate(void* p, std::size_t bytes, std::size_t alignment) {
  if (bytes <= retainLimit_ - retained_) {  // retained_ never exceeds the limit
    try {
      free_.push_back({p, bytes, alignment});
      retained_ += bytes;
      return;
    } catch (...) {
      // No room to remember it: it goes back instead.
    }
  }
  upstream_->deallocate(p, bytes, alignment);
}

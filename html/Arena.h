// The memory of one document: a pointer bump per allocation, freed all at
// once. Blocks come from an upstream resource (see RecyclingResource.h) and
// grow by doubling up to a ceiling, so building documents one after another
// asks upstream for the same series of sizes every time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory_resource>

class TArena {
 public:
  explicit TArena(std::pmr::memory_resource* upstream);
  ~TArena();
  TArena(const TArena&) = delete;
  TArena& operator=(const TArena&) = delete;

  // alignment must be a power of two. Throws std::bad_alloc as upstream does.
  void* Allocate(std::size_t bytes, std::size_t alignment) {
    const std::size_t room = static_cast<std::size_t>(end_ - next_);
    const std::size_t pad = static_cast<std::size_t>(-reinterpret_cast<std::uintptr_t>(next_)) & (alignment - 1);
    if (bytes <= room && pad <= room - bytes) {
      char* p = next_ + pad;
      next_ = p + bytes;
      return p;
    }
    return AllocateInNewBlock(bytes, alignment);
  }

  static constexpr std::size_t FirstBlock = 4096;
  static constexpr std::size_t LargestBlock = 1 << 20;

 private:
  struct TBlock {
    TBlock* previous;
    std::size_t bytes;  // of the whole block, this header included
  };

  void* AllocateInNewBlock(std::size_t bytes, std::size_t alignment);

  std::pmr::memory_resource* upstream_;
  TBlock* last_ = nullptr;
  char* next_ = nullptr;
  char* end_ = nullptr;
  std::size_t nextBlock_ = FirstBlock;
};

// Block storage for the cells and cell-pointer arrays that one parse makes. Addresses stay
// stable until Clear, which frees everything at once and keeps the first block for the next
// parse, so re-parsing on every keystroke does not go back to the heap.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

namespace evaluator {

template <typename T, std::size_t kBlockSize>
class TArena {
 public:
  // n value-initialised elements, contiguous.
  T* Allocate(std::size_t n) {
    if (n > kBlockSize) {
      large_.push_back(std::make_unique<T[]>(n));
      return large_.back().get();
    }
    if (blocks_.empty() || used_ + n > kBlockSize) {
      blocks_.push_back(std::make_unique<T[]>(kBlockSize));
      used_ = 0;
    }
    T* result = blocks_.back().get() + used_;
    used_ += n;
    return result;
  }

  // Frees every element; the first block's memory is reset and kept.
  void Clear() {
    if (!blocks_.empty()) {
      std::fill_n(blocks_.front().get(), blocks_.size() > 1 ? kBlockSize : used_, T{});
      blocks_.resize(1);
    }
    large_.clear();
    used_ = 0;
  }

 private:
  std::vector<std::unique_ptr<T[]>> blocks_;
  std::vector<std::unique_ptr<T[]>> large_;
  std::size_t used_ = 0;  // elements handed out from the last block
};

}  // namespace evaluator

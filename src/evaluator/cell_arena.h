// Block storage for the cells and cell-pointer arrays that one parse makes. Addresses stay
// stable until Clear, which frees everything at once but keeps the blocks for the next parse,
// so re-parsing on every keystroke neither goes back to the heap nor, for a large text, has
// the pages of fresh blocks faulted in again.
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
    if (current_ == blocks_.size() || used_ + n > kBlockSize) {
      // The next kept block, or a new one.
      if (current_ < blocks_.size()) ++current_;
      if (current_ == blocks_.size()) blocks_.push_back(std::make_unique<T[]>(kBlockSize));
      used_ = 0;
    }
    T* result = blocks_[current_].get() + used_;
    used_ += n;
    return result;
  }

  // Frees every element: the blocks handed out are reset and kept.
  void Clear() {
    for (std::size_t k = 0; k < blocks_.size() && k <= current_; ++k)
      std::fill_n(blocks_[k].get(), k < current_ ? kBlockSize : used_, T{});
    large_.clear();
    current_ = 0;
    used_ = 0;
  }

 private:
  std::vector<std::unique_ptr<T[]>> blocks_;
  std::vector<std::unique_ptr<T[]>> large_;
  std::size_t current_ = 0;  // the block handed out from, blocks_.size() before the first
  std::size_t used_ = 0;     // elements handed out from it
};

}  // namespace evaluator

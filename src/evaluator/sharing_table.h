// The compiler's table of sharing keys: the normalised text of a leaf, or the structural key of
// a composite entry built from its operand entries, to the entry that computes it.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace evaluator {

// One flat array of slots and one buffer of key texts, so that a text of a million operators
// costs a few large allocations rather than a node per key, and a lookup touches a cache line
// or two.
//
// A composite's key can only be met again once each of its operands is used again. So the key
// of a composite with an operand never used before is held back on that operand and goes into
// the table only when the operand is used a second time. In a long text whose subexpressions
// each appear once, as most do, composites then never reach the table: its random accesses,
// which cost more the larger it grows, would otherwise make parse time grow faster than the
// text.
class TSharingTable {
 public:
  // Makes room for composites over `entries` entries, so that a long text is not copied over
  // and over as the buffers grow. Nothing is touched until it is used.
  void Reserve(std::size_t entries) {
    uses_.reserve(entries);
    heldKeys_.reserve(entries * kTypicalKeyLength);
  }

  // The entry stored under a leaf's key, or -1.
  std::int32_t Find(std::string_view key) const {
    if (slots_.empty()) return -1;
    const std::size_t hash = std::hash<std::string_view>{}(key);
    for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
      const TSlot& slot = slots_[i];
      if (slot.entry < 0) return -1;
      if (slot.hash == static_cast<std::uint32_t>(hash) && Matches(slot, key)) return slot.entry;
    }
  }

  // Stores `entry` under a leaf's key, unless the key is there already.
  void Insert(std::string_view key, std::int32_t entry) {
    if ((count_ + 1) * 2 > slots_.size()) Grow((count_ + 1) * 2);
    const std::size_t hash = std::hash<std::string_view>{}(key);
    std::size_t i = hash & mask_;
    for (;; i = (i + 1) & mask_) {
      const TSlot& slot = slots_[i];
      if (slot.entry < 0) break;
      if (slot.hash == static_cast<std::uint32_t>(hash) && Matches(slot, key)) return;
    }
    slots_[i] = TSlot{static_cast<std::uint32_t>(hash), static_cast<std::uint32_t>(keys_.size()),
                      static_cast<std::uint32_t>(key.size()), entry};
    keys_.append(key);
    ++count_;
  }

  // The entry stored under the key of a composite made of `operands`, or -1.
  std::int32_t FindComposite(std::string_view key, std::span<const std::int32_t> operands) {
    for (const std::int32_t operand : operands) {
      if (!Used(operand)) return -1;  // no key holds an operand never used
    }
    for (const std::int32_t operand : operands)
      ReleaseHeldKey(operand);
    return Find(key);
  }

  // Stores `entry` under the key of a composite made of `operands`, or holds the key back on
  // an operand used here for the first time.
  void InsertComposite(std::string_view key, std::int32_t entry,
                       std::span<const std::int32_t> operands) {
    std::int32_t firstUse = -1;
    for (const std::int32_t operand : operands) {
      if (operand < 0) continue;
      if (!Used(operand)) firstUse = operand;
      MarkUsed(operand);
    }
    if (firstUse < 0) {
      Insert(key, entry);
      return;
    }
    TOperandUse& use = uses_[static_cast<std::size_t>(firstUse)];
    use.heldOffset = static_cast<std::uint32_t>(heldKeys_.size());
    use.heldLength = static_cast<std::uint32_t>(key.size());
    use.heldEntry = entry;
    heldKeys_.append(key);
  }

 private:
  // A structural key such as "+1234,1235".
  static constexpr std::size_t kTypicalKeyLength = 12;

  struct TSlot {
    std::uint32_t hash = 0;    // low bits of the key's hash
    std::uint32_t offset = 0;  // of the key text in keys_
    std::uint32_t length = 0;
    std::int32_t entry = -1;  // -1: an empty slot
  };

  // What the table knows of an entry as an operand of composites.
  struct TOperandUse {
    bool used = false;            // some key holds this entry
    std::int32_t heldEntry = -1;  // a key held back on this entry, with its text in heldKeys_
    std::uint32_t heldOffset = 0;
    std::uint32_t heldLength = 0;
  };

  bool Used(std::int32_t operand) const {
    return operand < 0 || (static_cast<std::size_t>(operand) < uses_.size() &&
                           uses_[static_cast<std::size_t>(operand)].used);
  }

  void MarkUsed(std::int32_t operand) {
    const auto index = static_cast<std::size_t>(operand);
    if (index >= uses_.size()) uses_.resize(index + 1);
    uses_[index].used = true;
  }

  void ReleaseHeldKey(std::int32_t operand) {
    if (operand < 0) return;
    TOperandUse& use = uses_[static_cast<std::size_t>(operand)];
    if (use.heldEntry < 0) return;
    const std::int32_t entry = use.heldEntry;
    use.heldEntry = -1;
    Insert(std::string_view(heldKeys_).substr(use.heldOffset, use.heldLength), entry);
  }

  bool Matches(const TSlot& slot, std::string_view key) const {
    return slot.length == key.size() &&
           std::memcmp(keys_.data() + slot.offset, key.data(), key.size()) == 0;
  }

  // Spreads the keys over a power-of-two number of slots, at least `wanted`.
  void Grow(std::size_t wanted) {
    std::size_t size = 16;
    while (size < wanted)
      size *= 2;
    std::vector<TSlot> old(size);
    old.swap(slots_);
    mask_ = size - 1;
    for (const TSlot& slot : old) {
      if (slot.entry < 0) continue;
      std::size_t i = slot.hash & mask_;
      while (slots_[i].entry >= 0)
        i = (i + 1) & mask_;
      slots_[i] = slot;
    }
  }

  std::vector<TSlot> slots_;
  std::string keys_;  // the key texts end to end
  std::size_t count_ = 0;
  std::size_t mask_ = 0;
  std::vector<TOperandUse> uses_;  // by entry number
  std::string heldKeys_;           // texts of the keys held back
};

}  // namespace evaluator

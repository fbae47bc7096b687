#pragma once
// A fixed-size open-addressing table from name hashes to item numbers. It
// stores no names: the owner passes a predicate that compares the name of
// a stored item, which keeps the table at eight bytes a slot.

#include <QtGlobal>
#include <bit>
#include <cstddef>
#include <vector>

namespace platform::profile {

class NameIndex {
public:
    // Room for at most maxItems items, with the load kept under two thirds.
    explicit NameIndex(std::size_t maxItems = 0)
        : slots_(std::bit_ceil(maxItems + maxItems / 2 + 1)), mask_(slots_.size() - 1) {}

    // The item stored under hash for which matches(item) holds, or -1.
    template <typename Matches>
    qint32 Find(std::size_t hash, Matches&& matches) const {
        for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
            const Slot& slot = slots_[i];
            if (slot.item < 0) return -1;
            if (slot.hash == quint32(hash) && matches(slot.item)) return slot.item;
        }
    }

    // Stores item unless an item that matches is stored already, so the
    // first of several equal names wins. Returns whether item was stored.
    template <typename Matches>
    bool AddFirst(std::size_t hash, qint32 item, Matches&& matches) {
        for (std::size_t i = hash & mask_;; i = (i + 1) & mask_) {
            Slot& slot = slots_[i];
            if (slot.item < 0) {
                slot = {quint32(hash), item};
                return true;
            }
            if (slot.hash == quint32(hash) && matches(slot.item)) return false;
        }
    }

private:
    struct Slot {
        quint32 hash = 0;
        qint32 item = -1;
    };
    std::vector<Slot> slots_;
    std::size_t mask_;
};

}  // namespace platform::profile

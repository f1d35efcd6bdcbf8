// A pool of cell sprites: element 0 is the hidden template, and every element created later
// starts as a copy of it. One stacking order is shared by all pools of a window.
#pragma once

#include "platform/controls.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vorbix {

class StackingOrder {
public:
    std::uint64_t next() { return ++top_; }

private:
    std::uint64_t top_ = 0;
};

class SpritePool {
public:
    SpritePool(std::string name, const CellSprite& sprite_template, StackingOrder& order);

    // Creates element k (k >= 1) as a copy of element 0 in every property, hidden.
    void create(int k);
    bool exists(int k) const;
    CellSprite& operator[](int k);
    const CellSprite& operator[](int k) const;
    void bring_to_front(int k);

    // Every element by its number, created or not; one never created stands hidden.
    std::span<const CellSprite> elements() const { return elements_; }

    // One past the highest element number that exists.
    int size() const { return static_cast<int>(elements_.size()); }
    const std::string& name() const { return name_; }

private:
    void require(int k) const;

    std::string name_;
    std::vector<CellSprite> elements_;
    std::vector<bool> created_;
    StackingOrder* order_;
};

}  // namespace vorbix

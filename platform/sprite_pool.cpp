// Sprite pools: creation from the template and checked access to the elements.
#include "platform/sprite_pool.h"

#include "platform/invariant.h"

namespace vorbix {

SpritePool::SpritePool(std::string name, const CellSprite& sprite_template, StackingOrder& order)
    : name_(std::move(name)), elements_{sprite_template}, created_{true}, order_(&order)
{
    elements_[0].visible = false;
}

void SpritePool::create(int k)
{
    invariant(k >= 1, "%s(%d): sprites are created from element 1 on", name_.c_str(), k);
    invariant(!exists(k), "%s(%d) already exists", name_.c_str(), k);
    if (k >= size()) {
        elements_.resize(static_cast<std::size_t>(k) + 1);
        created_.resize(static_cast<std::size_t>(k) + 1, false);
    }
    elements_[k] = elements_[0];
    elements_[k].visible = false;
    created_[k] = true;
}

bool SpritePool::exists(int k) const { return k >= 0 && k < size() && created_[k]; }

void SpritePool::require(int k) const { invariant(exists(k), "%s(%d) does not exist", name_.c_str(), k); }

CellSprite& SpritePool::operator[](int k)
{
    require(k);
    return elements_[k];
}

const CellSprite& SpritePool::operator[](int k) const
{
    require(k);
    return elements_[k];
}

void SpritePool::bring_to_front(int k) { (*this)[k].z = order_->next(); }

}  // namespace vorbix

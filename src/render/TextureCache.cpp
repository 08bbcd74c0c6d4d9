#include "render/TextureCache.h"

#include "msts/Ace.h"
#include "render/Renderer.h"
#include "render/ShapeModel.h"

#include <algorithm>
#include <cmath>

namespace render {

TextureCache::TextureCache(std::size_t byteBound) : byteBound_(byteBound) {}

std::size_t TextureCache::decodes() const {
    const std::lock_guard lock(mutex_);
    return decodes_;
}

std::size_t TextureCache::bytesHeld() const {
    const std::lock_guard lock(mutex_);
    return held_;
}

void TextureCache::release(Entry& entry) {
    if (!entry.texture)
        return;
    held_ -= entry.texture->bytes();
    recent_.erase(entry.recent);
    entry.texture.reset();
}

void TextureCache::hold(const std::string& key, Entry& entry,
                        std::shared_ptr<const Texture> texture) {
    release(entry);
    held_ += texture->bytes();
    entry.texture = std::move(texture);
    recent_.push_front(key);
    entry.recent = recent_.begin();
    while (held_ > byteBound_ && recent_.size() > 1) {
        const std::string victim = recent_.back();
        const auto found = entries_.find(victim);
        release(found->second);
        entries_.erase(found);
    }
    // Larger than the whole bound on its own: handed to the picture, not kept.
    if (held_ > byteBound_)
        release(entry);
}

TextureAnswer TextureCache::acquire(const std::string& key, float footprint, const ReadFile& read,
                                    TextureBudget& budget) {
    if (std::isinf(footprint) && footprint > 0)
        return {TextureStatus::NotNeeded, nullptr};
    const std::size_t room = budget.limit > budget.used ? budget.limit - budget.used : 0;

    std::unique_lock lock(mutex_);
    Entry* entry = nullptr;
    for (;;) {
        entry = &entries_[key]; // elements keep their address while the map grows
        if (!entry->decoding)
            break;
        decoded_.wait(lock);
    }
    if (entry->failed)
        return {TextureStatus::Undecodable, nullptr};
    if (entry->texture) {
        const int finest = finestMipLevel(footprint, entry->width, entry->height);
        const std::size_t need = mipChainBytes(entry->width, entry->height, finest);
        if (need > room)
            return {TextureStatus::OverBudget, nullptr};
        if (entry->texture->firstLevel <= finest) {
            recent_.splice(recent_.begin(), recent_, entry->recent);
            budget.used += need;
            return {TextureStatus::Ready, entry->texture};
        }
    }
    entry->decoding = true;
    lock.unlock();

    std::optional<std::vector<std::byte>> bytes;
    if (read)
        bytes = read();
    bool overBudget = false;
    int finest = 0;
    std::size_t need = 0;
    std::shared_ptr<const Texture> texture;
    if (bytes) {
        msts::AceOptions options;
        options.chooseFirstLevel = [&](const msts::AceInfo& info) -> std::optional<std::uint32_t> {
            finest = finestMipLevel(footprint, int(info.width), int(info.height));
            need = mipChainBytes(int(info.width), int(info.height), finest);
            // Without stored levels the whole picture is decoded and the chain built.
            const int first = info.storedLevels > 1 ? finest : 0;
            // While decoding, the file's bytes and every level decoded are held at once.
            const std::size_t peak =
                bytes->size() + mipChainBytes(int(info.width), int(info.height), first);
            if (std::max(need, peak) > room) {
                overBudget = true;
                return std::nullopt;
            }
            return std::uint32_t(first);
        };
        msts::AceResult ace = msts::readAce(*bytes, options);
        bytes->clear();
        bytes->shrink_to_fit();
        if (ace.ok() && !overBudget) {
            // The decoded levels are taken over, not copied.
            Texture t = textureFromAce(std::move(ace.image));
            if (t.valid()) {
                t.dropLevelsAbove(finest);
                texture = std::make_shared<const Texture>(std::move(t));
            }
        }
    }

    lock.lock();
    entry->decoding = false;
    decoded_.notify_all();
    if (!bytes) // not remembered: the file may become readable
        return {TextureStatus::Unreadable, nullptr};
    if (overBudget)
        return {TextureStatus::OverBudget, nullptr};
    ++decodes_;
    if (!texture) {
        entry->failed = true;
        return {TextureStatus::Undecodable, nullptr};
    }
    entry->width = texture->width();
    entry->height = texture->height();
    hold(key, *entry, texture);
    budget.used += need;
    return {TextureStatus::Ready, texture};
}

} // namespace render

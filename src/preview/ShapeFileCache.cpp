#include "preview/ShapeFileCache.h"

#include <algorithm>

namespace preview {

ShapeFileCache::ShapeFileCache(std::size_t entryBound)
    : entryBound_(std::max<std::size_t>(1, entryBound)) {}

std::shared_ptr<const ReadShape> ShapeFileCache::get(const std::string& key, const Reader& read) {
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            const auto found = entries_.find(key);
            if (found == entries_.end())
                break;
            if (found->second)
                return found->second;
            readDone_.wait(lock);
        }
        entries_.emplace(key, nullptr);
        ++reads_;
    }
    std::shared_ptr<const ReadShape> shape;
    try {
        shape = read();
    } catch (...) {
        // Nothing held: the next one asking reads it again.
        const std::lock_guard lock(mutex_);
        entries_.erase(key);
        readDone_.notify_all();
        throw;
    }
    {
        const std::lock_guard lock(mutex_);
        if (!shape) {
            entries_.erase(key);
        } else {
            entries_[key] = shape;
            order_.push_back(key);
        }
        while (order_.size() > entryBound_) {
            entries_.erase(order_.front());
            order_.pop_front();
        }
    }
    readDone_.notify_all();
    return shape;
}

std::size_t ShapeFileCache::reads() const {
    const std::lock_guard lock(mutex_);
    return reads_;
}

std::size_t ShapeFileCache::size() const {
    const std::lock_guard lock(mutex_);
    return entries_.size();
}

} // namespace preview

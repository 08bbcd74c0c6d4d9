#pragma once

// Shape files read once per run: a freight shape that a whole pack carries (the lettering of
// each car, a shared load) is read, inflated and turned into a model once, and each vehicle
// drawing it takes a copy of that model to put its own textures in.
//
// Entries are keyed by what identifies the file (FileSystem::fileIdentity: the file it
// resolves to, with its size and time). Bound: at most entryBound shapes are held (512 by
// default: a freight shape is small, a few hundred kilobytes of model at most); the oldest
// read go first. Failures to read or parse are held too, so that a bad file is read once.
//
// Thread-safe: a file being read by one thread is waited for, not read again, by the others.

#include "msts/Diagnostics.h"
#include "render/ShapeModel.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace preview {

enum class ShapeLoadStatus;

// A shape file as read: its model without textures, or why there is none.
struct ReadShape {
    ShapeLoadStatus status;
    msts::Diagnostics diagnostics;
    render::ShapeModel shape;
};

class ShapeFileCache {
public:
    static constexpr std::size_t defaultEntryBound = 512;
    using Reader = std::function<std::shared_ptr<const ReadShape>()>;

    explicit ShapeFileCache(std::size_t entryBound = defaultEntryBound);
    ShapeFileCache(const ShapeFileCache&) = delete;
    ShapeFileCache& operator=(const ShapeFileCache&) = delete;

    // The shape of the file `key` names, read through `read` unless held.
    std::shared_ptr<const ReadShape> get(const std::string& key, const Reader& read);

    // Files read so far, for checks.
    std::size_t reads() const;
    std::size_t size() const;

private:
    const std::size_t entryBound_;
    mutable std::mutex mutex_;
    std::condition_variable readDone_;
    // Null while a thread reads it.
    std::unordered_map<std::string, std::shared_ptr<const ReadShape>> entries_;
    std::deque<std::string> order_;
    std::size_t reads_ = 0;
};

} // namespace preview

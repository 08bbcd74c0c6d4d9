#pragma once

// Decoded textures shared by every picture of a run: each texture file is read and decoded
// once, however many vehicles use it and however it is spelt, and only from the mip level
// the pictures need.
//
// Entries are keyed by what identifies the file (the caller's choice: the file it resolves
// to, with its size and time so that a rewritten file is another). An entry holds the levels
// from the finest any picture asked for; a picture asking for a finer one decodes the file
// again from there. The levels of a given file are the same whichever level decoding
// started at (the file's own smaller levels, or a chain built when it has none), and each
// picture reads no level finer than its own need, so pictures never depend on what the
// cache happens to hold.
//
// Bound: the decoded bytes held stay under byteBound, 64 MiB by default. That holds the
// shared textures of many packs at thumbnail levels, which is what a run meets again; a
// vehicle's own body texture is seldom asked for twice, and holding every one would only cost
// fresh pages (with four times the bound, a whole-library run took three times the page
// faults and a tenth more time). The
// least recently used entries go first. A texture larger than the bound on its own (a
// 4096 × 4096 one in full) is handed to its picture and not kept. A texture in use by a
// picture lives on until the picture drops it. Decoding failures are remembered too, so that a bad
// file is read once.
//
// Thread-safe: any number of threads may ask at once; a file being decoded by one thread
// is waited for, not decoded again, by the others.

#include "render/Image.h"

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace render {

// The decoded texture memory one picture may use: 192 MiB, two 4096 × 4096 textures in full
// or dozens at thumbnail levels. Each file counts once, by the levels that picture needs; one
// is not decoded at all when its bytes and the levels decoded from them, held together while
// it is decoded, would pass what is left.
struct TextureBudget {
    static constexpr std::size_t defaultBytes = std::size_t(192) << 20;
    std::size_t limit = defaultBytes;
    std::size_t used = 0;
};

enum class TextureStatus {
    Ready,      // `texture` holds the levels asked for and the smaller ones
    NotNeeded,  // the picture samples nothing of it: nothing decoded
    Unreadable, // the file could not be read
    Undecodable,
    OverBudget, // decoding it would pass the picture's budget: nothing decoded
};

struct TextureAnswer {
    TextureStatus status = TextureStatus::Unreadable;
    std::shared_ptr<const Texture> texture;
};

class TextureCache {
public:
    static constexpr std::size_t defaultByteBound = std::size_t(64) << 20;
    using ReadFile = std::function<std::optional<std::vector<std::byte>>()>;

    explicit TextureCache(std::size_t byteBound = defaultByteBound);
    TextureCache(const TextureCache&) = delete;
    TextureCache& operator=(const TextureCache&) = delete;

    // The texture of the file `key` names for a picture with this footprint (see
    // textureFootprints), charged to the picture's budget. `read` gives the file's bytes
    // when it must be decoded.
    TextureAnswer acquire(const std::string& key, float footprint, const ReadFile& read,
                          TextureBudget& budget);

    // Decodes done so far (failed ones included), for checks.
    std::size_t decodes() const;
    // Bytes of the decoded textures held.
    std::size_t bytesHeld() const;
    std::size_t byteBound() const { return byteBound_; }

private:
    struct Entry {
        bool decoding = false;
        bool failed = false;
        int width = 0, height = 0; // known once decoded
        std::shared_ptr<const Texture> texture;
        std::list<std::string>::iterator recent; // valid while texture is held
    };

    void hold(const std::string& key, Entry& entry, std::shared_ptr<const Texture> texture);
    void release(Entry& entry);

    const std::size_t byteBound_;
    mutable std::mutex mutex_;
    std::condition_variable decoded_;
    std::unordered_map<std::string, Entry> entries_;
    std::list<std::string> recent_; // keys of held textures, most recent first
    std::size_t held_ = 0;
    std::size_t decodes_ = 0;
};

} // namespace render

// The decoded-texture cache: each file decoded once across requests and threads, only from
// the level a picture needs, within its memory bound, and within each picture's budget.

#include "support/AceWriter.h"

#include "render/Renderer.h"
#include "render/TextureCache.h"

#include <gtest/gtest.h>

#include <atomic>
#include <limits>
#include <thread>
#include <vector>

namespace {

using render::TextureBudget;
using render::TextureCache;
using render::TextureStatus;

std::vector<std::byte> textureFile(std::uint32_t size, bool mipmaps = true) {
    fixtures::AceWriteOptions o;
    o.layout = fixtures::AceLayout::Rgb;
    o.mipmaps = mipmaps;
    return fixtures::writeAce(fixtures::testPicture(size, size), o);
}

// A reader that counts how often the file is read.
TextureCache::ReadFile counted(const std::vector<std::byte>& bytes, std::atomic<int>& reads) {
    return [&bytes, &reads]() -> std::optional<std::vector<std::byte>> {
        ++reads;
        return bytes;
    };
}

// A footprint at which a texture of `size` texels is sampled about once a texel.
float fullDetail(int size) {
    return 1.0f / float(size);
}

TEST(TextureCacheTest, EachFileIsDecodedOnceAcrossRequestsAndThreads) {
    const auto bytes = textureFile(64);
    std::atomic<int> reads = 0;
    TextureCache cache;
    std::vector<std::thread> threads;
    std::vector<const render::Texture*> seen(8 * 25);
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 25; ++i) {
                TextureBudget budget;
                const auto answer =
                    cache.acquire("body", fullDetail(64), counted(bytes, reads), budget);
                ASSERT_EQ(answer.status, TextureStatus::Ready);
                seen[std::size_t(t * 25 + i)] = answer.texture.get();
            }
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(cache.decodes(), 1u);
    for (const render::Texture* t : seen)
        EXPECT_EQ(t, seen[0]) << "every request shares the one decoded texture";

    // A file that fails to decode is read once too.
    const std::vector<std::byte> garbage(100, std::byte{7});
    std::atomic<int> badReads = 0;
    for (int i = 0; i < 3; ++i) {
        TextureBudget budget;
        EXPECT_EQ(cache.acquire("bad", fullDetail(64), counted(garbage, badReads), budget).status,
                  TextureStatus::Undecodable);
    }
    EXPECT_EQ(badReads, 1);
}

TEST(TextureCacheTest, OnlyTheLevelsAPictureNeedsAreDecodedAndAFinerNeedDecodesAgain) {
    const auto bytes = textureFile(256);
    std::atomic<int> reads = 0;
    TextureCache cache;
    TextureBudget budget;
    // Sampled every 16 texels: level 4 (16×16) is what the rasterizer reads, level 3 the margin.
    const auto coarse = cache.acquire("t", 16.0f / 256, counted(bytes, reads), budget);
    ASSERT_EQ(coarse.status, TextureStatus::Ready);
    EXPECT_EQ(coarse.texture->firstLevel, 3);
    EXPECT_EQ(coarse.texture->levels[0].width, 32);
    EXPECT_EQ(coarse.texture->width(), 256);
    EXPECT_EQ(budget.used, render::mipChainBytes(256, 256, 3));
    EXPECT_LT(budget.used, render::mipChainBytes(256, 256, 0) / 50);

    const auto fine = cache.acquire("t", fullDetail(256), counted(bytes, reads), budget);
    EXPECT_EQ(fine.texture->firstLevel, 0);
    EXPECT_EQ(reads, 2);
    // The finer texture serves coarse pictures from then on, with the same smaller levels.
    const auto again = cache.acquire("t", 16.0f / 256, counted(bytes, reads), budget);
    EXPECT_EQ(reads, 2);
    EXPECT_EQ(again.texture, fine.texture);
    EXPECT_EQ(fine.texture->levels[3].rgba, coarse.texture->levels[0].rgba);

    // Nothing is decoded for a texture the picture does not sample.
    EXPECT_EQ(cache
                  .acquire("unseen", std::numeric_limits<float>::infinity(), counted(bytes, reads),
                           budget)
                  .status,
              TextureStatus::NotNeeded);
    EXPECT_EQ(reads, 2);
}

TEST(TextureCacheTest, HeldBytesStayWithinTheBoundLeastRecentlyUsedGoingFirst) {
    const auto bytes = textureFile(128);
    const std::size_t one = render::mipChainBytes(128, 128, 0);
    TextureCache cache(one * 5 / 2); // room for two
    std::atomic<int> reads = 0;
    const auto ask = [&](const std::string& key) {
        TextureBudget budget;
        return cache.acquire(key, fullDetail(128), counted(bytes, reads), budget);
    };
    ask("a");
    ask("b");
    ask("a"); // b is now the least recently used
    ask("c");
    EXPECT_LE(cache.bytesHeld(), cache.byteBound());
    EXPECT_EQ(cache.bytesHeld(), 2 * one);
    EXPECT_EQ(reads, 3);
    ask("a");
    ask("c");
    EXPECT_EQ(reads, 3) << "the two most recent stay";
    ask("b");
    EXPECT_EQ(reads, 4) << "the least recent went";

    // A texture larger than the whole bound is handed out but not kept.
    TextureCache small(one / 2);
    TextureBudget budget;
    const auto answer = small.acquire("big", fullDetail(128), counted(bytes, reads), budget);
    EXPECT_EQ(answer.status, TextureStatus::Ready);
    EXPECT_EQ(small.bytesHeld(), 0u);
}

TEST(TextureCacheTest, APictureBudgetRefusesWhatWouldPassItWithoutDecoding) {
    const auto big = textureFile(256);
    const auto small = textureFile(32);
    std::atomic<int> reads = 0;
    TextureCache cache;
    TextureBudget budget;
    // Room for the big file's bytes and one less than its whole chain, held while it decodes.
    budget.limit =
        big.size() + render::mipChainBytes(256, 256, 0) + render::mipChainBytes(32, 32, 0);
    budget.used = render::mipChainBytes(32, 32, 0) + 1;
    EXPECT_EQ(cache.acquire("big", fullDetail(256), counted(big, reads), budget).status,
              TextureStatus::OverBudget);
    EXPECT_EQ(cache.decodes(), 0u);
    // Coarser levels of the same file fit.
    EXPECT_EQ(cache.acquire("big", 4.0f / 256, counted(big, reads), budget).status,
              TextureStatus::Ready);
    EXPECT_EQ(cache.acquire("small", fullDetail(32), counted(small, reads), budget).status,
              TextureStatus::Ready);
    EXPECT_LE(budget.used, budget.limit);
    // Held by the cache or not, the budget counts what the picture needs.
    TextureBudget tight;
    tight.limit = render::mipChainBytes(32, 32, 0) - 1;
    EXPECT_EQ(cache.acquire("small", fullDetail(32), counted(small, reads), tight).status,
              TextureStatus::OverBudget);
    EXPECT_EQ(tight.used, 0u);

    // A file without stored levels is decoded whole, beside its own bytes, however coarse the
    // level the picture needs: that peak is what has to fit.
    const auto flat = textureFile(256, false);
    TextureBudget decoding;
    decoding.limit = render::mipChainBytes(256, 256, 0) + flat.size() - 1;
    EXPECT_EQ(cache.acquire("flat", 16.0f / 256, counted(flat, reads), decoding).status,
              TextureStatus::OverBudget);
    EXPECT_EQ(decoding.used, 0u);
    decoding.limit += 1;
    EXPECT_EQ(cache.acquire("flat", 16.0f / 256, counted(flat, reads), decoding).status,
              TextureStatus::Ready);
    EXPECT_EQ(decoding.used, render::mipChainBytes(256, 256, 3)) << "charged what it keeps";
}

} // namespace

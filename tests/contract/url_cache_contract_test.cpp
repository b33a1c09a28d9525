// The Internet cache walk as the cache cleaners drive it: the size probe, one entry at a
// time, deleting as they go. On Windows the cache holds the prefix's own entries too, so the
// checks look only at the entries each test adds.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "backend.h"

namespace qm::contract {
namespace {

using platform::kErrorInsufficientBuffer;
using platform::kOk;
using Visit = std::function<void(const platform::UrlCacheEntry&)>;

class UrlCacheContract : public ::testing::Test {
  protected:
    void SetUp() override {
        cache_ = backend_->url_cache();
        // The scratch folder's name is unique on the machine, so the URLs are too.
        const std::string scratch = backend_->ScratchFolder();
        const std::string token = scratch.substr(scratch.find_last_of('\\') + 1);
        for (const char* page : {"first.htm", "second.htm"}) {
            ours_.push_back("http://quillmoss.test/" + token + "/" + page);
            ASSERT_TRUE(backend_->AddUrlCacheEntry(ours_.back())) << ours_.back();
        }
    }

    // Walks the whole cache the way the cleaners do: probe with no buffer, then fetch with
    // exactly the size asked for. `visit` sees each entry; returns how often each of ours was
    // seen.
    std::vector<long> Walk(const Visit& visit = [](const platform::UrlCacheEntry&) {}) {
        std::vector<long> seen(ours_.size());
        std::uint32_t size = 0;
        platform::UrlCacheWalk walk = 0;
        platform::UrlCacheEntry entry;
        const platform::Status probe = cache_->FindFirst(size, walk, entry);
        EXPECT_EQ(walk, 0u) << "a failed size probe must not open a walk";
        bool ok = probe == kErrorInsufficientBuffer && cache_->FindFirst(size, walk, entry) == kOk;
        while (ok) {
            EXPECT_GE(size, 80u + entry.source_url.size() + 1) << entry.source_url;
            for (std::size_t i = 0; i < ours_.size(); ++i) seen[i] += entry.source_url == ours_[i];
            visit(entry);
            size = 0;
            const platform::Status next = cache_->FindNext(walk, size, entry);
            if (next == platform::kErrorNoMoreItems) break;
            EXPECT_EQ(next, kErrorInsufficientBuffer);
            ok = cache_->FindNext(walk, size, entry) == kOk;
            EXPECT_TRUE(ok) << "the walk broke off with the size it asked for";
        }
        cache_->Close(walk);
        return seen;
    }

    std::unique_ptr<Backend> backend_ = MakeBackend();
    platform::UrlCache* cache_ = nullptr;
    std::vector<std::string> ours_;
};

TEST_F(UrlCacheContract, DeletingWhileWalkingKeepsTheWalkGoing) {
    std::vector<platform::Status> deleted;
    Walk([&](const platform::UrlCacheEntry& entry) {
        if (std::count(ours_.begin(), ours_.end(), entry.source_url) == 1)
            deleted.push_back(cache_->DeleteEntry(entry.source_url));
    });
    // Each was reached once although the first went while the walk stood on it.
    EXPECT_EQ(deleted, (std::vector<platform::Status>{kOk, kOk}));
    EXPECT_EQ(Walk(), (std::vector<long>{0, 0}));
}

TEST_F(UrlCacheContract, EntryInUseIsRefusedAndGoesOnceReleased) {
    {
        const std::unique_ptr<FileHold> hold = backend_->HoldUrlCacheEntry(ours_[0]);
        if (hold == nullptr) GTEST_SKIP() << "this backend cannot hold a cache entry";
        EXPECT_EQ(cache_->DeleteEntry(ours_[0]), platform::kErrorSharingViolation);
        EXPECT_EQ(Walk(), (std::vector<long>{1, 1}));
    }
    // The refused delete was remembered: releasing the entry removes it.
    EXPECT_EQ(cache_->DeleteEntry(ours_[0]), platform::kErrorFileNotFound);
    EXPECT_EQ(cache_->DeleteEntry(ours_[1]), kOk);
}

}  // namespace
}  // namespace qm::contract

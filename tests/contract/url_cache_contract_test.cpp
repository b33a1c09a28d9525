// The Internet cache walk as the cache cleaners drive it: the size probe, one entry at a
// time, deleting as they go. On Windows the cache holds the prefix's own entries too, so the
// checks look only at the entries each test adds.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "backend.h"

namespace qm::contract {
namespace {

using platform::kErrorFileNotFound;
using platform::kErrorInsufficientBuffer;
using platform::kErrorNoMoreItems;
using platform::kErrorSharingViolation;
using platform::kOk;

class UrlCacheContract : public ::testing::Test {
  protected:
    void SetUp() override {
        cache_ = backend_->url_cache();
        if (cache_ == nullptr) GTEST_SKIP() << "this backend offers no Internet cache yet";
        // The scratch folder's name is unique on the machine, so the URLs are too.
        const std::string scratch = backend_->ScratchFolder();
        const std::string token = scratch.substr(scratch.find_last_of('\\') + 1);
        for (const char* page : {"first.htm", "second.htm"}) {
            const std::string url = "http://quillmoss.test/" + token + "/" + page;
            ASSERT_TRUE(backend_->AddUrlCacheEntry(url)) << url;
            ours_.push_back(url);
        }
    }

    bool IsOurs(const std::string& url) const {
        return std::find(ours_.begin(), ours_.end(), url) != ours_.end();
    }

    // Walks the whole cache the way the cleaners do: probe with no buffer, then fetch with
    // exactly the size asked for. `visit` sees each entry once; returns the URLs seen.
    template <typename Visit>
    std::vector<std::string> Walk(Visit visit) {
        std::vector<std::string> seen;
        std::uint32_t size = 0;
        platform::UrlCacheWalk walk = 0;
        platform::UrlCacheEntry entry;
        const platform::Status probe = cache_->FindFirst(size, walk, entry);
        EXPECT_EQ(walk, 0u) << "a failed size probe must not open a walk";
        if (probe == kErrorNoMoreItems) return seen;  // nothing left in the cache at all
        EXPECT_EQ(probe, kErrorInsufficientBuffer);
        if (cache_->FindFirst(size, walk, entry) != kOk) return seen;
        EXPECT_NE(walk, 0u);
        for (;;) {
            EXPECT_GE(size, 80u + entry.source_url.size() + 1) << entry.source_url;
            seen.push_back(entry.source_url);
            visit(entry);
            size = 0;
            const platform::Status probe = cache_->FindNext(walk, size, entry);
            if (probe == kErrorNoMoreItems) break;
            EXPECT_EQ(probe, kErrorInsufficientBuffer);
            // A second buffer that is still too small must not move the walk on either.
            const std::uint32_t needed = size;
            size = 1;
            EXPECT_EQ(cache_->FindNext(walk, size, entry), kErrorInsufficientBuffer);
            EXPECT_EQ(size, needed);
            if (cache_->FindNext(walk, size, entry) != kOk) {
                ADD_FAILURE() << "the walk broke off with the size it asked for";
                break;
            }
        }
        cache_->Close(walk);
        return seen;
    }

    std::unique_ptr<Backend> backend_ = MakeBackend();
    platform::UrlCache* cache_ = nullptr;
    std::vector<std::string> ours_;
};

TEST_F(UrlCacheContract, ProbedWalkSeesEachEntryOnceAndEndsWithNoMoreItems) {
    const std::vector<std::string> seen = Walk([](const platform::UrlCacheEntry&) {});
    for (const std::string& url : ours_) {
        EXPECT_EQ(std::count(seen.begin(), seen.end(), url), 1) << url;
    }
}

TEST_F(UrlCacheContract, DeletingWhileWalkingKeepsTheWalkGoing) {
    std::vector<platform::Status> deleted;
    const std::vector<std::string> seen = Walk([&](const platform::UrlCacheEntry& entry) {
        if (IsOurs(entry.source_url)) deleted.push_back(cache_->DeleteEntry(entry.source_url));
    });
    // Both were reached although the first went while the walk stood on it.
    EXPECT_EQ(deleted, (std::vector<platform::Status>{kOk, kOk}));

    const std::vector<std::string> after = Walk([](const platform::UrlCacheEntry&) {});
    for (const std::string& url : ours_) {
        EXPECT_EQ(std::count(after.begin(), after.end(), url), 0) << url;
        EXPECT_EQ(cache_->DeleteEntry(url), kErrorFileNotFound) << url;
    }
}

TEST_F(UrlCacheContract, EntryInUseIsRefusedAndGoesOnceReleased) {
    {
        const std::unique_ptr<FileHold> hold = backend_->HoldUrlCacheEntry(ours_[0]);
        if (hold == nullptr) GTEST_SKIP() << "this backend cannot hold a cache entry";
        EXPECT_EQ(cache_->DeleteEntry(ours_[0]), kErrorSharingViolation);
        const std::vector<std::string> seen = Walk([](const platform::UrlCacheEntry&) {});
        EXPECT_EQ(std::count(seen.begin(), seen.end(), ours_[0]), 1);
    }
    // The refused delete was remembered: releasing the entry removes it.
    EXPECT_EQ(cache_->DeleteEntry(ours_[0]), kErrorFileNotFound);
    EXPECT_EQ(cache_->DeleteEntry(ours_[1]), kOk);
}

}  // namespace
}  // namespace qm::contract

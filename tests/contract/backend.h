#pragma once
// The machine a contract suite runs against: the simulated one on Linux, the real Windows API
// under Wine. Each test gets a fresh backend with its own scratch folder and scratch keys, so
// suites never touch anything else on the machine.
#include <map>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace qm::contract {

enum class HoldMode {
    NoDelete,   // open with read sharing only: reads work, delete fails
    Exclusive,  // open without sharing: reads fail too
};

// Keeps a file open as another program would, until destroyed.
class FileHold {
  public:
    virtual ~FileHold() = default;
};

class Backend {
  public:
    virtual ~Backend() = default;
    virtual platform::Registry& registry() = 0;
    virtual platform::FileSystem& files() = 0;
    virtual platform::Shell& shell() = 0;
    virtual platform::SystemInfo& system() = 0;

    // An existing, empty folder for this test (no trailing backslash); removed afterwards.
    virtual std::string ScratchFolder() = 0;
    // A key path, relative to either root, that does not exist yet; removed afterwards.
    virtual std::string ScratchKey() = 0;
    virtual std::unique_ptr<FileHold> Hold(const std::string& path, HoldMode mode) = 0;
    // True for the real Windows API, false for the simulated machine.
    virtual bool IsReal() const = 0;
    // Another path to the existing `folder` through another drive: Z: on both (under Wine it
    // names the unix root, in the sim it stands for C:\). Empty when there is none.
    virtual std::string OtherNameOf(const std::string& folder) = 0;
    // Makes `link` (not there yet) a folder link to the existing folder `target`, removed
    // with the scratch folder. False when this machine cannot make one.
    virtual bool MakeFolderLink(const std::string& link, const std::string& target) = 0;
    // Makes `path` a compound file holding these streams, through the system's structured
    // storage (Windows: StgCreateDocfile, CreateStream, Write, Commit). False when refused.
    virtual bool MakeCompoundFile(const std::string& path,
                                  const std::map<std::string, std::string>& streams) = 0;

    // --- for the cleaning suites ----------------------------------------------------------

    // The Internet cache of the machine's user. On Windows the walk sees every entry of the
    // prefix's cache, so suites only ever delete entries they added themselves.
    virtual platform::UrlCache* url_cache() = 0;
    // Adds a NORMAL_CACHE_ENTRY for `url` with a small local file, as a browser would
    // (Windows: CreateUrlCacheEntryW, write a few bytes, CommitUrlCacheEntryW). Whatever is
    // left of it is deleted when the backend goes. False when the cache refused it.
    virtual bool AddUrlCacheEntry(const std::string& url) = 0;
    // Keeps the entry in use, as a browser reading its file does (Windows:
    // RetrieveUrlCacheEntryFileW, then UnlockUrlCacheEntryFileW when the hold is destroyed).
    // Null when the entry could not be taken.
    virtual std::unique_ptr<FileHold> HoldUrlCacheEntry(const std::string& url) = 0;
    // Puts `path` (an existing file) on the user's Recent Documents list as Explorer does
    // when a document is opened (Windows: SHAddToRecentDocs with SHARD_PATHW). Whatever is
    // left of it is removed when the backend goes.
    virtual bool AddRecentDocument(const std::string& path) = 0;
    // Moves `path` (an existing file) to the Recycle Bin as Explorer's Delete does (Windows:
    // SHFileOperationW FO_DELETE with FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT).
    // Under Wine the bin is the freedesktop trash of $XDG_DATA_HOME, which the test set-up
    // points into the build. False when refused.
    virtual bool RecycleFile(const std::string& path) = 0;

    // --- for the transfer suite ------------------------------------------------------------

    virtual platform::Http& http() = 0;
    // The message loop the transfers pump while they wait (the test thread's own on Windows).
    virtual platform::MessageLoop& loop() = 0;
    // The test site (tests/site/test_site.py, or its scripted double): its base address over
    // a certificate the machine trusts, and the same site under one it does not. Empty when
    // no site runs (the Windows suite started without tests/site/with-site.sh).
    virtual std::string TestSite() = 0;
    virtual std::string UntrustedTestSite() = 0;

    virtual platform::Signatures& signatures() = 0;
};

std::unique_ptr<Backend> MakeBackend();

}  // namespace qm::contract

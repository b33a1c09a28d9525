#pragma once
// The files a dry run writes, kept in memory: copies of real files changed in place (a
// database whose rows a cleaner removes) and files it makes anew (the copy the cleaning works
// on). Reads of them see what the dry run wrote; the drive never does.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace qm::dry_run {

class Rewrites {
  public:
    struct File {
        std::string contents;
        bool made = false;  // the dry run made it: the drive has no such file
    };

    std::shared_ptr<File> Find(std::string_view path) const;
    std::shared_ptr<File> Add(std::string_view path, std::string contents, bool made);
    void Remove(std::string_view path);
    // `to` takes what `from` holds; `to_exists` says whether the drive has a file `to`.
    void Move(std::string_view from, std::string_view to, bool to_exists);

  private:
    std::map<std::string, std::shared_ptr<File>> files_;  // by folded path
};

// A handle on a file the dry run holds in memory.
std::unique_ptr<platform::OpenFile> OpenRewrite(std::shared_ptr<Rewrites::File> file,
                                                bool writable);
// A handle that reads the real file until the first change, which goes to a copy in memory
// that `copy` makes from the real content.
std::unique_ptr<platform::OpenFile> OpenCopyOnWrite(
    std::unique_ptr<platform::OpenFile> real,
    std::function<std::shared_ptr<Rewrites::File>(std::string contents)> copy);

}  // namespace qm::dry_run

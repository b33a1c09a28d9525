// A file opened alone, as the database layer uses it: positioned reads and writes, and the
// sharing that keeps every other program (a running browser, say) out of it, and it out of
// a file another program holds.
#include <gtest/gtest.h>

#include <string>

#include "backend.h"

namespace qm::contract {
namespace {

using platform::kOk;
using platform::OpenMode;

class OpenFileContract : public ::testing::Test {
  protected:
    std::unique_ptr<Backend> backend_ = MakeBackend();
    platform::FileSystem& files_ = backend_->files();
    const std::string scratch_ = backend_->ScratchFolder();
    const std::string path_ = scratch_ + "\\History";

    std::unique_ptr<platform::OpenFile> Open(OpenMode mode, platform::Status expected = kOk) {
        std::unique_ptr<platform::OpenFile> file;
        EXPECT_EQ(files_.OpenAlone(path_, mode, file), expected);
        EXPECT_EQ(file != nullptr, expected == kOk);
        return file;
    }
    static std::string ReadAt(platform::OpenFile& file, std::uint64_t offset, std::size_t size) {
        std::string buffer(size, '?');
        std::size_t read = 0;
        EXPECT_EQ(file.Read(offset, buffer, read), kOk);
        return buffer.substr(0, read);
    }
};

TEST_F(OpenFileContract, ReadsAndWritesLandAtTheirOffsetsAndTheSizeFollows) {
    Open(OpenMode::ReadWrite, platform::kErrorFileNotFound);
    {
        auto file = Open(OpenMode::OpenOrCreate);
        ASSERT_EQ(file->Write(4, "page"), kOk);  // past the end: the gap reads as zeros
        ASSERT_EQ(file->Write(0, "ab"), kOk);
        std::uint64_t size = 0;
        ASSERT_EQ(file->GetSize(size), kOk);
        EXPECT_EQ(size, 8u);
        EXPECT_EQ(ReadAt(*file, 0, 16), std::string("ab\0\0page", 8));  // short at the end
        EXPECT_EQ(ReadAt(*file, 6, 2), "ge");
        EXPECT_EQ(ReadAt(*file, 20, 4), "");
        ASSERT_EQ(file->Truncate(5), kOk);
        ASSERT_EQ(file->Flush(), kOk);
    }
    std::string contents;
    ASSERT_EQ(files_.ReadFile(path_, contents), kOk);
    EXPECT_EQ(contents, std::string("ab\0\0p", 5));

    auto reading = Open(OpenMode::Read);
    EXPECT_NE(reading->Write(0, "x"), kOk);
    EXPECT_NE(reading->Truncate(0), kOk);
    EXPECT_EQ(ReadAt(*reading, 0, 2), "ab");
}

TEST_F(OpenFileContract, NoOtherOpeningWhileHeldAndNoneOfAFileAnotherProgramHolds) {
    ASSERT_EQ(files_.WriteFile(path_, "rows"), kOk);
    {
        auto held = Open(OpenMode::ReadWrite);
        Open(OpenMode::Read, platform::kErrorSharingViolation);
        std::string contents;
        EXPECT_EQ(files_.ReadFile(path_, contents), platform::kErrorSharingViolation);
        EXPECT_EQ(files_.DeleteFile(path_), platform::kErrorSharingViolation);
        EXPECT_NE(files_.MoveFileReplacing(path_, scratch_ + "\\Moved"), kOk);
    }
    Open(OpenMode::ReadWrite);  // closed again: free for the next
    {
        auto browser = backend_->Hold(path_, HoldMode::NoDelete);
        ASSERT_NE(browser, nullptr);
        Open(OpenMode::Read, platform::kErrorSharingViolation);
    }

    std::uint32_t attributes = 0;
    ASSERT_EQ(files_.GetAttributes(path_, attributes), kOk);
    ASSERT_EQ(files_.SetAttributes(path_, attributes | platform::attr::kReadOnly), kOk);
    Open(OpenMode::ReadWrite, platform::kErrorAccessDenied);
    Open(OpenMode::Read);
    ASSERT_EQ(files_.SetAttributes(path_, attributes), kOk);

    std::unique_ptr<platform::OpenFile> folder;
    EXPECT_EQ(files_.OpenAlone(scratch_, OpenMode::Read, folder), platform::kErrorAccessDenied);
}

}  // namespace
}  // namespace qm::contract

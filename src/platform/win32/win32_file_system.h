#pragma once
// Files and folders through kernel32's wide-character calls. Every path goes through
// ToWidePath, so long paths and names outside the ANSI code page work alike.
#include "platform/file_system.h"

namespace qm::win32 {

class Win32FileSystem final : public platform::FileSystem {
  public:
    platform::Status List(std::string_view pattern_path,
                          std::vector<platform::DirEntry>& entries) override;
    platform::Status GetAttributes(std::string_view path, std::uint32_t& attributes) override;
    platform::Status SetAttributes(std::string_view path, std::uint32_t attributes) override;
    platform::Status DeleteFile(std::string_view path) override;
    platform::Status ForceDeleteFile(std::string_view path) override;
    platform::Status RemoveDirectory(std::string_view path) override;
    platform::Status CreateDirectory(std::string_view path) override;
    platform::Status OpenForRead(std::string_view path) override;
    platform::Status OpenForDelete(std::string_view path) override;
    // Several at once: each open mostly waits on the file system.
    void OpenEachForDelete(std::span<const std::string_view> paths,
                           std::span<platform::Status> results) override;
    platform::Status OpenAlone(std::string_view path, platform::OpenMode mode,
                               std::unique_ptr<platform::OpenFile>& file) override;
    platform::Status ReadFile(std::string_view path, std::string& contents) override;
    platform::Status WriteFile(std::string_view path, std::string_view contents) override;
    platform::Status ScheduleDeleteAtRestart(std::string_view path) override;
    platform::Status GetTempPath(std::string& path) override;
    platform::Status WriteFileThrough(std::string_view path, std::string_view contents) override;
    platform::Status ReplaceFile(std::string_view replaced, std::string_view replacement,
                                 std::string_view backup) override;
    platform::Status MoveFileReplacing(std::string_view source, std::string_view target) override;
    platform::Status GetIdentity(std::string_view path, platform::FileIdentity& identity) override;
    platform::Status ListDriveRoots(std::vector<std::string>& roots) override;

    platform::Status GetFinalPath(std::string_view path, std::string& final_path) override;
    platform::Status ReadCompoundStream(std::string_view path, std::string_view stream,
                                        std::string& contents) override;

  private:
    platform::Status Write(std::string_view path, std::string_view contents, bool through);
};

}  // namespace qm::win32

// The folder guard against the real file system of a Wine prefix, where Z: names the same files
// as C: and a unix symbolic link is a folder link: each name of a protected folder is refused.
#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include <string>

#include "backend.h"
#include "cleaners/folder_guard.h"
#include "cleaners/leftovers.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"
#include "settings/settings_store.h"

namespace qm {
namespace {

// Points the temporary folder somewhere else for as long as it lives.
class TempVariable {
  public:
    explicit TempVariable(const std::string& value) {
        ::GetEnvironmentVariableW(L"TMP", saved_, MAX_PATH);
        ::SetEnvironmentVariableW(L"TMP", win32::ToWide(value).c_str());
    }
    ~TempVariable() { ::SetEnvironmentVariableW(L"TMP", saved_[0] != 0 ? saved_ : nullptr); }

  private:
    wchar_t saved_[MAX_PATH] = {};
};

class Win32FolderGuard : public ::testing::Test {
  protected:
    std::string SpecialFolder(int csidl) {
        std::string path;
        EXPECT_EQ(p.shell.GetFolderPath(csidl, path), platform::kOk) << csidl;
        return path;
    }

    std::unique_ptr<contract::Backend> backend = contract::MakeBackend();
    const std::string scratch = backend->ScratchFolder();
    win32::Win32Platform machine;
    platform::Platform& p = machine.platform();
    errors::ErrorReporter reporter;
    settings::SettingsStore settings{p.registry, p.process, reporter};
    cleaners::FileTools tools{p.files, p.shell, reporter};
    cleaners::LeftoverCleaners leftovers{p, settings, tools, reporter};
};

TEST_F(Win32FolderGuard, EveryNameOfAProtectedFolderIsRefused) {
    cleaners::FolderGuard guard(p);
    const std::string windows = SpecialFolder(platform::csidl::kWindows);
    const std::string documents = SpecialFolder(platform::csidl::kPersonal);
    ASSERT_TRUE(backend->MakeFolderLink(scratch + "\\ToWindows", windows));
    ASSERT_TRUE(backend->MakeFolderLink(scratch + "\\ToRoot", "C:\\"));

    for (const std::string& folder :
         {backend->OtherNameOf(windows), scratch + "\\ToWindows\\", scratch + "\\ToRoot",
          scratch + "\\ToRoot\\windows\\system32\\..", documents, backend->OtherNameOf(documents),
          std::string("Z:\\"), std::string("C:\\")}) {
        EXPECT_TRUE(guard.IsProtected(folder)) << folder;
    }
    EXPECT_FALSE(guard.IsProtected(scratch)) << "an ordinary folder";
}

// Points the user's My Documents somewhere else for as long as it lives.
class DocumentsRedirect {
  public:
    explicit DocumentsRedirect(const std::string& folder) {
        ::RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key_);
        DWORD size = sizeof saved_ - sizeof(wchar_t);
        had_ = ::RegQueryValueExW(key_, L"Personal", nullptr, &type_,
                                  reinterpret_cast<BYTE*>(saved_), &size) == ERROR_SUCCESS;
        saved_size_ = size;
        const std::wstring wide = win32::ToWide(folder);
        ::RegSetValueExW(key_, L"Personal", 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                         static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
    }
    ~DocumentsRedirect() {
        if (had_) {
            ::RegSetValueExW(key_, L"Personal", 0, type_, reinterpret_cast<const BYTE*>(saved_),
                             saved_size_);
        } else {
            ::RegDeleteValueW(key_, L"Personal");
        }
        ::RegCloseKey(key_);
    }

  private:
    static constexpr const wchar_t* kKey =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    HKEY key_ = nullptr;
    bool had_ = false;
    DWORD type_ = REG_SZ, saved_size_ = 0;
    wchar_t saved_[MAX_PATH * 2] = {};
};

// My Documents reached through a folder link: the folders above where it really lies hold it
// too, though its path names none of them.
TEST_F(Win32FolderGuard, FoldersAboveWhereDocumentsReallyLiesAreRefused) {
    ASSERT_EQ(p.files.CreateDirectory(scratch + "\\Elsewhere"), platform::kOk);
    ASSERT_EQ(p.files.CreateDirectory(scratch + "\\Elsewhere\\Docs"), platform::kOk);
    ASSERT_EQ(p.files.CreateDirectory(scratch + "\\Other"), platform::kOk);
    ASSERT_TRUE(backend->MakeFolderLink(scratch + "\\DocsLink", scratch + "\\Elsewhere\\Docs"));
    DocumentsRedirect redirect(scratch + "\\DocsLink");
    ASSERT_EQ(SpecialFolder(platform::csidl::kPersonal), scratch + "\\DocsLink");
    cleaners::FolderGuard guard(p);
    EXPECT_TRUE(guard.IsProtected(scratch + "\\Elsewhere"));
    EXPECT_FALSE(guard.IsProtected(scratch + "\\Other"));
}

TEST_F(Win32FolderGuard, TempFolderThroughALinkIsCleanedAndARelativeOneIsNot) {
    ASSERT_EQ(p.files.CreateDirectory(scratch + "\\Temp"), platform::kOk);
    ASSERT_EQ(p.files.WriteFile(scratch + "\\Temp\\old.tmp", "x"), platform::kOk);
    ASSERT_TRUE(backend->MakeFolderLink(scratch + "\\Link", scratch));

    std::string folder;
    {
        // Windows resolves a relative TMP against the current folder, whatever that is. Should
        // the refusal ever fail, only the scratch folder may go: it is made the current one.
        wchar_t current[MAX_PATH] = {};
        ::GetCurrentDirectoryW(MAX_PATH, current);
        ASSERT_TRUE(::SetCurrentDirectoryW(win32::ToWide(scratch + "\\Temp").c_str()));
        TempVariable relative(".");
        EXPECT_FALSE(leftovers.CleanTempFolder(folder)) << folder;
        EXPECT_EQ(folder, ".\\");
        ::SetCurrentDirectoryW(current);
    }
    TempVariable through_link(scratch + "\\Link\\Temp");
    EXPECT_TRUE(leftovers.CleanTempFolder(folder));
    std::uint32_t attributes = 0;
    EXPECT_NE(p.files.GetAttributes(scratch + "\\Temp\\old.tmp", attributes), platform::kOk);
    EXPECT_EQ(p.files.GetAttributes(scratch + "\\Temp", attributes), platform::kOk);
}

}  // namespace
}  // namespace qm

#include "clean/cleaner_steps.h"

#include <utility>

#include "paths/folder_path.h"

namespace qm::clean {

CatalogueSteps::CatalogueSteps(platform::Platform& machine, settings::SettingsStore& settings,
                               errors::ErrorReporter& reporter, std::vector<std::string>& lst_cache)
    : excluding_(machine.files),
      excluding_cache_(machine.url_cache, excluding_),
      platform_{machine.registry, excluding_,   machine.shell,      machine.system,
                machine.dialogs,  machine.loop, machine.process,    excluding_cache_,
                machine.desktop,  machine.http, machine.signatures, machine.traces,
                machine.events},
      settings_(settings),
      file_tools_(excluding_, machine.shell, reporter),
      guard_(platform_),
      lst_cache_(lst_cache),
      system_details_(machine.system, settings, reporter),
      ie_(platform_, settings, file_tools_, reporter),
      recent_(platform_, settings, file_tools_, system_details_, reporter),
      leftovers_(platform_, settings, file_tools_, reporter),
      opera_(platform_, settings, file_tools_, reporter),
      netscape_(platform_, settings, file_tools_, reporter),
      browsers_(
          platform_, [&settings] { return cleaners::KeptSites::Parse(settings.Get("cookiekeep")); },
          [this](std::string_view path) { return excluding_.KeepsPlace(path); }),
      windows_(platform_, file_tools_, guard_) {}

void CatalogueSteps::Run(StepId step) {
    excluding_.Use(cleaners::ExcludedPaths::Parse(settings_.Get(cleaners::kExcludeValue)));
    switch (step) {
        case StepId::CleanUrlHistory:
            return ie_.CleanUrlHistory();
        case StepId::CleanTypedURLs:
            return ie_.CleanTypedURLs();
        case StepId::CleanAutoComplete:
            return ie_.CleanAutoComplete();
        case StepId::ListUrlCacheEntries:
            return ie_.ListUrlCacheEntries(lst_cache_);
        case StepId::DeleteEachListedCacheEntry:
            return ie_.DeleteEachListedEntry(lst_cache_);
        case StepId::WipeCookieFiles: {
            // With the Cookies folder unknown, WipeFiles("") would work on "\", the root of the
            // current drive, and remove every folder on it. No folder, nothing to clean; and a
            // Cookies folder pointed at the profile would take every profile subfolder with it.
            const std::string folder = file_tools_.GetCookiesFolder();
            if (folder.empty() || guard_.IsProtected(folder)) return;
            // The files of the sites the user keeps stay; with none kept, every one goes.
            const cleaners::KeptSites kept =
                cleaners::KeptSites::Parse(settings_.Get("cookiekeep"));
            const auto spare = [&](std::string_view name) {
                if (!kept.Keeps(cleaners::SiteOfCookieFile(name))) return false;
                excluding_.RecordKept(paths::AddBackslash(folder) + std::string(name));
                return true;
            };
            file_tools_.WipeFiles(folder, "*.txt",
                                  kept.empty() ? std::function<bool(std::string_view)>() : spare);
            return;
        }
        case StepId::DeleteListedCacheEntries:
            return ie_.DeleteListedCacheEntries(lst_cache_);
        case StepId::CleanIECacheFiles:
            return ie_.CleanIECacheFiles();
        case StepId::KillIndexDat:
            return ie_.KillIndexDat();
        case StepId::CleanOutlookDeleted:
            return leftovers_.CleanOutlookDeleted();
        case StepId::CleanWinZipFileMenu:
            return recent_.CleanWinZipFileMenu();
        case StepId::CleanWinZipExtract:
            return recent_.CleanWinZipExtract();
        case StepId::CleanWordPadMRU:
            return recent_.CleanWordPadMRU();
        case StepId::CleanPaintMRU:
            return recent_.CleanPaintMRU();
        case StepId::CleanMediaPlayer:
            return recent_.CleanMediaPlayer();
        case StepId::CleanMSOfficeRecent:
            return recent_.CleanMSOfficeRecent();
        case StepId::CleanRecentDocs:
            return recent_.CleanRecentDocs();
        case StepId::CleanRunMRU:
            return recent_.CleanRunMRU();
        case StepId::CleanTempFolder: {
            std::string folder;
            if (!leftovers_.CleanTempFolder(folder)) {
                end_line_ = std::string(cleaners::kTempRefusedLine) + folder;
            }
            return;
        }
        case StepId::EmptyRecycleBin:
            return leftovers_.EmptyRecycleBin();
        case StepId::CleanFindMRU:
            return recent_.CleanFindMRU();
        case StepId::CleanOperaCache:
            return opera_.CleanOperaCache();
        case StepId::CleanOpera7Cache:
            return opera_.CleanOpera7Cache();
        case StepId::CleanOperaCookies:
            if (opera_.CleanOperaCookies())
                end_line_ = std::string(cleaners::kOperaCookiesKeptLine);
            return;
        case StepId::CleanOpera7Cookies:
            if (opera_.CleanOpera7Cookies())
                end_line_ = std::string(cleaners::kOperaCookiesKeptLine);
            return;
        case StepId::CleanOperaTypedURLs:
            return opera_.CleanOperaTypedURLs();
        case StepId::CleanNetScapeCache:
            return netscape_.CleanNetScapeCache();
        case StepId::CleanNetScapeCookies:
            return netscape_.CleanNetScapeCookies();
        case StepId::CleanNetScapeURLS:
            return netscape_.CleanNetScapeURLS();
        case StepId::CleanChromiumHistory:
            return browsers_.CleanChromiumHistory();
        case StepId::CleanChromiumCache:
            return browsers_.CleanChromiumCache();
        case StepId::CleanChromiumCookies:
            return browsers_.CleanChromiumCookies();
        case StepId::CleanChromiumSessions:
            return browsers_.CleanChromiumSessions();
        case StepId::CleanChromiumForms:
            return browsers_.CleanChromiumForms();
        case StepId::CleanFirefoxHistory:
            return browsers_.CleanFirefoxHistory();
        case StepId::CleanFirefoxCache:
            return browsers_.CleanFirefoxCache();
        case StepId::CleanFirefoxCookies:
            return browsers_.CleanFirefoxCookies();
        case StepId::CleanFirefoxSessions:
            return browsers_.CleanFirefoxSessions();
        case StepId::CleanFirefoxForms:
            return browsers_.CleanFirefoxForms();
        case StepId::CleanJumpLists:
            return windows_.CleanJumpLists();
        case StepId::CleanThumbnailCache:
            return windows_.CleanThumbnailCache();
        case StepId::CleanExplorerLists:
            return windows_.CleanExplorerLists();
        case StepId::CleanClipboard:
            return windows_.CleanClipboard();
        case StepId::FlushDnsCache:
            return windows_.FlushDnsCache();
        case StepId::CleanErrorReports:
            return windows_.CleanErrorReports();
    }
}

std::optional<cleaners::PlaceRefusal> CatalogueSteps::CleanPlace(
    const cleaners::CustomPlace& place) {
    excluding_.Use(cleaners::ExcludedPaths::Parse(settings_.Get(cleaners::kExcludeValue)));
    return cleaners::CleanCustomPlace(place, platform_);
}

std::optional<std::string> CatalogueSteps::TakeEndLine() {
    if (auto browsers = browsers_.TakeEndLine()) return browsers;
    if (auto windows = windows_.TakeEndLine()) return windows;
    return std::exchange(end_line_, std::nullopt);
}

}  // namespace qm::clean

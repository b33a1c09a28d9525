#include "clean/cleaner_steps.h"

namespace qm::clean {

CatalogueSteps::CatalogueSteps(cleaners::FileTools& file_tools, std::vector<std::string>& lst_cache)
    : file_tools_(file_tools), lst_cache_(lst_cache) {}

void CatalogueSteps::Run(StepId step) {
    switch (step) {
        case StepId::WipeCookieFiles: {
            // With the Cookies folder unknown, WipeFiles("") would work on "\", the root of the
            // current drive, and remove every folder on it. No folder, nothing to clean.
            const std::string folder = file_tools_.GetCookiesFolder();
            if (!folder.empty()) file_tools_.WipeFiles(folder, "*.txt");
            return;
        }

        // The Internet Explorer, recent-file, Opera/Netscape and temporary folder, Recycle Bin
        // and mail cleaners are wired in here as they are built; until then these steps leave
        // the machine untouched. lst_cache_ is where the cache steps keep their URLs.
        case StepId::CleanUrlHistory:
        case StepId::CleanTypedURLs:
        case StepId::CleanAutoComplete:
        case StepId::ListUrlCacheEntries:
        case StepId::DeleteEachListedCacheEntry:
        case StepId::DeleteListedCacheEntries:
        case StepId::CleanIECacheFiles:
        case StepId::KillIndexDat:
        case StepId::CleanOutlookDeleted:
        case StepId::CleanWinZipFileMenu:
        case StepId::CleanWinZipExtract:
        case StepId::CleanWordPadMRU:
        case StepId::CleanPaintMRU:
        case StepId::CleanMediaPlayer:
        case StepId::CleanMSOfficeRecent:
        case StepId::CleanRecentDocs:
        case StepId::CleanRunMRU:
        case StepId::CleanTempFolder:
        case StepId::EmptyRecycleBin:
        case StepId::CleanFindMRU:
        case StepId::CleanOperaCache:
        case StepId::CleanOpera7Cache:
        case StepId::CleanOperaCookies:
        case StepId::CleanOpera7Cookies:
        case StepId::CleanOperaTypedURLs:
        case StepId::CleanNetScapeCache:
        case StepId::CleanNetScapeCookies:
        case StepId::CleanNetScapeURLS:
            (void)lst_cache_;
            return;
    }
}

}  // namespace qm::clean

#pragma once
// Generated folder trees for the file benchmarks: the same shape every time, so two trees
// can be deleted side by side by different tools.
#include <string>

namespace qm::bench {

struct TreeShape {
    int top_folders = 20;
    int subfolders = 10;
    int files_per_folder = 100;  // in each subfolder: 20 x 10 x 100 = 20,000 files
    int file_bytes = 64;
    int Files() const { return top_folders * subfolders * files_per_folder; }
};

// Creates `root` and the tree below it; returns the number of files made.
int MakeTree(const std::wstring& root, const TreeShape& shape);
// `folders` subfolders of `root` ("QMB00", ...), each holding `files` files whose extensions
// cycle through those a browser cache holds. Returns the number of files made.
int MakeCacheLikeTree(const std::wstring& root, int folders, int files);
// Runs "cmd /c rd /s /q root" and returns its wall-clock milliseconds (-1 if it could not run).
double RemoveWithRd(const std::wstring& root);
// Wall-clock milliseconds since an arbitrary start.
double NowMs();

}  // namespace qm::bench

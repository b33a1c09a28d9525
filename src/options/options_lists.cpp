// The options dialog's three lists. None is kept by the dialog: each press reads the settings
// value, changes it and writes it back, and the list shows what was written.
#include <algorithm>
#include <string>

#include "browsers/cookie_sites.h"
#include "cleaners/excluded_paths.h"
#include "cleaners/kept_sites.h"
#include "options/options_dialog.h"
#include "paths/ascii_case.h"

namespace qm::options {
namespace {

using errors::SilentStep;

constexpr std::string_view kDefaultPattern = "*.*";

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

void Fill(controls::ListBox& list, const std::vector<std::string>& lines) {
    list.Clear();
    for (const std::string& line : lines) list.AddItem(line);
}

std::string JoinSites(const std::vector<std::string>& sites) {
    std::string text;
    for (const std::string& site : sites) text += (text.empty() ? "" : " ") + site;
    return text;
}

// The selected line's position in `count` lines, or nullopt when none is selected.
std::optional<std::size_t> Selected(const controls::ListBox& list, std::size_t count) {
    const int index = list.selected_index();
    if (index < 0 || static_cast<std::size_t>(index) >= count) return std::nullopt;
    return static_cast<std::size_t>(index);
}

}  // namespace

void OptionsDialog::AddListControls() {
    auto* keep = &Add<controls::Frame>("fraKeep", "Cookies to keep");
    lst_keep_ = &Add<controls::ListBox>("lstKeep", "Kept sites", keep);
    cbo_keep_site_ = &Add<controls::ComboBox>("cboKeepSite", std::vector<std::string>{}, keep);
    cmd_keep_add_ = &Add<controls::Button>("cmdKeepAdd", "Add", keep);
    cmd_keep_remove_ = &Add<controls::Button>("cmdKeepRemove", "Remove", keep);

    auto* places = &Add<controls::Frame>("fraPlaces", "Your own places");
    lst_places_ = &Add<controls::ListBox>("lstPlaces", "Places", places);
    Add<controls::Label>("lblPlace", "Path", places);
    txt_place_ = &Add<controls::TextBox>("txtPlace", "", places);
    Add<controls::Label>("lblPattern", "Names", places);
    txt_pattern_ = &Add<controls::TextBox>("txtPattern", "", places);
    txt_pattern_->SetText(kDefaultPattern);
    chk_subfolders_ = &Add<controls::CheckBox>("chkSubfolders", "Subfolders too", places);
    cmd_add_folder_ = &Add<controls::Button>("cmdAddFolder", "Add Folder", places);
    cmd_add_file_ = &Add<controls::Button>("cmdAddFile", "Add File", places);
    cmd_place_remove_ = &Add<controls::Button>("cmdPlaceRemove", "Remove", places);

    auto* never = &Add<controls::Frame>("fraNever", "Never touch");
    lst_never_ = &Add<controls::ListBox>("lstNever", "Places never touched", never);
    txt_never_ = &Add<controls::TextBox>("txtNever", "", never);
    cmd_never_add_ = &Add<controls::Button>("cmdNeverAdd", "Add", never);
    cmd_never_remove_ = &Add<controls::Button>("cmdNeverRemove", "Remove", never);

    cmd_keep_add_->SetOnClick([this] { cmdKeepAdd_Click(); });
    cmd_keep_remove_->SetOnClick([this] { cmdKeepRemove_Click(); });
    cmd_add_folder_->SetOnClick([this] { cmdAddFolder_Click(); });
    cmd_add_file_->SetOnClick([this] { cmdAddFile_Click(); });
    cmd_place_remove_->SetOnClick([this] { cmdPlaceRemove_Click(); });
    cmd_never_add_->SetOnClick([this] { cmdNeverAdd_Click(); });
    cmd_never_remove_->SetOnClick([this] { cmdNeverRemove_Click(); });
}

void OptionsDialog::LoadCookieSites() {
    cbo_keep_site_->SetItems(browsers::SitesWithCookies(platform_));
}

// --- cookies to keep ----------------------------------------------------------------------

void OptionsDialog::ShowKeptSites() {
    Fill(*lst_keep_, cleaners::KeptSites::Parse(settings_.Get(kKeepValue)).sites());
}

void OptionsDialog::cmdKeepAdd_Click() {
    const std::string site = cleaners::KeptSites::Folded(Trimmed(cbo_keep_site_->text()));
    if (site.empty()) {
        Tell(kNotASite);
        return;
    }
    SilentStep([&] {
        std::vector<std::string> sites =
            cleaners::KeptSites::Parse(settings_.Get(kKeepValue)).sites();
        if (std::find(sites.begin(), sites.end(), site) == sites.end()) {
            sites.push_back(site);
            settings_.Save(kKeepValue, JoinSites(sites));
        }
        cbo_keep_site_->SetText("");
        ShowKeptSites();
    });
}

void OptionsDialog::cmdKeepRemove_Click() {
    SilentStep([&] {
        std::vector<std::string> sites =
            cleaners::KeptSites::Parse(settings_.Get(kKeepValue)).sites();
        const auto line = Selected(*lst_keep_, sites.size());
        if (!line) return;
        sites.erase(sites.begin() + static_cast<std::ptrdiff_t>(*line));
        settings_.Save(kKeepValue, JoinSites(sites));
        ShowKeptSites();
    });
}

// --- the user's own places ----------------------------------------------------------------

std::vector<int> OptionsDialog::UsedSlots() {
    std::vector<int> used;
    for (int slot = 1; slot <= cleaners::kCustomSlots; ++slot) {
        if (cleaners::CustomPlace::Parse(settings_.Get(cleaners::CustomPlaceValue(slot))))
            used.push_back(slot);
    }
    return used;
}

void OptionsDialog::ShowPlaces() {
    std::vector<std::string> captions;
    for (const int slot : UsedSlots()) {
        captions.push_back(
            cleaners::CustomPlace::Parse(settings_.Get(cleaners::CustomPlaceValue(slot)))
                ->Caption());
    }
    Fill(*lst_places_, captions);
    places_changed_();
}

void OptionsDialog::AddPlace(const cleaners::CustomPlace& place) {
    std::optional<cleaners::PlaceRefusal> refusal;
    SilentStep([&] { refusal = cleaners::CheckCustomPlace(place, platform_); });
    if (refusal) {
        Tell(cleaners::RefusalText(*refusal));
        return;
    }
    const std::vector<int> used = UsedSlots();
    int slot = 1;
    while (std::find(used.begin(), used.end(), slot) != used.end()) ++slot;
    if (slot > cleaners::kCustomSlots) {
        Tell(kPlacesFull);
        return;
    }
    SilentStep([&] {
        settings_.Save(cleaners::CustomPlaceValue(slot), place.Format());
        settings_.Save(cleaners::CustomTickValue(slot), "uu");
        txt_place_->SetText("");
        ShowPlaces();
    });
}

void OptionsDialog::cmdAddFolder_Click() {
    cleaners::CustomPlace place;
    place.path = Trimmed(txt_place_->text());
    const std::string pattern = Trimmed(txt_pattern_->text());
    place.pattern = pattern.empty() ? std::string(kDefaultPattern) : pattern;
    place.subfolders = chk_subfolders_->value() == 1;
    AddPlace(place);
}

void OptionsDialog::cmdAddFile_Click() {
    cleaners::CustomPlace place;
    place.kind = cleaners::CustomPlace::Kind::File;
    place.path = Trimmed(txt_place_->text());
    AddPlace(place);
}

void OptionsDialog::cmdPlaceRemove_Click() {
    SilentStep([&] {
        const std::vector<int> used = UsedSlots();
        const auto line = Selected(*lst_places_, used.size());
        if (!line) return;
        const int slot = used[*line];
        for (const std::string& value :
             {cleaners::CustomPlaceValue(slot), cleaners::CustomTickValue(slot)})
            settings_.DeleleteValue(settings::kSettingsRoot, settings::kSettingsPath, value);
        ShowPlaces();
    });
}

// --- places never touched -----------------------------------------------------------------

void OptionsDialog::ShowNeverTouched() {
    Fill(*lst_never_,
         cleaners::ExcludedPaths::Parse(settings_.Get(cleaners::kExcludeValue)).paths());
}

void OptionsDialog::cmdNeverAdd_Click() {
    const std::string path = Trimmed(txt_never_->text());
    if (!cleaners::ExcludedPaths::IsValidEntry(path)) {
        Tell(kNotAnExclusion);
        return;
    }
    SilentStep([&] {
        std::vector<std::string> paths =
            cleaners::ExcludedPaths::Parse(settings_.Get(cleaners::kExcludeValue)).paths();
        const std::string key = paths::UpperAscii(path);
        if (std::none_of(paths.begin(), paths.end(),
                         [&](const std::string& p) { return paths::UpperAscii(p) == key; })) {
            paths.push_back(path);
            settings_.Save(cleaners::kExcludeValue, cleaners::ExcludedPaths::Join(paths));
        }
        txt_never_->SetText("");
        ShowNeverTouched();
    });
}

void OptionsDialog::cmdNeverRemove_Click() {
    SilentStep([&] {
        std::vector<std::string> paths =
            cleaners::ExcludedPaths::Parse(settings_.Get(cleaners::kExcludeValue)).paths();
        const auto line = Selected(*lst_never_, paths.size());
        if (!line) return;
        paths.erase(paths.begin() + static_cast<std::ptrdiff_t>(*line));
        settings_.Save(cleaners::kExcludeValue, cleaners::ExcludedPaths::Join(paths));
        ShowNeverTouched();
    });
}

}  // namespace qm::options

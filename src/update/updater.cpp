#include "update/updater.h"

#include <limits>

#include "errors/labels.h"
#include "paths/folder_path.h"
#include "update/connection.h"
#include "update/version_number.h"

namespace qm::update {

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// The announced length: digits only, at most the 32-bit range; -1 for anything else.
std::int64_t LengthOf(const platform::HttpResponse& response) {
    const std::string text = HeaderValue(response.headers, "Content-Length");
    if (text.empty() || text.size() > 10) return -1;
    std::int64_t length = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return -1;
        length = length * 10 + (c - '0');
    }
    return length <= std::numeric_limits<std::int32_t>::max() ? length : -1;
}

errors::RuntimeError TransferError(platform::Status status) {
    const std::int32_t number = status == platform::kErrorInternetTimeout
                                    ? errors::err::kRequestTimedOut
                                    : errors::err::kCannotConnect;
    return {number, std::string(errors::GenericText(number))};
}

// One GET; a transfer that fails is the procedure's run-time error.
platform::HttpResponse Fetch(platform::Http& http, const platform::HttpRequest& request) {
    platform::HttpResponse response;
    const platform::Status status = http.Get(request, response);
    if (status != platform::kOk) throw TransferError(status);
    return response;
}

// An answer the program may act on: 200, and all of the body it announced.
bool IsWhole(const platform::HttpResponse& response) {
    const std::int64_t length = LengthOf(response);
    return response.status_code == 200 && length >= 1 &&
           response.body_bytes == static_cast<std::uint64_t>(length);
}

}  // namespace

std::string HeaderValue(std::string_view headers, std::string_view name) {
    std::size_t line_start = headers.find("\r\n");  // past the status line
    while (line_start != std::string_view::npos) {
        line_start += 2;
        const std::size_t line_end = headers.find("\r\n", line_start);
        const std::string_view line = headers.substr(
            line_start, line_end == std::string_view::npos ? line_end : line_end - line_start);
        const std::size_t colon = line.find(':');
        if (colon != std::string_view::npos && SameName(Trimmed(line.substr(0, colon)), name))
            return std::string(Trimmed(line.substr(colon + 1)));
        line_start = line_end;
    }
    return {};
}

Updater::Updater(platform::Platform& platform, settings::SettingsStore& settings,
                 errors::ErrorReporter& reporter, std::string site, std::string key)
    : platform_(platform),
      settings_(settings),
      reporter_(reporter),
      site_(std::move(site)),
      key_(std::move(key)) {}

bool Updater::IsOnline() {
    return update::IsOnline(platform_.http, site_);
}

std::string Updater::DownloadPath() const {
    return paths::AddBackslash(platform_.process.ProgramFolder()) + std::string(kDownloadName);
}

std::int32_t Updater::FileSize(std::string_view address, std::string_view label) {
    std::int32_t size = 0;
    errors::ReportingStep(reporter_, label, [&] {
        const platform::HttpResponse response =
            Fetch(platform_.http, {address, platform::HttpBody::Skip, {}, kTransferTimeoutMs});
        const std::int64_t length = LengthOf(response);
        if (response.status_code == 200 && length > 0) size = static_cast<std::int32_t>(length);
    });
    return size;
}

std::int32_t Updater::Get_Text_Html_File_Size(std::string_view address) {
    return FileSize(address, errors::label::kGetTextHtmlFileSize);
}

std::int32_t Updater::Get_Exe_file_Size(std::string_view address) {
    return FileSize(address, errors::label::kGetExeFileSize);
}

bool Updater::Signed(std::string_view address, std::string_view data) {
    const std::string signature_address = std::string(address) + std::string(kSignatureSuffix);
    // Set before the transfer, which may fail: no signature is no good signature.
    unverified_ = true;
    const platform::HttpResponse signature = Fetch(
        platform_.http, {signature_address, platform::HttpBody::Keep, {}, kTransferTimeoutMs});
    unverified_ =
        !IsWhole(signature) || !platform_.signatures.IsSignedBy(key_, data, signature.body);
    return !unverified_;
}

bool Updater::Check_For_New_Version(const std::string& stored_version) {
    unverified_ = false;
    new_version_.clear();
    bool online = false;
    errors::SilentStep([&] { online = IsOnline(); });
    if (!online) return false;
    const std::string address = site_ + "/qms.txt";
    if (Get_Text_Html_File_Size(address) < 1) return false;

    bool newer = false;
    errors::ReportingStep(reporter_, errors::label::kCheckForNewVersion, [&] {
        const platform::HttpResponse response =
            Fetch(platform_.http, {address, platform::HttpBody::Keep, {}, kTransferTimeoutMs});
        if (!IsWhole(response) || !Signed(address, response.body)) return;
        const auto published = VersionNumber(response.body);
        const auto stored = VersionNumber(stored_version);
        if (!published || !stored || *published < 1 || *published <= *stored) return;
        new_version_ = std::to_string(*published);
        newer = true;
    });
    return newer;
}

bool Updater::Download_App() {
    unverified_ = false;
    if (!IsOnline()) return false;
    const std::string address = site_ + "/qmsupdate.exe";
    const std::int32_t size = Get_Exe_file_Size(address);
    if (size < kSmallestProgram) return false;

    const std::string path = DownloadPath();
    bool written = false;
    errors::ReportingStep(reporter_, errors::label::kDownloadApp, [&] {
        // Proves the folder writable before anything is fetched, and replaces an old qms.exe.
        errors::ThrowIfFailed(platform_.files.WriteFile(path, ""));
        const platform::HttpResponse response = Fetch(
            platform_.http,
            {address, platform::HttpBody::ToFile, path, kTransferTimeoutMs, kDownloadLimitMs});
        if (!IsWhole(response) || response.body_bytes != static_cast<std::uint64_t>(size)) return;
        // What is checked is what will run: the file's bytes, read back once it is closed.
        std::string program;
        errors::ThrowIfFailed(platform_.files.ReadFile(path, program));
        written = Signed(address, program);
    });
    if (!written) platform_.files.DeleteFile(path);
    return written;
}

bool Updater::DownloadWithRetries() {
    for (int attempt = 1; attempt <= kDownloadAttempts; ++attempt) {
        if (Download_App()) return true;
        if (unverified_) return false;
    }
    return false;
}

}  // namespace qm::update

#pragma once
// The labels the reporting procedures send with their run-time errors. Each one is sent
// byte for byte as it stands here: the server side files reports by these exact texts, so
// the odd ones (the two commas, the trailing blank, the quote character, the mismatched
// unit texts) are kept as they have always been sent.
#include <array>
#include <string_view>

namespace qm::errors::label {

// Main window.
inline constexpr std::string_view kForm1Command5Click = "Form1,Command5_Click";
inline constexpr std::string_view kForm1Command6Click = "Form1,Command6_Click";
inline constexpr std::string_view kForm1Command7 = "Form1,Command7";
inline constexpr std::string_view kForm1Load = "Form1,Load";
inline constexpr std::string_view kForm1MouseMove = "Form1,MouseMove";
inline constexpr std::string_view kForm1QueryUnload = "Form1,initProgressBar";
inline constexpr std::string_view kForm1Mexit = "Form1,,mexit";
inline constexpr std::string_view kForm1ShowPrevInstance = "Form1,ShowPrevInstance";

// Options dialog.
inline constexpr std::string_view kForm2CmdUpgrade = "Form2,CmdUpgrade";
inline constexpr std::string_view kForm2Command5Click = "Form2,Command5_Click ";
inline constexpr std::string_view kForm2Command6Click = "Form2,Command6_Click";
inline constexpr std::string_view kForm2Load = "Form2,Form_load";

// Scheduling.
inline constexpr std::string_view kSetSchdTime = "modInfo,setSchdTime";

// Settings store.
inline constexpr std::string_view kDeleleteValue = "module,DeleleteValue";
inline constexpr std::string_view kGetSettingString = "Module,GetSettingString";
inline constexpr std::string_view kSaveSettingString = "SaveSettingString,WipeDir";
inline constexpr std::string_view kSaveSettingLong = "module,SaveSettingLong";
inline constexpr std::string_view kMyGetSettingString = "module,MyGetSettingString";
inline constexpr std::string_view kSaveString = "module,SaveString";

// Cleaners.
inline constexpr std::string_view kCleanMediaPlayer = "modClean,CleanMediaPlayer()";
inline constexpr std::string_view kWipeFiles = "modClean,WipeFiles";
inline constexpr std::string_view kWipeDir = "modClean,WipeDir";
inline constexpr std::string_view kGetTempFolder = "MoDule\",GetTempFolder";
inline constexpr std::string_view kKillFolder = "modClean,KillFolder";
inline constexpr std::string_view kKillIndexDat = "modClean,KillIndexDat";
inline constexpr std::string_view kCleanNetScapeURLS = "modClean,CleanNetScapeURLS";

// Updater.
inline constexpr std::string_view kDownloadApp = "module,Download_App";
inline constexpr std::string_view kGetExeFileSize = "module,Get_Exe_file_Size";
inline constexpr std::string_view kCheckForNewVersion = "module,Check_For_New_Version";
inline constexpr std::string_view kGetTextHtmlFileSize = "module,Get_Text_Html_File_Size";

// System information.
inline constexpr std::string_view kGetProcessor = "module,GetProcessor";
inline constexpr std::string_view kMemInfo = "module,MemInfo";

// Every label in use; no other procedure reports errors.
inline constexpr std::array kAll = {
    kForm1Command5Click, kForm1Command6Click,
    kForm1Command7,      kForm1Load,
    kForm1MouseMove,     kForm1QueryUnload,
    kForm1Mexit,         kForm1ShowPrevInstance,
    kForm2CmdUpgrade,    kForm2Command5Click,
    kForm2Command6Click, kForm2Load,
    kSetSchdTime,        kDeleleteValue,
    kGetSettingString,   kSaveSettingString,
    kSaveSettingLong,    kMyGetSettingString,
    kSaveString,         kCleanMediaPlayer,
    kWipeFiles,          kWipeDir,
    kGetTempFolder,      kKillFolder,
    kKillIndexDat,       kCleanNetScapeURLS,
    kDownloadApp,        kGetExeFileSize,
    kCheckForNewVersion, kGetTextHtmlFileSize,
    kGetProcessor,       kMemInfo,
};

}  // namespace qm::errors::label

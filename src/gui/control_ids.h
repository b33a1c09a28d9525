#pragma once
// Control identifiers of the main window. Automation (and the end-to-end tests) find most
// controls by class and caption; the lists and tab strips have no caption and are found by
// these identifiers.
namespace qm::gui {

enum ControlId : int {
    kTabStrip1 = 1001,
    kTabStrip2 = 1002,
    kList1 = 1003,
    kFirstPanelControl = 1100,  // every other control gets an identifier from here on
};

// Menu commands (WM_COMMAND from the menu bar or the tray icon's pop-up menu), clear of the
// control identifiers above.
enum MenuCommandId : int {
    kMnuExit = 2001,
    kMnuRestore,
    kMexit,
    kMnuAddIE,
    kMnuDeleteIE,
    kMnuCR,
    kMnuAs,
    kMnuHP,
    kMnuAbout,
};

}  // namespace qm::gui

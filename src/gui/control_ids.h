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

// Menu commands (WM_COMMAND from the menu bar), clear of the control identifiers above. The
// numbers stay as they were when the tray menu had 2002 and 2003.
enum MenuCommandId : int {
    kMnuExit = 2001,
    kMnuAddIE = 2004,
    kMnuDeleteIE,
    kMnuCR,
    kMnuAs,
    kMnuHP,
    kMnuAbout,
};

}  // namespace qm::gui

#pragma once
// What the program's modeless dialogs share: an empty dialog template (their controls come
// from the models, made by hand), the screen's DPI and message font, and a place in the middle
// of the screen for a client area given in pixels at 96 DPI.
#include "controls/controls.h"
#include "platform/win32/windows_api.h"

namespace qm::gui {

// A control of a dialog's model and the window that shows it.
struct DialogNative {
    controls::Control* model;
    HWND hwnd;
    int id;
    int subscription;
};

// A popup with a caption, a close box and a dialog frame, without controls.
const DLGTEMPLATE* EmptyDialogTemplate();
int ScreenDpi();
// The font Windows uses in message boxes; the caller deletes it.
HFONT CreateMessageFont();
inline int ScaleToDpi(int value, int dpi) {
    return MulDiv(value, dpi, 96);
}
void PlaceInMiddleOfScreen(HWND dialog, int width, int height, int dpi);

}  // namespace qm::gui

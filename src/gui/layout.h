#pragma once
// Where each control of the main window sits, in pixels of the client area at 96 DPI.
// All controls are children of the main window itself; the frames of the model only decide
// which of them are shown.
#include <optional>
#include <string_view>

namespace qm::gui {

struct Rect {
    int x, y, width, height;
};

inline constexpr int kClientWidth = 600;
inline constexpr int kClientHeight = 420;

// The place of a control by program name (and index for control arrays); none for controls
// that have no window of their own (the top panels and item panels).
std::optional<Rect> PlaceOf(std::string_view name, int index);

}  // namespace qm::gui

#include "gui/layout.h"

#include <array>

#include "clean/catalogue.h"
#include "clean/custom_items.h"

namespace qm::gui {
namespace {

struct Place {
    std::string_view name;
    Rect rect;
};

// The fixed controls. Item boxes are placed from the catalogue below.
constexpr std::array kPlaces = {
    Place{"TabStrip1", {6, 6, 588, 24}},
    // Main
    Place{"List1", {16, 40, 400, 364}},
    Place{"Command4", {428, 40, 156, 28}},
    Place{"cmdCleanAndReboot", {428, 74, 156, 28}},
    Place{"Command2", {428, 108, 156, 28}},
    Place{"cmdAddtoIE", {428, 142, 156, 28}},
    Place{"Frame1", {428, 190, 156, 96}},
    Place{"Label18", {440, 210, 136, 18}},
    Place{"Label15", {440, 234, 136, 18}},
    Place{"Label16", {440, 256, 136, 18}},
    // Privacy Settings
    Place{"TabStrip2", {16, 40, 568, 24}},
    Place{"Label3", {30, 280, 540, 18}},
    Place{"Label2", {30, 280, 540, 18}},
    Place{"Label4", {30, 280, 540, 18}},
    Place{"Label31", {30, 280, 540, 18}},
    Place{"Label34", {30, 280, 540, 18}},
    Place{"Label32", {320, 78, 250, 36}},
    Place{"Label33", {320, 78, 250, 18}},
    Place{"Label35", {30, 280, 540, 18}},
    Place{"Label37", {30, 280, 540, 18}},
    Place{"Label36", {320, 78, 250, 36}},
    Place{"Label39", {30, 280, 540, 18}},
    Place{"Label40", {30, 298, 540, 18}},
    Place{"Label38", {320, 78, 250, 36}},
    Place{"Label41", {30, 280, 540, 18}},
    Place{"Label42", {320, 78, 250, 36}},
    Place{"Check1", {16, 318, 260, 22}},
    Place{"Command5", {16, 354, 120, 30}},
    Place{"Command6", {146, 354, 120, 30}},
    Place{"Command7", {384, 348, 200, 40}},
    Place{"cmdPreview", {276, 348, 100, 40}},
    // Q & A
    Place{"Frame3", {16, 40, 568, 130}},
    Place{"Label6", {28, 60, 544, 104}},
    Place{"Frame2", {16, 178, 568, 226}},
    Place{"Label5", {28, 198, 544, 30}},
    Place{"Label12", {28, 234, 370, 18}},
    Place{"Label11", {28, 256, 370, 18}},
    Place{"Label10", {28, 278, 370, 18}},
    Place{"Label9", {28, 300, 370, 18}},
    Place{"Label8", {28, 322, 370, 18}},
    Place{"Label7", {28, 344, 370, 18}},
    Place{"Label14", {410, 234, 162, 18}},
    Place{"Label13", {410, 256, 162, 18}},
    // System Info
    Place{"Frame4", {16, 40, 568, 110}},
    Place{"Label19", {32, 68, 180, 18}},
    Place{"Label21", {220, 68, 350, 18}},
    Place{"Label20", {32, 100, 180, 18}},
    Place{"Label22", {220, 100, 350, 18}},
    Place{"Frame5", {16, 164, 568, 110}},
    Place{"Label23", {32, 192, 180, 18}},
    Place{"Label25", {220, 192, 350, 18}},
    Place{"Label24", {32, 224, 180, 18}},
    Place{"Label26", {220, 224, 350, 18}},
    Place{"Frame6", {16, 288, 568, 110}},
    Place{"Label27", {32, 316, 180, 18}},
    Place{"Label29", {220, 316, 350, 18}},
    Place{"Label28", {32, 348, 180, 18}},
    Place{"Label30", {220, 348, 350, 18}},
};

// Item boxes: one column down the left of the item panel; the Outlook and MS Office boxes
// stand in a second column at the top.
std::optional<Rect> ItemBoxPlace(std::string_view name) {
    // The own places' boxes, one per line, wide enough for a path.
    if (const int slot = clean::CustomSlotOf(name.substr(name.starts_with("chk") ? 3 : 0));
        slot > 0 && name.starts_with("chkCustom")) {
        return Rect{30, 78 + (slot - 1) * 24, 540, 22};
    }
    const clean::CleaningItem* item = clean::FindByCheckBox(name);
    if (!item) return std::nullopt;
    if (name == "chkOutlook" || name == "chkMS") return Rect{320, 78, 250, 22};
    return Rect{30, 78 + (item->panel_position - 1) * 28, 280, 22};
}

}  // namespace

std::optional<Rect> PlaceOf(std::string_view name, int /*index*/) {
    for (const Place& place : kPlaces) {
        if (place.name == name) return place.rect;
    }
    return ItemBoxPlace(name);
}

}  // namespace qm::gui

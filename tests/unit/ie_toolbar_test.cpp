#include <gtest/gtest.h>

#include "core_test_support.h"
#include "main_window_fixture.h"

namespace qm::testing {

constexpr std::string_view kKey =
    "Software\\Microsoft\\Internet Explorer\\Extensions\\{ECC5778A-6E88-BFCE-13CE-81F134789E7B}";

TEST_F(MainWindowTest, IEToolbarButtonValuesPlaceAndStatusLines) {
    // A drive root keeps its backslash, so it comes out doubled; a closed HKLM is a standard
    // user on Vista and later.
    for (const bool closed : {false, true}) {
        const std::string folder = closed ? "C:\\" : "C:\\Program Files\\Quillmoss";
        const auto root = closed ? platform::Root::CurrentUser : platform::Root::LocalMachine;
        machine_.SetProgram(folder, "Quillmoss");
        machine_.SetLocalMachineReadOnly(closed);
        for (int i = 0; i < 2; ++i) {
            window_.List1().AddItem("left over");
            window_.cmdAddtoIE().Click();
            EXPECT_EQ(window_.List1().lines(), StatusLines());
        }
        const std::string f = folder + "\\";
        for (const std::string& value : std::vector<std::string>{
                 "ButtonText=Quillmoss", "CLSID={1FBA04EE-3024-11D2-8F1F-0000F87ABD16}",
                 "Default Visible=Yes", "Exec=" + f + "Quillmoss", "HotIcon=" + f + "iconwipe.ico",
                 "Icon=" + f + "iconwipe.ico", "MenuStatusBar=Quillmoss", "MenuText=Quillmoss"}) {
            const std::size_t eq = value.find('=');
            const RawValue raw = ReadRaw(machine_.registry(), root, kKey, value.substr(0, eq));
            EXPECT_EQ(raw.type, platform::RegType::Sz) << value;
            EXPECT_EQ(raw.data, Utf16Bytes(value.substr(eq + 1))) << value;
        }
        EXPECT_FALSE(KeyExists(machine_.registry(),
                               closed ? platform::Root::LocalMachine : platform::Root::CurrentUser,
                               kKey));
        window_.List1().AddItem("left over");
        window_.mnuDeleteIE_Click();
        EXPECT_EQ(window_.List1().count(), 5u) << "the menu item leaves the list alone";
        EXPECT_FALSE(KeyExists(machine_.registry(), root, kKey));
        window_.Command2().Click();  // no button left
        EXPECT_EQ(window_.List1().lines(), StatusLines());
    }
}

}  // namespace qm::testing

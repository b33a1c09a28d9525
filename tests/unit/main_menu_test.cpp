#include <gtest/gtest.h>

#include "core_test_support.h"
#include "links/web_links.h"
#include "main_window_fixture.h"

namespace qm::testing {
namespace {

using platform::Root;
constexpr std::string_view kKey =
    "Software\\Microsoft\\Internet Explorer\\Extensions\\{ECC5778A-6E88-BFCE-13CE-81F134789E7B}";

TEST_F(MainWindowTest, MenusInOrderWithStoredCaptions) {
    std::vector<std::string> shown;
    for (const app::Menu& menu : menu_.menus()) {
        shown.push_back(menu.caption);
        for (const app::MenuItem& item : menu.items) {
            shown.push_back(item.separator() ? "  -" : "  " + item.name + " " + item.caption);
        }
    }
    EXPECT_EQ(shown, (std::vector<std::string>{
                         "&File", "  mnuExit E&xit", "&Option", "  mnuAddIE &Add To IE",
                         "  mnuDeleteIE &Delete From IE", "  mnuCR &Clean && Reboot", "  -",
                         "  mnuAs &Advance Settings", "&Help", "  mnuHP Help &Pages", "  -",
                         "  mnuAbout Visit &Us Online"}));
}

// The Exit item is chosen in the window's life test, Delete From IE below.
TEST_F(MainWindowTest, MenuItemsReachTheirHandlersAndLeaveTheProgressListAlone) {
    machine_.AnswerNextBox(platform::mb::kIdCancel);
    Choose("mnuCR");
    ASSERT_EQ(machine_.boxes().size(), 1u);
    EXPECT_EQ(machine_.boxes()[0].text, "Do you want to clean selected items");
    window_.List1().Clear();  // the declined clean run wrote its status lines
    Choose("mnuAddIE");
    EXPECT_TRUE(KeyExists(machine_.registry(), platform::Root::LocalMachine, kKey));
    Choose("mnuHP");
    Choose("mnuAbout");
    EXPECT_EQ(machine_.opened_addresses(),
              (std::vector<std::string>{"https://www.quillmoss.com/help/",
                                        "https://www.quillmoss.com/"}));
    EXPECT_TRUE(window_.List1().lines().empty());
}

TEST_F(MainWindowTest, QandALinkLabelsOpenTheirPagesEveryClickAndTheContactLabelsNothing) {
    for (const links::WebLink& link : links::kWebLinks) {
        auto* label = dynamic_cast<controls::Label*>(window_.FindControl(link.control));
        ASSERT_EQ(!label, link.control.starts_with("mnu")) << link.control;
        if (!label) continue;
        EXPECT_EQ(label->caption(), link.caption);
        EXPECT_EQ(label->parent(), window_.FindControl("Frame2"));
    }
    // Label13 and Label14 only show the contact addresses; Label7 is clicked twice.
    for (const char* control : {"Label12", "Label11", "Label10", "Label9", "Label8", "Label7",
                                "Label7", "Label13", "Label14"})
        dynamic_cast<controls::Label&>(*window_.FindControl(control)).Click();
    const std::string site = "https://www.quillmoss.com/";
    EXPECT_EQ(machine_.opened_addresses(),
              (std::vector<std::string>{site + "qa.html", site + "privacy.html",
                                        "https://forum.quillmoss.com/", site + "friend.html",
                                        site + "suggestions.html", site + "bugreport.html",
                                        site + "bugreport.html"}));
    EXPECT_EQ(window_.FindControl("Frame2")->parent(), &window_.frmone(app::kQandATab));
    EXPECT_EQ(window_.FindControl("Label6")->parent()->caption(), "About Quillmoss");
}

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
        Choose("mnuDeleteIE");
        EXPECT_EQ(window_.List1().count(), 5u) << "the menu item leaves the list alone";
        EXPECT_FALSE(KeyExists(machine_.registry(), root, kKey));
        window_.Command2().Click();  // no button left
        EXPECT_EQ(window_.List1().lines(), StatusLines());
    }
}

// The machine's registry, but HKLM refuses to create keys with the given status.
class MachineKeyRefused final : public platform::Registry {
  public:
    MachineKeyRefused(platform::Registry& real, platform::Status status)
        : real_(real), status_(status) {}
    platform::Status OpenKey(Root root, std::string_view path, platform::RegKey& key) override {
        return real_.OpenKey(root, path, key);
    }
    platform::Status CreateKey(Root root, std::string_view path, platform::RegKey& key) override {
        return root == Root::LocalMachine ? status_ : real_.CreateKey(root, path, key);
    }
    platform::Status QueryValueInfo(platform::RegKey key, std::string_view name,
                                    platform::RegType& type, std::uint32_t& size) override {
        return real_.QueryValueInfo(key, name, type, size);
    }
    platform::Status QueryValue(platform::RegKey key, std::string_view name,
                                platform::RegType& type, std::vector<std::uint8_t>& data) override {
        return real_.QueryValue(key, name, type, data);
    }
    platform::Status SetValue(platform::RegKey key, std::string_view name, platform::RegType type,
                              std::span<const std::uint8_t> data) override {
        return real_.SetValue(key, name, type, data);
    }
    platform::Status DeleteValue(platform::RegKey key, std::string_view name) override {
        return real_.DeleteValue(key, name);
    }
    platform::Status ListKey(platform::RegKey key, std::vector<std::string>& subkeys,
                             std::vector<std::string>& values) override {
        return real_.ListKey(key, subkeys, values);
    }
    platform::Status DeleteKey(Root root, std::string_view path) override {
        return real_.DeleteKey(root, path);
    }
    void CloseKey(platform::RegKey key) override { real_.CloseKey(key); }

  private:
    platform::Registry& real_;
    platform::Status status_;
};

TEST_F(MainWindowTest, IEToolbarButtonIsPerUserOnlyForWantOfRightsAndOneCopysOnly) {
    const auto has = [&](Root root) { return KeyExists(machine_.registry(), root, kKey); };
    // The machine-wide add takes away the user's button of a copy elsewhere, not this copy's.
    for (const auto& [exec, stays] : {std::pair{"D:\\Portable\\Quillmoss", false},
                                      {"c:\\program files\\quillmoss\\QUILLMOSS", true}}) {
        settings_.SaveSettingString(Root::CurrentUser, kKey, "Exec", exec);
        window_.cmdAddtoIE().Click();
        EXPECT_TRUE(has(Root::LocalMachine));
        EXPECT_EQ(has(Root::CurrentUser), stays) << exec;
        Choose("mnuDeleteIE");
    }
    for (const platform::Status status : {platform::kErrorAccessDenied, platform::Status{1018}}) {
        MachineKeyRefused registry(machine_.registry(), status);
        ietoolbar::ToolbarButton(registry, machine_.process(), settings_).AddIEToolbarButton();
        EXPECT_FALSE(has(Root::LocalMachine));
        EXPECT_EQ(has(Root::CurrentUser), status == platform::kErrorAccessDenied) << status;
        Choose("mnuDeleteIE");
    }
}

}  // namespace
}  // namespace qm::testing

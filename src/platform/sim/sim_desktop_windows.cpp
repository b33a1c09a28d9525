// Other programs' top-level windows and the keyboard, as the boss keys and the browser closing
// see them.
#include <algorithm>
#include <utility>

#include "platform/sim/machine_impl.h"

namespace qm::sim {

std::vector<platform::WindowHandle> SimDesktop::TopLevelWindows() {
    std::vector<std::pair<std::uint64_t, platform::WindowHandle>> by_z;
    for (const auto& [handle, window] : windows) by_z.emplace_back(window.z, handle);
    std::sort(by_z.rbegin(), by_z.rend());
    std::vector<platform::WindowHandle> handles;
    for (const auto& entry : by_z) handles.push_back(entry.second);
    return handles;
}

std::string SimDesktop::WindowClassName(platform::WindowHandle window) {
    const auto found = windows.find(window);
    return found != windows.end() ? found->second.window_class : std::string();
}

std::string SimDesktop::WindowProgramName(platform::WindowHandle window) {
    const auto found = windows.find(window);
    return found != windows.end() ? found->second.program : std::string();
}

bool SimDesktop::IsWindowVisible(platform::WindowHandle window) {
    const auto found = windows.find(window);
    return found != windows.end() && found->second.visible;
}

bool SimDesktop::GetWindowPlacement(platform::WindowHandle window,
                                    platform::WindowPlacement& placement) {
    const auto found = windows.find(window);
    if (found == windows.end()) return false;
    placement = found->second.placement;
    return true;
}

bool SimDesktop::SetWindowPlacement(platform::WindowHandle window,
                                    const platform::WindowPlacement& placement) {
    const auto found = windows.find(window);
    if (found == windows.end()) return false;
    placement_changes.emplace_back(window, placement);
    // Hiding keeps the state the window shows in (normal, minimised, maximised), as Windows
    // reports it afterwards.
    const std::uint32_t state = placement.show_command == platform::show_command::kHide
                                    ? found->second.placement.show_command
                                    : placement.show_command;
    found->second.placement = placement;
    found->second.placement.show_command = state;
    found->second.visible = placement.show_command != platform::show_command::kHide;
    return true;
}

bool SimDesktop::PostCloseRequest(platform::WindowHandle window) {
    const auto found = windows.find(window);
    if (found == windows.end()) return false;
    close_requests.push_back(window);
    if (found->second.closes_after_ms >= 0) {
        loop_.At(static_cast<std::uint32_t>(found->second.closes_after_ms),
                 [this, window] { windows.erase(window); });
    }
    return true;
}

bool SimDesktop::KeyPressedSinceLastQuery(int virtual_key) {
    return pressed_keys.erase(virtual_key) > 0;
}

platform::WindowHandle Machine::AddWindow(const std::string& window_class,
                                          const platform::WindowPlacement& placement, bool visible,
                                          platform::WindowHandle reuse) {
    SimDesktop& desktop = impl_->desktop;
    const platform::WindowHandle handle = reuse != 0 ? reuse : desktop.next_handle += 4;
    desktop.windows[handle] = {window_class, placement, visible, desktop.next_z++};
    return handle;
}

void Machine::SetWindowProgram(platform::WindowHandle window, const std::string& program) {
    impl_->desktop.windows.at(window).program = program;
}

void Machine::DestroyWindow(platform::WindowHandle window) {
    impl_->desktop.windows.erase(window);
}

void Machine::CloseWindowOnRequest(platform::WindowHandle window, std::uint32_t delay_ms) {
    impl_->desktop.windows.at(window).closes_after_ms = delay_ms;
}

const std::vector<platform::WindowHandle>& Machine::close_requests() const {
    return impl_->desktop.close_requests;
}

std::vector<std::pair<platform::WindowHandle, platform::WindowPlacement>>
Machine::TakePlacementChanges() {
    return std::exchange(impl_->desktop.placement_changes, {});
}

void Machine::PressKey(int virtual_key) {
    impl_->desktop.pressed_keys.insert(virtual_key);
}

}  // namespace qm::sim

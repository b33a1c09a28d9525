// Prints the policies the program reads, one per line ("name<TAB>Text|Switch<TAB>setting"),
// then the schedule's intervals ("interval<TAB>text"), for the administrative template's check.
#include <iostream>

#include "settings/policy.h"
#include "settings/schedule_options.h"

int main() {
    using qm::settings::PolicyType;
    for (const auto& policy : qm::settings::kPolicies) {
        std::cout << policy.name << '\t' << (policy.type == PolicyType::Text ? "Text" : "Switch")
                  << '\t' << policy.setting << '\n';
    }
    for (const auto& option : qm::settings::kScheduleOptions) {
        std::cout << "interval\t" << option.text << '\n';
    }
    std::cout << "key\t" << qm::settings::kPolicyPath << '\n';
}

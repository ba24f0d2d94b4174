#include "support/fake_tray.h"

#include "base/files.h"

namespace ovp::test {

bool FakeTrayIcon::Add(const std::filesystem::path& iconFile, std::string_view tip) {
    added = true;
    icons.push_back(iconFile);
    tips.emplace_back(tip);
    return true;
}

bool FakeTrayIcon::SetIcon(const std::filesystem::path& iconFile) {
    icons.push_back(iconFile);
    return added;
}

bool FakeTrayIcon::SetTip(std::string_view tip) {
    tips.emplace_back(tip);
    return added;
}

bool FakeTrayIcon::Remove() {
    added = false;
    return true;
}

std::string FakeTrayIcon::IconName() const {
    return icons.empty() ? std::string() : Utf8FromPath(icons.back().filename());
}

}  // namespace ovp::test

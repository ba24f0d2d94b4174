#pragma once
// The tray commands that send the user to the service's pages: the version check, and the
// account upgrade when the storage quota is exceeded.

#include <string_view>

#include "commands/command_env.h"

namespace ovp {

// Localised text ids of the version check's question and notice.
inline constexpr int kTextUpgradeQuestion = 1497;  // "Do you want to upgrade to the latest version of " S "?"
inline constexpr int kTextLatestInstalled = 968;   // "The latest version of " S " is already installed ..."

// `mnuVersionUpdate`: asks the service's update page about the installed version; on "Y" offers
// the setup page, otherwise says the latest version is installed.
void mnuVersionUpdate_Click(CommandEnv& env);

// `MnuQuotaExceeded`: the account upgrade page for a logged-in user (and the quota marker goes),
// the login page otherwise.
void MnuQuotaExceeded_Click(CommandEnv& env);

// Whether the update page's answer says that a newer version exists: the single letter "Y" in
// either case, line ends aside.
bool IsUpdateAvailable(std::string_view answer);

}  // namespace ovp

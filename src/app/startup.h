#pragma once
// Start-up of the monitor: `Main` and the load handler of the hidden main form `frmOVWinService`.
// Both run once on the user-interface thread before the message loop. Every step runs on its own
// under the resume-next policy: a file, registry or folder operation that fails is skipped and
// start-up goes on. Only a configuration that cannot be read, a second instance or a main form
// that cannot be created end the program, without a message and without a trace line.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/startup_host.h"
#include "context/app_context.h"
#include "contract/product_config.h"

namespace ovp {

enum class StartupOutcome {
    Running,          // the main form is loaded: run the message loop
    NoConfiguration,  // Configuration.ini is missing or incomplete
    SecondInstance,   // this monitor already runs in the logon session
    NoMainForm,       // the hidden main window could not be created
};

struct StartupResult {
    StartupOutcome outcome = StartupOutcome::NoConfiguration;
    // Present whenever the configuration could be read.
    std::unique_ptr<AppContext> context;
};

// The file of the context-menu control, a companion component outside this program.
inline constexpr std::string_view kContextMenuControlFile = "UniHookMenu100_EDA1811C.ocx";
// The screen resolution at which the large-fonts flag stays clear.
inline constexpr int kNormalScreenDpi = 96;
// More network-share entries than this are not converted: the count is stored by another
// program, and a damaged one must not keep start-up reading for minutes.
inline constexpr long long kMaxUncEntries = 1000;
inline constexpr std::size_t kUncFieldCount = 6;
inline constexpr std::string_view kUncFieldSeparator = ";";

// The configuration with the brand file and the empty-name rule applied; nullopt ends the program.
std::optional<ProductSettings> ReadStartupSettings(const std::filesystem::path& appFolder);

// The whole of `Main`: the configuration, then RunMainSteps on the new context.
StartupResult Main(const PlatformPorts& ports, IStartupHost& host, const std::filesystem::path& appFolder);

// `Main` from the single-instance decision on; the form loads on the way.
StartupOutcome RunMainSteps(AppContext& context, IStartupHost& host);

// `Form_Load` of `frmOVWinService`.
void Form_Load(AppContext& context, IStartupHost& host);

// ---- Pieces of the steps ----------------------------------------------------------------------
// Empties the start folder by deleting it with its contents and creating it again. The folder is
// only ever deleted when it is the application folder's direct child named after the (validated)
// installation name and not a link to somewhere else; otherwise it is only created when missing.
// The delete goes through the port because the portable library cannot see Windows links and
// would follow them. True when the start folder exists afterwards.
bool RecreateStartFolder(const Folders& folders, IFileSystem& files);

// The form's icon: the brand file's custom icon when that file exists, else "ovlog.ico", both in
// the images folder.
std::filesystem::path FormIconFile(const AppContext& context);

// The large-fonts flag for a screen of that many dots per inch (0: unknown, taken as normal).
bool IsLargeFonts(int dpiX);

// One stored network-share entry (plain) in its converted form: each field obscured and followed
// by ";". Fields are passed through as they are; an entry with fewer than six fields gets empty
// ones, one with more keeps them all.
std::string ConvertUncEntry(std::string_view plainEntry);
// Converts the entries once, unless "UNCEncrypted" is "1".
void ConvertUncEntries(AppContext& context);

// ---- Steps whose features are built later -----------------------------------------------------
// Attaches the tray menu to the context-menu control when its file is there.
void AttachContextMenuControl(AppContext& context);

}  // namespace ovp

#pragma once
// What every stand-in needs to know about the product it stands beside: its own folder (the
// application folder), the product settings and names exactly as the monitor derives them, and
// the current user. Stand-ins are test and demo equipment, not part of the product.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "contract/product_config.h"

namespace ovp::standin {

// The stand-ins' own record of what reached them, one UTF-8 line per event, in the application
// folder. Not part of the engine contract: only tests and the demo read it.
inline constexpr std::string_view kEventsFile = "StandInEvents.txt";
// The answers the client stand-in gives, one line per launch, written by a test into the
// application folder (format in standins/client/client_main.cpp).
inline constexpr std::string_view kClientScriptFile = "StandInClientScript.txt";
// Where the URL recorder appends the links it is asked to open: the file this environment
// variable names, else kUrlRecordFile beside the recorder (standins/urlrecorder).
inline constexpr std::string_view kUrlRecordVariable = "OVP_URL_RECORD";
inline constexpr std::string_view kUrlRecordFile = "OVPUrlRecords.txt";

// The folder of the running executable.
std::filesystem::path OwnFolder();

struct Product {
    ProductSettings settings;
    ExecutableNames names;
};

// Configuration.ini, the brand file and the empty-name rule, in the monitor's order; nullopt when
// the monitor itself would refuse the configuration.
std::optional<Product> LoadProduct(const std::filesystem::path& appFolder);

// "Default User name" of UserName.ini, read as the monitor reads it.
std::string CurrentUserName(const std::filesystem::path& appFolder, const ProductSettings& settings);

// Appends "<who>: <event>" to the events file.
void RecordEvent(const std::filesystem::path& appFolder, std::string_view who, std::string_view event);

// The program's command line exactly as it was started (program and arguments), in UTF-8.
std::string OwnCommandLine();

// True when the connection state the engine keeps for the product says logged in (1 or 2).
bool LoggedIn(const ProductSettings& settings);

// Stays running without a visible window until the window is closed, the session ends or the
// process is ended; records "ended" when it ends by itself. The exit code to return.
int StayUntilClosed(const std::filesystem::path& appFolder, std::string_view who, const wchar_t* windowClass);

}  // namespace ovp::standin

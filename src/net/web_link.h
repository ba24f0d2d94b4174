#pragma once
// The web pages the monitor opens for the user: a configured link followed by the user's name,
// handed to the shell's default handler.

#include <string>
#include <string_view>

#include "contract/trace_sink.h"
#include "platform/shell.h"

namespace ovp {

// Follows every link to a page of the service when the configured language is Spanish.
inline constexpr std::string_view kSpanishLinkSuffix = " &country=ES&lang=es";

// The configured link, the user name as a query value, and the Spanish suffix when the configured
// language is "Spanish".
std::string UserPageLink(std::string_view link, std::string_view userName, std::string_view language);

// When the shell's answer asks for the request to be made once more.
enum class ShellRetry {
    OnNoAssociation,  // only when no program is associated (31)
    OnAnyFailure,     // on any answer of 32 or below
};

// Opens the link in a normal window when it is a web address; anything else would make the shell
// open a file or start a program (from the application folder, a file named like the user could
// run), so it is traced and not opened. True when the shell took the request.
bool OpenWebPage(IShell& shell, ITraceSink& trace, std::string_view link, ShellRetry retry);

}  // namespace ovp

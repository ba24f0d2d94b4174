#include "net/web_link.h"

#include "base/files.h"
#include "base/text.h"
#include "net/url.h"

namespace ovp {

namespace {

constexpr std::string_view kSpanish = "Spanish";
constexpr std::string_view kNotWebLink = "Not a web address, not opened: ";

}  // namespace

std::string UserPageLink(std::string_view link, std::string_view userName, std::string_view language) {
    std::string page = std::string(link) + PercentEncodeQueryValue(userName);
    if (Trim(language) == kSpanish) {
        page += kSpanishLinkSuffix;
    }
    return page;
}

bool OpenWebPage(IShell& shell, ITraceSink& trace, std::string_view link, ShellRetry retry) {
    if (!IsWebLink(link)) {
        trace.Error(std::string(kNotWebLink) + std::string(link));
        return false;
    }
    ShellRequest request;
    request.verb = "open";
    request.file = PathFromUtf8(link);
    request.show = ShowMode::Normal;
    const ShellResult first = shell.Execute(request);
    if (first.Succeeded()) {
        return true;
    }
    if (retry == ShellRetry::OnAnyFailure || first.instance == kShellNoAssociation) {
        return shell.Execute(request).Succeeded();
    }
    return false;
}

}  // namespace ovp

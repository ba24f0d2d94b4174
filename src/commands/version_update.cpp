#include "commands/version_update.h"

#include <string>

#include "base/files.h"
#include "base/resume_next.h"
#include "base/text.h"
#include "commands/command_run.h"
#include "contract/configuration.h"
#include "contract/engine_contract.h"
#include "contract/locale_file.h"
#include "net/http_functions.h"
#include "net/url.h"
#include "net/web_link.h"
#include "net/webdav_control.h"

namespace ovp {

namespace c = contract;

namespace {

constexpr std::string_view kYes = "Yes";
constexpr std::string_view kNo = "No";
constexpr std::string_view kClose = "Close";

// The name the version texts give the service: the display name, or the product name of a
// build whose brand file is installed.
std::string ServiceWord(AppContext& context) {
    const auto brandFile = context.folders.AppFolder() / PathFromUtf8(c::kImagesFolder) / PathFromUtf8(c::kBrandFile);
    return FileExists(brandFile) ? context.settings.productName : DisplayName(context.settings);
}

bool IsLoggedIn(std::int64_t status) {
    return status == 1 || status == 2;
}

}  // namespace

bool IsUpdateAvailable(std::string_view answer) {
    std::string letters;
    for (const char ch : answer) {
        if (ch != '\r' && ch != '\n') {
            letters += ch;
        }
    }
    return EqualsNoCase(letters, "Y");
}

void mnuVersionUpdate_Click(CommandEnv& env) {
    // The fetch lets window events run: a second click meanwhile must not start a second check.
    CommandRun run(env, "mnuVersionUpdate");
    if (!run.Acquired()) {
        return;
    }
    AppContext& context = env.context;
    SharedValues& values = context.values;
    const std::string version =
        Trim(values.ReadRegistry(RegistryRoot::CurrentUser, values.ApplicationKey(), c::kRegVersion).AsText());
    // The daily check compares the installed version with the one the last check asked about.
    context.knownVersion = version;
    std::string answer;
    ResumeNext([&] {
        WebDavControl dav(context);
        HttpFunctions functions(context, dav);
        env.host.SetBusyCursor(true);
        answer = functions.HttpGet(context.settings.links.update + PercentEncodeQueryValue(version));
    });
    env.host.SetBusyCursor(false);

    const std::string service = ServiceWord(context);
    MessageBoxRequest request;
    request.title = context.settings.caption;
    request.owner = env.host.OwnerWindow();
    if (IsUpdateAvailable(answer)) {
        request.message = LocaleStringOr(context.texts, kTextUpgradeQuestion,
                                         "Do you want to upgrade to the latest version of " + service + "?", service);
        request.iconKind = "question";
        request.firstCaption = std::string(kYes);
        request.showFirst = true;
        request.secondCaption = std::string(kNo);
        if (env.messageBox.Show(request)) {
            OpenWebPage(context.ports.shell, context.trace, context.settings.links.setup, ShellRetry::OnAnyFailure);
        }
        return;
    }
    request.message =
        LocaleStringOr(context.texts, kTextLatestInstalled,
                       "The latest version of " + service + " is already installed on your computer.", service);
    request.iconKind = "info";
    request.secondCaption = std::string(kClose);
    env.messageBox.Show(request);
}

void MnuQuotaExceeded_Click(CommandEnv& env) {
    AppContext& context = env.context;
    if (!IsLoggedIn(context.values.ConnectionStatus())) {
        OpenWebPage(context.ports.shell, context.trace, context.settings.links.login, ShellRetry::OnAnyFailure);
        return;
    }
    OpenWebPage(context.ports.shell, context.trace,
                UserPageLink(context.settings.links.accountUpgrade, context.values.CurrentUserName(),
                             context.settings.language),
                ShellRetry::OnNoAssociation);
    DeleteFileIfExists(context.values.UserFolder() / PathFromUtf8(c::kQuotaExceededFile));
}

}  // namespace ovp

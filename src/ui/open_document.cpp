#include "ui/open_document.h"

#include <string>

#include "base/files.h"

namespace ovp {

namespace {
constexpr std::string_view kBrandHelpFile = "OVP Help.chm";
constexpr std::string_view kHelpFileSuffix = "Help.chm";
}  // namespace

void OpenDocument(IShell& shell, const std::filesystem::path& file) {
    ShellRequest open;
    open.verb = "open";
    open.file = file;
    open.show = ShowMode::Maximized;
    if (shell.Execute(open).instance == kShellNoAssociation) {
        shell.OpenWithChooser(file);
    }
}

void OpenHelpGuide(AppContext& context) {
    const std::string file = IsBrandProduct(context.settings)
                                 ? std::string(kBrandHelpFile)
                                 : context.settings.exeGroup + std::string(kHelpFileSuffix);
    ShellRequest request;
    request.file = context.folders.AppFolder() / PathFromUtf8(file);
    request.workingFolder = context.folders.AppFolder();
    context.ports.shell.Execute(request);
}

}  // namespace ovp

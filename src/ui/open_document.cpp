#include "ui/open_document.h"

namespace ovp {

void OpenDocument(IShell& shell, const std::filesystem::path& file) {
    ShellRequest open;
    open.verb = "open";
    open.file = file;
    open.show = ShowMode::Maximized;
    if (shell.Execute(open).instance == kShellNoAssociation) {
        shell.OpenWithChooser(file);
    }
}

}  // namespace ovp

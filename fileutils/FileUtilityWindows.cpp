#include "fileutils/FileUtilityWindows.h"

#include "app/MenuCommands.h"
#include "fileutils/AboutLaatikko.h"
#include "fileutils/FileBrowser.h"
#include "fileutils/NimenMuuttaja.h"
#include "fileutils/WellPlateBrowser.h"

namespace qv {

void CreateFileUtilityWindows(QWidget& main, MenuCommands& commands, const std::function<void()>& mouseMoved) {
    if (commands.serviceWindow(ServiceWindow::WellPlateBrowser)) return;
    const auto add = [&](ServiceWindow which, UtilityWindow* window) {
        window->setMouseMoveHandler(mouseMoved);
        commands.setServiceWindow(which, window);
    };
    add(ServiceWindow::WellPlateBrowser, new WellPlateBrowser(&main));
    add(ServiceWindow::FileBrowser, new FileBrowser(&main));
    add(ServiceWindow::FileNameHandler, new NimenMuuttaja(&main));
    add(ServiceWindow::AboutBox, new AboutLaatikko(&main));
}

}  // namespace qv

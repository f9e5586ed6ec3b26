#pragma once
// Makes the file utility windows (well-plate browser, file browser, batch
// renamer, about box) hidden, as tool windows of `main`, and hands them to
// the menu items that show and hide them. `mouseMoved` runs when the pointer
// moves over any of them. Does nothing when they exist already.
#include <functional>

class QWidget;

namespace qv {

class MenuCommands;

void CreateFileUtilityWindows(QWidget& main, MenuCommands& commands, const std::function<void()>& mouseMoved);

}  // namespace qv

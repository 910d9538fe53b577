#pragma once
// The command table as data: captions, icons and where each command appears in each mode.

#include <QString>
#include <vector>

struct CommandInfo {
    int id;
    const char *caption; // "&" marks the access key; empty for shortcut-only commands
    const char *icon;    // resource name of the toolbar icon, or nullptr
};

struct Placement {
    int id;
    bool beginGroup;
};

struct MenuSpec {
    const char *caption;
    std::vector<Placement> items;
};

struct Shortcut {
    const char *keys;
    int id;
};

const CommandInfo *commandInfo(int id);
const std::vector<CommandInfo> &allCommands();

std::vector<MenuSpec> menuBarLayout(bool serverMode);
std::vector<Placement> mainToolbarLayout(bool serverMode);
std::vector<Placement> convertToolbarLayout();
// In the order they are bound.
const std::vector<Shortcut> &mainShortcuts();

QString toolbarCaption();        // "工具条"
QString convertToolbarCaption(); // "转换文本"
QString escapedBarCaption();     // "转义后文本"

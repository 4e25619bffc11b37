#pragma once

#include <vector>

#include "views/CommandIds.h"

// The picture on a command's toolbar button, if it has one.
enum class CommandIcon {
    none,
    page,
    folder,
    disk,
    series,
    hGraph,
    about,
};

// Enabled state and check mark of one command, as its owner's rules give it.
struct CCommandState
{
    bool enabled = true;
    bool checkable = false;
    bool checked = false;
};

// What the menus, the toolbar and the status bar say of a command: its menu
// text, its status-bar prompt with the tool tip after a newline, its
// shortcut and its button picture. The enable and check rules and the
// handler belong to the command's owner: the main frame's commands
// (app/FrameCommands.cpp) or the view's (views/ViewCommands.cpp).
struct CCommandInfo
{
    int id = 0;
    const char* text = nullptr;
    const char* prompt = nullptr;
    const char* shortcut = nullptr;
    CommandIcon icon = CommandIcon::none;
};

// Every command, once.
const std::vector<CCommandInfo>& CommandInfos();
// The command's description; the recent-file entries share the first one's.
// Null for an id that is no command.
const CCommandInfo* FindCommandInfo(int id);

#pragma once

#include <vector>

// One item of a menu: a command (text, id, shortcut), a separator, or a
// submenu with its own items.
struct CMenuItem
{
    const char* text = nullptr; // null: separator
    int id = 0;                 // 0 with items: submenu
    const char* shortcut = nullptr;
    std::vector<CMenuItem> items;

    bool IsSeparator() const { return text == nullptr; }
    bool IsSubmenu() const { return id == 0 && text != nullptr; }
};

struct CMenuDef
{
    const char* title;
    std::vector<CMenuItem> items;
};

// The menu bar while no document is open, and the menu bar of an open
// document.
const std::vector<CMenuDef>& NoDocumentMenus();
const std::vector<CMenuDef>& DocumentMenus();

// The toolbar's command ids in order; 0 is a separator.
const std::vector<int>& ToolbarCommands();

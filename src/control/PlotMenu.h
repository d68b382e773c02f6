#pragma once
#include "model/ContextMenu.h"

#include <string>
#include <vector>

// Walks a copy of the context menu one item per call, so that a host can rebuild the menu in
// its own user interface; remembers each command it passed under a sequence number.
class CPlotMenu {
public:
    enum Code { EndOfMenu = 0, Command = 1, Separator = -1, Submenu = -2, EndOfSubmenu = -3 };

    explicit CPlotMenu(const CContextMenu& menu);
    CPlotMenu(const CPlotMenu&) = delete;
    CPlotMenu& operator=(const CPlotMenu&) = delete;

    // One step: the item's text, its code, and the running sequence number.
    std::string Next(short& code, short& id);

    struct Recorded {
        int sequence;
        int command;
        bool enabled;
    };
    const Recorded* Find(int sequence) const;
    void SetEnabled(int command, bool enabled);

private:
    struct Level {
        const std::vector<MenuItem>* items;
        size_t position;
    };
    MenuItem root_;
    std::vector<Level> stack_;
    std::vector<Recorded> recorded_;
};

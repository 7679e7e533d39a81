// Which entry of a menu answers a letter typed while the menu is open. The
// system finds the "&" letters of the entries it draws itself; those the
// program draws it leaves to the menu's owner, which answers from the
// captions, which entries are enabled and which one is highlighted.
#pragma once

#include <string_view>
#include <vector>

namespace quillory {

// The letter after the caption's single "&", in lower case ("&&" stands for
// a plain "&"); 0 when there is none.
char CaptionMnemonic(std::string_view caption);

struct MenuEntryKey {
    std::string_view Caption;
    bool Enabled = true;
};

enum class MenuCharAction { NotFound, Execute, Select };

struct MenuCharAnswer {
    MenuCharAction Action = MenuCharAction::NotFound;
    int Index = -1;
    bool operator==(const MenuCharAnswer&) const = default;
};

// One entry with the letter, enabled: it runs (a bar caption or an entry with
// a sub-menu opens). Several: the next of them after the highlighted entry
// (-1: none is) is selected, the first again after the last; so is a single
// one that is disabled. None: the system answers as it would without us.
// Letters compare without regard to case (the ASCII letters).
MenuCharAnswer AnswerMenuChar(const std::vector<MenuEntryKey>& entries, int highlighted,
                              char typed);

}  // namespace quillory

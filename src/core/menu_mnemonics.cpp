#include "core/menu_mnemonics.h"

namespace quillory {

namespace {

char LowerCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

char CaptionMnemonic(std::string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] != '&') return LowerCase(caption[i + 1]);
        ++i;  // "&&" is the character itself
    }
    return 0;
}

MenuCharAnswer AnswerMenuChar(const std::vector<MenuEntryKey>& entries, int highlighted,
                              char typed) {
    const char wanted = LowerCase(typed);
    if (wanted == 0) return {};
    std::vector<int> matches;
    for (int i = 0; i < static_cast<int>(entries.size()); ++i)
        if (CaptionMnemonic(entries[i].Caption) == wanted) matches.push_back(i);
    if (matches.empty()) return {};
    if (matches.size() == 1)
        return {entries[matches[0]].Enabled ? MenuCharAction::Execute : MenuCharAction::Select,
                matches[0]};
    for (int index : matches)
        if (index > highlighted) return {MenuCharAction::Select, index};
    return {MenuCharAction::Select, matches[0]};
}

}  // namespace quillory

#include "core/menu_mnemonics.h"

#include <gtest/gtest.h>

namespace quillory {
namespace {

using enum MenuCharAction;

TEST(MenuMnemonics, TheEntryThatAnswersATypedLetter) {
    const std::vector<MenuEntryKey> bar{{"&Game"}, {"&Options"}, {"About"}};
    const std::vector<MenuEntryKey> game{{"New game"}, {"&Pause", false}, {"-"}, {"E&xit"}};
    const std::vector<MenuEntryKey> same{{"&Save"}, {"&Stop", false}, {"Save &&As"}, {"&Send"}};
    using Case = std::tuple<const std::vector<MenuEntryKey>&, int, char, MenuCharAnswer>;
    for (const auto& [entries, highlighted, typed, expected] : {
             Case{bar, -1, 'g', {Execute, 0}}, Case{bar, -1, 'O', {Execute, 1}},  // either case
             Case{bar, -1, 'a', {}},  // no "&": the system's answer
             Case{game, 0, 'x', {Execute, 3}},
             Case{game, 0, 'p', {Select, 1}},   // disabled: selected, never run
             Case{same, -1, 's', {Select, 0}},  // several: the next after the highlighted one
             Case{same, 0, 's', {Select, 1}},   // disabled ones too
             Case{same, 1, 's', {Select, 3}},   // "&&" marks no letter
             Case{same, 3, 's', {Select, 0}},   // round to the first again
         })
        EXPECT_EQ(AnswerMenuChar(entries, highlighted, typed), expected)
            << entries[0].Caption << " typed '" << typed << "'";
}

}  // namespace
}  // namespace quillory

// Cards written the way people write them in the tests: "K♣" is "KC",
// "10H" the ten of hearts; suits D H S C.
#pragma once

#include <stdexcept>
#include <string_view>
#include <vector>

#include "cards.h"

namespace lerva::test {

inline CardCode card(std::string_view text) {
    const std::string_view ranks[] = {"6", "7", "8", "9", "10", "A", "J", "Q", "K"};
    const std::string_view suits = "DHSC";
    const auto suit = suits.find(text.back());
    const std::string_view rank = text.substr(0, text.size() - 1);
    for (int r = 0; r < 9; ++r)
        if (ranks[r] == rank && suit != std::string_view::npos)
            return makeCard(r + 1, static_cast<int>(suit) + 1);
    throw std::invalid_argument("no such card");
}

inline std::vector<CardCode> cards(std::initializer_list<std::string_view> texts) {
    std::vector<CardCode> out;
    for (auto text : texts) out.push_back(card(text));
    return out;
}

}  // namespace lerva::test

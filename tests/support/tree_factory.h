#pragma once

#include "model/node_tree.h"

#include <cstdint>
#include <random>

namespace trellic::testing {

// Builds trees whose every field holds a value drawn from a seeded generator, for round trips.
class TreeFactory {
public:
    explicit TreeFactory(uint32_t seed) : m_random(seed) {}

    std::string Text(std::size_t maxLength = 40);
    CharFormat RandomCharFormat();
    ParaFormat RandomParaFormat();
    TextStyle RandomTextStyle();
    NodeInfo RandomInfo();
    NodeHelp RandomHelp();
    NodeText RandomNodeText();
    StyleNode RandomStyle();
    ResumeNode RandomResume();

    // A tree with a few records of every kind, both stacks filled with valid entries (some
    // records referenced twice, some not at all).
    NodeTree RandomTree(std::size_t recordsPerKind = 3);

private:
    int32_t Int();
    bool Bool();

    std::mt19937 m_random;
};

} // namespace trellic::testing

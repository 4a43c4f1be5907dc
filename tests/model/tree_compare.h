#pragma once

#include "model/node_tree.h"

#include <gtest/gtest.h>

namespace trellic::testing {

// Everything a .tlx file carries, compared field by field.
inline void ExpectSameResume(const NodeTree& a, const NodeTree& b) {
    EXPECT_EQ(a.renderer, b.renderer);
    EXPECT_EQ(a.activeStack, b.activeStack);
    EXPECT_EQ(a.inactiveStack, b.inactiveStack);
    ASSERT_TRUE(a.resume && b.resume);
    EXPECT_EQ(*a.resume, *b.resume);
    EXPECT_EQ(a.headers, b.headers);
    EXPECT_EQ(a.resumeSections, b.resumeSections);
    EXPECT_EQ(a.slFields, b.slFields);
    EXPECT_EQ(a.mlFields, b.mlFields);
    EXPECT_EQ(a.rtfOutputs, b.rtfOutputs);
    EXPECT_EQ(a.txtOutputs, b.txtOutputs);
}

} // namespace trellic::testing

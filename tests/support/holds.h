#pragma once
// For EXPECT_TRUE / EXPECT_FALSE: whether a text holds a part, the text shown either way.
#include <string>

#include <gtest/gtest.h>

namespace zt::test {

inline ::testing::AssertionResult holds(const std::string& text, const std::string& part) {
    const bool found = text.find(part) != std::string::npos;
    return (found ? ::testing::AssertionSuccess() : ::testing::AssertionFailure())
           << '"' << part << (found ? "\" in: " : "\" not in: ") << text;
}

}  // namespace zt::test

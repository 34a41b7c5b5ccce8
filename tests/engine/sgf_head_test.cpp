#include <gtest/gtest.h>

#include "formats/sgf_head.h"

namespace quorvel {
namespace {

TEST(SgfHeadTest, ReplacesTheWholePropertyOnly) {
    struct Case {
        const char* head;
        const char* name;
        const char* value;
        const char* after;  // nullptr: no such property, the head stays
    };
    const Case cases[] = {
        {"(;GM[1]SZ[19]PB[Old]PW[W]", "PB", "New", "(;GM[1]SZ[19]PB[New]PW[W]"},
        // A name inside another value, or the tail of a longer name, is not the property.
        {"(;GC[see PB[x]]APB[y]\r\nPB[Old]", "PB", "New", "(;GC[see PB[x]]APB[y]\r\nPB[New]"},
        {"(;C[a \\] PB[b]PB[Old]", "PB", "N", "(;C[a \\] PB[b]PB[N]"},
        // "ゾ" ends in the byte of "]" and stays inside its value.
        {"(;PC[ゾ]PB[Old]", "PB", "N", "(;PC[ゾ]PB[N]"},
        {"(;PlayerBlack[Old]", "PB", "N", "(;PlayerBlack[N]"},
        {"(;PB[Old]", "PB", "a]b\\c", "(;PB[a\\]b\\\\c]"},
        {"(;PB[Old]", "PB", "ゾソ", "(;PB[ゾソ]"},
        {"(;GM[1]PW[x]", "PB", "N", nullptr},
        {"(;PB[never closed", "PB", "N", nullptr},
    };
    for (const Case& c : cases) {
        std::string head = c.head;
        EXPECT_EQ(SetHeadProperty(head, c.name, c.value), c.after != nullptr) << c.head;
        EXPECT_EQ(head, c.after ? c.after : c.head) << c.head;
    }
}

}  // namespace
}  // namespace quorvel

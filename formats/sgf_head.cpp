#include "formats/sgf_head.h"

#include "platform/text_codec.h"

namespace quorvel {
namespace {

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }

// The position of the "]" that closes the value opened at `open`, or npos.
std::size_t ValueEnd(const std::string& head, std::size_t open) {
    for (std::size_t i = open + 1; i < head.size(); ++i) {
        if (IsCp932LeadByte(static_cast<unsigned char>(head[i])) && i + 1 < head.size()) {
            ++i;
        } else if (head[i] == '\\') {
            ++i;
        } else if (head[i] == ']') {
            return i;
        }
    }
    return std::string::npos;
}

}  // namespace

std::string EscapeSgfValue(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 4);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsCp932LeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            out += text[i];
            out += text[++i];
            continue;
        }
        if (text[i] == ']' || text[i] == '\\') out += '\\';
        out += text[i];
    }
    return out;
}

bool SetHeadProperty(std::string& head, const std::string& name, const std::string& value) {
    std::string current;  // the name of the property whose values follow
    std::size_t i = 0;
    while (i < head.size()) {
        const char c = head[i];
        if (IsUpper(c)) {
            // Old files write names with lower-case letters between the capitals ("PlayerBlack").
            const std::size_t start = i;
            current.clear();
            while (i < head.size() && (IsUpper(head[i]) || IsLower(head[i]))) {
                if (IsUpper(head[i])) current += head[i];
                ++i;
            }
            if (i < head.size() && head[i] == '[') continue;
            i = start + 1;
            current.clear();
            continue;
        }
        if (c == '[') {
            const std::size_t end = ValueEnd(head, i);
            if (end == std::string::npos) return false;
            if (current == name) {
                head.replace(i + 1, end - i - 1, EscapeSgfValue(value));
                return true;
            }
            i = end + 1;
            continue;
        }
        if (c == ';' || c == '(') current.clear();
        ++i;
    }
    return false;
}

}  // namespace quorvel

#include "core/sgf_text.h"

#include "platform/text_codec.h"

namespace quorvel {

std::string ProtectSgfText(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        if (IsCp932LeadByte(b) && i + 1 < text.size()) {
            out += text[i];
            out += text[++i];
            continue;
        }
        switch (text[i]) {
            case '(': out += "（"; break;
            case ')': out += "）"; break;
            case ';': out += "；"; break;
            case '[': out += "［"; break;
            case ']': out += "］"; break;
            default: out += text[i];
        }
    }
    return out;
}

std::size_t FindSgfChar(const std::string& s, char c, std::size_t from) {
    for (std::size_t i = from; i < s.size(); ++i) {
        if (s[i] == c) return i;
        if (IsCp932LeadByte(static_cast<unsigned char>(s[i]))) ++i;
    }
    return std::string::npos;
}

std::size_t SgfValueEnd(const std::string& text, std::size_t start) {
    for (std::size_t i = start; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\\' || IsCp932LeadByte(c)) {
            ++i;
        } else if (c == ']') {
            return i;
        }
    }
    return text.size();
}

void VisitNodeValues(const std::string& text, const std::function<void(const std::string&, const std::string&)>& visit) {
    std::string name;
    bool afterValue = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= 'A' && c <= 'Z') {
            if (afterValue) name.clear();
            afterValue = false;
            name += c;
        } else if (c == '[') {
            const std::size_t end = SgfValueEnd(text, i + 1);
            visit(name, text.substr(i + 1, end - i - 1));
            i = end;
            afterValue = true;
        } else if (c == ';') {
            name.clear();
        }
    }
}

}  // namespace quorvel

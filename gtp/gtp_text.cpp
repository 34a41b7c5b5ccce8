#include "gtp/gtp_text.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace quorvel::gtp {

namespace {

// GTP's column letters: "I" is left out so that it cannot be read as "J" or "1".
constexpr char kColumns[] = "ABCDEFGHJKLMNOPQRST";

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// A number written whole ("12", "-3.5", "1e-3"); nullopt for anything else.
std::optional<double> Number(const std::string& word) {
    if (word.empty()) return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(word.c_str(), &end);
    if (end != word.c_str() + word.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

bool EqualsIgnoringCase(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return i == a.size() && !b[i];
}

}  // namespace

std::string VertexText(PointCode p, int boardSize) {
    if (p == kPass) return "pass";
    const int col = PointCol(p);
    const int row = PointRow(p);
    return std::string(1, kColumns[col - 1]) + std::to_string(boardSize + 1 - row);
}

std::optional<PointCode> VertexPoint(const std::string& vertex, int boardSize) {
    if (EqualsIgnoringCase(vertex, "pass")) return kPass;
    if (vertex.size() < 2 || vertex.size() > 3) return std::nullopt;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(vertex[0])));
    int col = 0;
    for (int i = 0; kColumns[i]; ++i) {
        if (kColumns[i] == letter) col = i + 1;
    }
    if (col == 0) return std::nullopt;
    int number = 0;
    for (std::size_t i = 1; i < vertex.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(vertex[i]))) return std::nullopt;
        number = number * 10 + (vertex[i] - '0');
    }
    if (col > boardSize || number < 1 || number > boardSize) return std::nullopt;
    return MakePoint(col, boardSize + 1 - number);
}

const char* ColourText(int colour) {
    return colour == kWhite ? "W" : "B";
}

std::optional<std::vector<Candidate>> ReadTopMoves(const std::string& reply, int boardSize) {
    const std::vector<std::string> words = Words(reply);
    if (words.size() % 2 != 0) return std::nullopt;
    std::vector<Candidate> out;
    for (std::size_t i = 0; i < words.size(); i += 2) {
        const auto point = VertexPoint(words[i], boardSize);
        const auto value = Number(words[i + 1]);
        if (!point || !value) return std::nullopt;
        Candidate c;
        c.point = *point;
        c.value = *value;
        c.pv = {*point};
        out.push_back(c);
    }
    return out;
}

std::optional<double> ReadScore(const std::string& reply) {
    const std::vector<std::string> words = Words(reply);
    if (words.empty()) return std::nullopt;
    const std::string& s = words[0];
    if (s == "0") return 0.0;
    if (s.size() < 3 || s[1] != '+') return std::nullopt;
    const char side = static_cast<char>(std::toupper(static_cast<unsigned char>(s[0])));
    if (side != 'B' && side != 'W') return std::nullopt;
    const auto points = Number(s.substr(2));
    if (!points || *points < 0) return std::nullopt;
    return side == 'B' ? *points : -*points;
}

std::string ScoreText(double blackLead) {
    const double rounded = std::round(blackLead * 10) / 10;
    if (rounded == 0) return "0";
    char text[32];
    std::snprintf(text, sizeof text, "%c+%.1f", rounded > 0 ? 'B' : 'W', std::fabs(rounded));
    return text;
}

std::optional<std::vector<Candidate>> ReadAnalyzeLine(const std::string& line, int boardSize,
                                                      AnalyzeDialect dialect) {
    const std::vector<std::string> words = Words(line);
    std::vector<Candidate> out;
    Candidate* current = nullptr;
    bool hasMove = false;
    auto close = [&] {
        if (current && !hasMove) out.pop_back();
        current = nullptr;
    };
    for (std::size_t i = 0; i < words.size();) {
        const std::string& key = words[i++];
        if (key == "info") {
            close();
            out.emplace_back();
            current = &out.back();
            hasMove = false;
            continue;
        }
        if (key == "ownership" || key == "ownershipStdev" || key == "movesOwnership") break;
        if (!current) continue;
        if (key == "pv") {
            current->pv.clear();
            for (; i < words.size(); ++i) {
                const auto p = VertexPoint(words[i], boardSize);
                if (!p) break;
                current->pv.push_back(*p);
            }
            continue;
        }
        if (key == "pvVisits" || key == "pvEdgeVisits") {
            while (i < words.size() && Number(words[i])) ++i;
            continue;
        }
        if (i >= words.size()) break;
        const std::string& value = words[i++];
        if (key == "move") {
            const auto p = VertexPoint(value, boardSize);
            if (p) current->point = *p;
            hasMove = p.has_value();
        } else if (key == "visits") {
            if (const auto v = Number(value)) current->visits = static_cast<int>(*v);
        } else if (key == "winrate") {
            if (const auto v = Number(value))
                current->winrate = dialect == AnalyzeDialect::Lz ? *v / 10000 : *v;
        } else if (key == "scoreLead") {
            if (const auto v = Number(value)) {
                current->scoreLead = *v;
                current->hasScoreLead = true;
            }
        }
    }
    close();
    if (out.empty()) return std::nullopt;
    for (Candidate& c : out) {
        if (c.pv.empty()) c.pv = {c.point};
    }
    return out;
}

}  // namespace quorvel::gtp

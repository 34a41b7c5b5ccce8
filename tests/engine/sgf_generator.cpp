#include "sgf_generator.h"

#include <algorithm>

namespace quorvel::generator {
namespace {

using Rng = std::mt19937_64;

int Uniform(Rng& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
bool Chance(Rng& rng, double p) { return std::uniform_real_distribution<double>(0, 1)(rng) < p; }

// Pieces of text, as bytes: Shift-JIS characters written as their bytes so that the file's encoding
// does not matter.
const char* const kPlainPieces[] = {"a", "the", " ", "move", "good", "Black", "W", "3-3", "komi", "5.5", ":", "?",
                                    "!", ",", ".", "-", "_", "/", "\x82\xA0",          // あ
                                    "\x8C\xE9",                                       // 碁
                                    "\x88\xCD\x8C\xE9",                               // 囲碁
                                    "\xB1", "\x81\x40", "\x8D\x95", "\x94\x92"};      // ｱ, 　, 黒, 白
const char* const kAdversarialPieces[] = {
    "\\", "]", "[", "(", ")", ";", "B[", "W[", "C[", "\r\n", "\n", "//", "http://example.org/a", "\\]",
    "see (A) and [B]", "\x83\x5B",  // ゼ: second byte "["
    "\x83\x5D",                     // ゾ: second byte "]"
    "\x83\x5C",                     // ソ: second byte "\"
    "\x95\x5C",                     // 表
    "\x94\x5C",                     // 能
    "\x81\x5B",                     // ー
    "))", "(;", ";B[aa]", "]C[", "AB[cc]", "\\\\", "\t"};

std::string Piece(Rng& rng, bool adversarial) {
    if (adversarial && Chance(rng, 0.4)) {
        return kAdversarialPieces[Uniform(rng, 0, static_cast<int>(std::size(kAdversarialPieces)) - 1)];
    }
    return kPlainPieces[Uniform(rng, 0, static_cast<int>(std::size(kPlainPieces)) - 1)];
}

// Names whose first occurrence the reader renames: a text may not make them.
bool MakesRenamedName(const std::string& s) {
    return s.find("GC[") != std::string::npos || s.find("TB[") != std::string::npos || s.find("TW[") != std::string::npos;
}

std::string Text(Rng& rng, int minBytes, int maxBytes, bool adversarial) {
    const int target = Uniform(rng, minBytes, maxBytes);
    for (;;) {
        std::string s;
        while (static_cast<int>(s.size()) < target) s += Piece(rng, adversarial);
        if (!MakesRenamedName(s)) return s;
    }
}

std::string Point(Rng& rng, int size) {
    if (Chance(rng, 0.03)) return Chance(rng, 0.5) || size != 19 ? "" : "tt";
    std::string p;
    p += static_cast<char>('a' + Uniform(rng, 0, size - 1));
    p += static_cast<char>('a' + Uniform(rng, 0, size - 1));
    return p;
}

struct Maker {
    Rng& rng;
    const Options& o;
    int size;
    int variationsLeft;

    std::optional<std::string> MaybeComment() {
        if (!Chance(rng, o.commentChance)) return std::nullopt;
        if (Chance(rng, 0.05)) return std::string();
        if (Chance(rng, 0.02)) return Text(rng, o.longComment / 2, o.longComment, o.adversarialText);
        return Text(rng, 1, 60, o.adversarialText);
    }

    GenMove MakeMove() {
        GenMove m;
        m.point = Point(rng, size);
        m.comment = MaybeComment();
        if (Chance(rng, 0.05)) m.extra.emplace_back("TR", Point(rng, size) + "]" + "[" + Point(rng, size));
        if (Chance(rng, 0.03)) m.extra.emplace_back("LB", Point(rng, size) + ":" + static_cast<char>('A' + Uniform(rng, 0, 6)));
        if (Chance(rng, 0.05)) m.extra.emplace_back("N", Text(rng, 1, 20, o.adversarialText));
        // SGF gives a node one comment; records with two exist.
        if (Chance(rng, 0.01)) m.extra.emplace_back("C", Text(rng, 0, 20, o.adversarialText));
        if (Chance(rng, 0.05)) m.extra.emplace_back(Chance(rng, 0.5) ? "BL" : "WL", std::to_string(Uniform(rng, 0, 3000)));
        // Review records say things in nodes of their own.
        if (Chance(rng, 0.01)) m.nodeAfter = Text(rng, 0, 20, o.adversarialText);
        return m;
    }

    GenLine MakeLine(int maxMoves, int depth, int entries) {
        GenLine line;
        const int n = Uniform(rng, 1, std::max(1, std::min(maxMoves, 499 - entries)));
        for (int i = 0; i < n; ++i) line.moves.push_back(MakeMove());
        // A variation replaces a move of its line; in a variation not the first (that would be a variation
        // of the variation's own parent).
        const int firstAfter = depth == 0 ? 0 : 1;
        while (variationsLeft > 0 && depth < 4 && n - 1 >= firstAfter && Chance(rng, depth == 0 ? 0.6 : 0.3)) {
            --variationsLeft;
            const int after = Uniform(rng, firstAfter, n - 1);
            line.variations.push_back(GenLine::Variation{after, MakeLine(std::max(1, maxMoves / 3), depth + 1, entries + after)});
        }
        std::stable_sort(line.variations.begin(), line.variations.end(),
                         [](const GenLine::Variation& a, const GenLine::Variation& b) { return a.after < b.after; });
        return line;
    }
};

// Escapes a value text as standard SGF needs: "\" and "]", stepping over Shift-JIS characters.
std::string Escape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        if (((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) && i + 1 < text.size()) {
            out += text.substr(i, 2);
            ++i;
        } else if (b == '\\' || b == ']') {
            out += '\\';
            out += static_cast<char>(b);
        } else {
            out += static_cast<char>(b);
        }
    }
    return out;
}

void WriteMove(std::string& out, const GenMove& m, bool black) {
    out += black ? ";B[" : ";W[";
    out += m.point + "]";
    if (m.comment) out += "C[" + Escape(*m.comment) + "]";
    for (const auto& [name, value] : m.extra) {
        // Mark lists are written as they are (points); texts are escaped.
        out += name + "[" + (name == "N" || name == "C" ? Escape(value) : value) + "]";
    }
    if (m.nodeAfter) out += ";C[" + Escape(*m.nodeAfter) + "]";
}

// Standard nesting: the line's continuation and its variations as sibling groups where it branches.
void WriteStandard(std::string& out, const GenLine& line, std::size_t from, bool black) {
    for (std::size_t i = from; i < line.moves.size(); ++i) {
        bool branches = false;
        for (const auto& v : line.variations) branches |= v.after == static_cast<int>(i) && i > from;
        if (branches) {
            out += "(";
            WriteStandard(out, line, i, black);
            out += ")";
            for (const auto& v : line.variations) {
                if (v.after != static_cast<int>(i)) continue;
                out += "\r\n(";
                WriteStandard(out, v.line, 0, black);
                out += ")";
            }
            return;
        }
        WriteMove(out, line.moves[i], black);
        black = !black;
        if (i % 10 == 9) out += "\r\n";
    }
}

// The program's own layout: a variation right after the move whose next move it replaces.
void WriteInline(std::string& out, const GenLine& line, bool black) {
    for (std::size_t i = 0; i < line.moves.size(); ++i) {
        WriteMove(out, line.moves[i], black);
        black = !black;
        for (const auto& v : line.variations) {
            if (v.after != static_cast<int>(i) + 1) continue;
            out += "\r\n(";
            WriteInline(out, v.line, black);
            out += ")\r\n";
        }
    }
}

}  // namespace

std::string EscapeText(const std::string& text) { return Escape(text); }

std::string CommentText(std::mt19937_64& rng, int minBytes, int maxBytes, bool adversarial) {
    return Text(rng, minBytes, maxBytes, adversarial);
}

GenRecord Generate(std::uint64_t seed, const Options& o) {
    Rng rng(seed);
    GenRecord r;
    const int sizes[] = {19, 19, 19, 13, 9, 7, 6};
    const int size = sizes[Uniform(rng, 0, 6)];
    r.inlineLayout = Chance(rng, 0.3);
    auto& root = r.root;
    root.push_back({"GM", {"1"}});
    root.push_back({"FF", {"4"}});
    if (Chance(rng, 0.6)) root.push_back({"CA", {Chance(rng, 0.5) ? "Shift_JIS" : "SJIS"}});
    if (size != 19 || Chance(rng, 0.5)) root.push_back({"SZ", {std::to_string(size)}});
    for (const char* name : {"PB", "PW", "BR", "WR", "KM", "PC", "EV", "GN", "RO", "DT", "RE"}) {
        if (!Chance(rng, 0.4)) continue;
        // Two line breaks in a row in a root value lose one at every load (the line-break rules of the
        // reader hold for the whole text); a root value does not hold them.
        const auto doubleBreak = [](std::string v) {
            for (const char* code : {"___", "//"}) {
                for (std::size_t at = v.find(code); at != std::string::npos; at = v.find(code, at + 2)) {
                    v.replace(at, std::string(code).size(), "\r\n");
                }
            }
            return v.find("\r\n\r\n") != std::string::npos;
        };
        std::string value = Text(rng, 1, 24, o.adversarialText);
        while (doubleBreak(value)) value = Text(rng, 1, 24, o.adversarialText);
        root.push_back({name, {value}});
    }
    std::vector<std::string> black, white;
    if (Chance(rng, 0.25)) {
        const int n = Uniform(rng, 1, 9);
        for (int k = 0; k < n; ++k) black.push_back(Point(rng, size));
        if (Chance(rng, 0.5)) white.push_back(Point(rng, size));
        r.blackFirst = false;
    } else {
        r.blackFirst = Chance(rng, 0.9);
    }
    for (std::string& p : black) if (p.empty() || p == "tt") p = "aa";
    for (std::string& p : white) if (p.empty() || p == "tt") p = "bb";
    if (!black.empty()) root.push_back({"AB", black});
    if (!white.empty()) root.push_back({"AW", white});
    if (Chance(rng, 0.1)) root.push_back({"SQ", {Point(rng, size) + "", Point(rng, size)}});
    if (Chance(rng, 0.1)) root.push_back({"LB", {Point(rng, size) + ":B"}});
    if (Chance(rng, 0.3)) root.push_back({"C", {Text(rng, 0, 80, o.adversarialText)}});
    std::shuffle(root.begin() + 2, root.end(), rng);
    for (auto& [name, values] : root) {
        for (std::string& v : values) {
            if ((name == "SQ" || name == "AB" || name == "AW") && (v.empty() || v == "tt")) v = "cc";
        }
    }

    Maker maker{rng, o, size, Uniform(rng, 0, o.maxVariations)};
    r.main = maker.MakeLine(o.maxMainMoves, 0, static_cast<int>(black.size() + white.size()));
    if (Chance(rng, 0.1)) root.push_back({"AS", {std::to_string(Uniform(rng, 1, 6)) + ",1"}});
    if (Chance(rng, 0.08)) r.furtherTrees.push_back(maker.MakeLine(20, 1, 0));
    return r;
}

std::string Write(const GenRecord& r) {
    std::string out = "(;";
    for (const auto& [name, values] : r.root) {
        out += name;
        for (const std::string& v : values) {
            const bool points = name == "AB" || name == "AW" || name == "SQ" || name == "LB" || name == "SZ" ||
                                name == "AS" || name == "GM" || name == "FF";
            out += "[" + (points ? v : Escape(v)) + "]";
        }
        out += "\r\n";
    }
    bool alternatives = false;
    for (const auto& v : r.main.variations) alternatives |= v.after == 0;
    if (r.inlineLayout) {
        WriteInline(out, r.main, r.blackFirst);
        out += ")";
        for (const auto& v : r.main.variations) {
            if (v.after != 0) continue;
            out += "\r\n(";
            WriteInline(out, v.line, r.blackFirst);
            out += ")";
        }
    } else if (alternatives) {
        out += "(";
        WriteStandard(out, r.main, 0, r.blackFirst);
        out += ")";
        for (const auto& v : r.main.variations) {
            if (v.after != 0) continue;
            out += "\r\n(";
            WriteStandard(out, v.line, 0, r.blackFirst);
            out += ")";
        }
        out += ")";
    } else {
        WriteStandard(out, r.main, 0, r.blackFirst);
        out += ")";
    }
    for (const GenLine& tree : r.furtherTrees) {
        out += "\r\n(";
        WriteStandard(out, tree, 0, true);
        out += ")";
    }
    return out + "\r\n";
}

namespace {

// A half of a text, cut where a character starts.
std::string Half(const std::string& v, int half) {
    std::size_t cut = 0;
    while (cut < v.size() / 2) {
        const unsigned char b = static_cast<unsigned char>(v[cut]);
        cut += ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) && cut + 1 < v.size() ? 2 : 1;
    }
    return half == 0 ? v.substr(0, cut) : v.substr(cut);
}

// Every line of a record, for the shrinking steps.
void Lines(GenLine& line, std::vector<GenLine*>& out) {
    out.push_back(&line);
    for (auto& v : line.variations) Lines(v.line, out);
}

std::size_t LineCount(GenRecord& r) {
    std::vector<GenLine*> lines;
    Lines(r.main, lines);
    return lines.size();
}

// Line `k` of the record as it stands now, or nullptr.
GenLine* LineAt(GenRecord& r, std::size_t k) {
    std::vector<GenLine*> lines;
    Lines(r.main, lines);
    return k < lines.size() ? lines[k] : nullptr;
}

}  // namespace

GenRecord Shrink(GenRecord r, const std::function<bool(const std::string&)>& fails) {
    bool progress = true;
    const auto attempt = [&](const std::function<bool(GenRecord&)>& change) {
        GenRecord candidate = r;
        if (!change(candidate)) return false;
        if (!fails(Write(candidate))) return false;
        r = std::move(candidate);
        progress = true;
        return true;
    };
    while (progress) {
        progress = false;
        attempt([](GenRecord& c) { return !c.furtherTrees.empty() && (c.furtherTrees.clear(), true); });
        for (std::size_t k = 0; k < r.root.size(); ++k) {
            attempt([k](GenRecord& c) {
                if (k >= c.root.size() || c.root[k].first == "GM") return false;
                c.root.erase(c.root.begin() + static_cast<long>(k));
                return true;
            });
        }
        for (std::size_t li = 0; li < LineCount(r); ++li) {
            for (std::size_t v = 0; LineAt(r, li) && v < LineAt(r, li)->variations.size(); ++v) {
                attempt([li, v](GenRecord& c) {
                    std::vector<GenLine*> ls;
                    Lines(c.main, ls);
                    if (v >= ls[li]->variations.size()) return false;
                    ls[li]->variations.erase(ls[li]->variations.begin() + static_cast<long>(v));
                    return true;
                });
            }
            // Fewer moves at the end, then at the start.
            for (int side = 0; side < 2; ++side) {
                for (bool again = true; again;) {
                    again = attempt([li, side](GenRecord& c) {
                        std::vector<GenLine*> ls;
                        Lines(c.main, ls);
                        GenLine& l = *ls[li];
                        int last = 0;
                        for (const auto& var : l.variations) last = std::max(last, var.after + 1);
                        if (static_cast<int>(l.moves.size()) <= std::max(1, last)) return false;
                        if (side == 0) {
                            l.moves.pop_back();
                        } else {
                            if (!l.variations.empty()) return false;
                            l.moves.erase(l.moves.begin());
                        }
                        return true;
                    });
                }
            }
            for (std::size_t m = 0; LineAt(r, li) && m < LineAt(r, li)->moves.size(); ++m) {
                attempt([li, m](GenRecord& c) {
                    std::vector<GenLine*> ls;
                    Lines(c.main, ls);
                    GenMove& mv = ls[li]->moves[m];
                    if (!mv.comment && mv.extra.empty() && !mv.nodeAfter) return false;
                    mv.comment.reset();
                    mv.extra.clear();
                    mv.nodeAfter.reset();
                    return true;
                });
            }
        }
        // Shorter texts: halves of each comment and root value.
        for (std::size_t k = 0; k < r.root.size(); ++k) {
            for (int half = 0; half < 2; ++half) {
                attempt([k, half](GenRecord& c) {
                    if (k >= c.root.size() || c.root[k].second[0].size() < 2) return false;
                    std::string& v = c.root[k].second[0];
                    v = Half(v, half);
                    return true;
                });
            }
        }
        for (std::size_t li = 0; li < LineCount(r); ++li) {
            for (std::size_t m = 0; m < LineAt(r, li)->moves.size(); ++m) {
                for (int half = 0; half < 2; ++half) {
                    attempt([li, m, half](GenRecord& c) {
                        std::vector<GenLine*> ls;
                        Lines(c.main, ls);
                        std::optional<std::string>& text = ls[li]->moves[m].comment;
                        if (!text || text->size() < 2) return false;
                        *text = Half(*text, half);
                        return true;
                    });
                }
            }
        }
    }
    return r;
}

}  // namespace quorvel::generator

// Loading SGF records of growing size, each beside one memchr pass over the same bytes: the time any
// reader needs at least to look at every byte once. A load should cost at most ten such passes, and the
// commented records of 1, 5 and 20 MB should take time in proportion to their size. Those come in two
// series: the largest tree's shape with longer and longer comments (its 37,700 moves in each), and
// records whose number of commented moves grows with their size. Each record also comes with comments of
// real shape ("real_"): written by the generator of the reader's tests, with escaped brackets and
// backslashes, unescaped brackets, parentheses and semicolons, and Shift-JIS characters whose second
// byte is a bracket or a backslash. The same records in UTF-8 without CA ("utf8_"), as the big servers
// write them, show what deciding the encoding and converting to Shift-JIS add to a load.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>
#include <string>

#include "core/engine.h"
#include "formats/sgf_reader.h"
#include "platform/text_codec.h"
#include "sgf_generator.h"

namespace quorvel {
namespace {

std::string Point(int k) {
    const char letters[] = "abcdefghijklmnopqrs";
    return std::string{letters[(k * 7) % 19], letters[(k * 11 + k / 19) % 19]};
}

// A comment of about `bytes` bytes of Japanese text, different for each move.
std::string JapaneseComment(int k, std::size_t bytes) {
    static const std::string phrase = "ここで黒は右上の定石を選びましたが、白の打ち込みが厳しい。";
    std::string c = std::to_string(k) + "手目：";
    while (c.size() < bytes) c += phrase;
    // Cut at a character boundary: after the digits every character takes two bytes.
    const std::size_t digits = std::to_string(k).size();
    std::size_t cut = bytes < digits ? digits : bytes;
    if ((cut - digits) % 2 == 1) cut += 1;
    return c.substr(0, cut);
}

// Which comments the records below hold: plain Japanese text, or text of real shape.
bool realShape = false;

// A comment of about `bytes` bytes as the generator writes them, escaped, different for each move.
std::string RealShapeComment(int k, std::size_t bytes) {
    std::mt19937_64 rng(static_cast<std::uint64_t>(k) * 7919 + bytes);
    const int most = static_cast<int>(std::max<std::size_t>(bytes, 2));
    return generator::EscapeText(generator::CommentText(rng, most * 3 / 4, most, true));
}

std::string Head() {
    return "(;GM[1]FF[4]SZ[19]PB[黒番の棋士]PW[白番の棋士]BR[九段]WR[八段]DT[2024-05-06]KM[6.5]RE[B+R]"
           "PC[東京]EV[名人戦]TM[18000]";
}

std::string Moves(int from, int count, bool blackFirst, std::size_t commentBytes, int seed) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        const bool black = (i % 2 == 0) == blackFirst;
        out += black ? ";B[" : ";W[";
        out += Point(from + i + seed);
        out += ']';
        if (commentBytes > 0) {
            out += "C[" + (realShape ? RealShapeComment(from + i, commentBytes) : JapaneseComment(from + i, commentBytes)) + "]";
        }
    }
    return out;
}

std::string PlainGame() { return Head() + "\r\n" + Moves(0, 250, true, 0, 0) + ")\r\n"; }

std::string CommentedGame() { return Head() + "\r\n" + Moves(0, 250, true, 60, 0) + ")\r\n"; }

// A server game as review programs write it: the time left after every move, a label on every tenth.
std::string TimedGame() {
    std::string text = Head() + "\r\n";
    for (int m = 0; m < 250; ++m) {
        text += Moves(m, 1, m % 2 == 0, 0, 0);
        text += (m % 2 == 0 ? "BL[" : "WL[") + std::to_string(1800 - 7 * m) + ".25]";
        if (m % 10 == 9) text += "LB[" + Point(m) + ":A]";
    }
    return text + ")\r\n";
}

// The largest tree the branch table takes, in the program's own inline layout: a main line of 499 moves
// and 149 variations, each as long as its line allows, every move commented.
std::string LargestTree(std::size_t commentBytes) {
    std::string text = Head() + "\r\n";
    int branch = 0;
    for (int m = 0; m < 499; ++m) {
        text += Moves(m, 1, m % 2 == 0, commentBytes, 0);
        if (m % 3 == 2 && branch < 149) {
            ++branch;
            text += "\r\n(" + Moves(m + 1, 499 - (m + 1), (m + 1) % 2 == 0, commentBytes, branch) + ")\r\n";
        }
    }
    return text + ")\r\n";
}

// A record of the largest tree's shape whose comments make it about `bytes` long.
std::string CommentedRecordOfSize(std::size_t bytes) {
    const std::size_t withoutComments = LargestTree(0).size();
    const std::size_t moves = 499 + 149 * 250;
    return LargestTree((bytes - withoutComments) / moves);
}

// A record of about `bytes` whose size grows with the number of its moves, each with a comment of 560
// bytes: a main line of 499 moves and as many variations of 250 moves as the size asks for.
std::string CommentedMovesOfSize(std::size_t bytes) {
    const std::size_t commentBytes = 560;
    const std::size_t perMove = Moves(0, 1, true, commentBytes, 0).size();
    const std::size_t moves = bytes / perMove;
    const int variations = moves <= 499 ? 0 : static_cast<int>(std::min<std::size_t>((moves - 499 + 249) / 250, 149));
    std::string text = Head() + "\r\n";
    for (int m = 0; m < 499; ++m) {
        text += Moves(m, 1, m % 2 == 0, commentBytes, 0);
        if (m >= 1 && m <= variations) {
            text += "\r\n(" + Moves(m + 1, 250, (m + 1) % 2 == 0, commentBytes, m) + ")\r\n";
        }
    }
    return text + ")\r\n";
}

const std::string& Record(const std::string& fullName) {
    static std::map<std::string, std::string> records;
    auto it = records.find(fullName);
    if (it != records.end()) return it->second;
    const bool utf8 = fullName.compare(0, 5, "utf8_") == 0;
    const std::string shapeName = utf8 ? fullName.substr(5) : fullName;
    realShape = shapeName.compare(0, 5, "real_") == 0;
    const std::string name = realShape ? shapeName.substr(5) : shapeName;
    std::string text;
    if (name == "plain250") text = PlainGame();
    if (name == "commented250") text = CommentedGame();
    if (name == "timed250") text = TimedGame();
    if (name == "largest_tree") text = LargestTree(24);
    if (name == "1MB") text = CommentedRecordOfSize(1 << 20);
    if (name == "5MB") text = CommentedRecordOfSize(5 << 20);
    if (name == "20MB") text = CommentedRecordOfSize(20 << 20);
    if (name == "moves_1MB") text = CommentedMovesOfSize(1 << 20);
    if (name == "moves_5MB") text = CommentedMovesOfSize(5 << 20);
    if (name == "moves_20MB") text = CommentedMovesOfSize(20 << 20);
    if (utf8) text = Cp932ToUtf8(text);
    return records.emplace(fullName, std::move(text)).first->second;
}

void Load(benchmark::State& state, const std::string& name) {
    const std::string& text = Record(name);
    MemoryMessageArea messages;
    MemoryDialogs dialogs;
    Engine e(messages, dialogs);
    for (auto _ : state) {
        LoadRecordText(e, text);
        benchmark::DoNotOptimize(e.lineEnd);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.counters["moves"] = e.lineEnd;
    state.counters["branches"] = e.branchCount;
}

void Memchr(benchmark::State& state, const std::string& name) {
    const std::string& text = Record(name);
    for (auto _ : state) {
        // A byte the record does not hold: the whole text is scanned. The pointer is laundered so that the
        // scan cannot be hoisted out of the loop.
        const char* data = text.data();
        benchmark::DoNotOptimize(data);
        benchmark::DoNotOptimize(std::memchr(data, '\x01', text.size()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

#define QUORVEL_SGF_BENCH(name)                                      \
    BENCHMARK_CAPTURE(Load, name, #name)->Unit(benchmark::kMicrosecond); \
    BENCHMARK_CAPTURE(Memchr, name, #name)->Unit(benchmark::kMicrosecond)

QUORVEL_SGF_BENCH(plain250);
QUORVEL_SGF_BENCH(commented250);
QUORVEL_SGF_BENCH(timed250);
QUORVEL_SGF_BENCH(largest_tree);
QUORVEL_SGF_BENCH(1MB);
QUORVEL_SGF_BENCH(5MB);
QUORVEL_SGF_BENCH(20MB);
QUORVEL_SGF_BENCH(moves_1MB);
QUORVEL_SGF_BENCH(moves_5MB);
QUORVEL_SGF_BENCH(moves_20MB);
QUORVEL_SGF_BENCH(real_commented250);
QUORVEL_SGF_BENCH(real_largest_tree);
QUORVEL_SGF_BENCH(real_1MB);
QUORVEL_SGF_BENCH(real_5MB);
QUORVEL_SGF_BENCH(real_20MB);
QUORVEL_SGF_BENCH(real_moves_1MB);
QUORVEL_SGF_BENCH(real_moves_5MB);
QUORVEL_SGF_BENCH(real_moves_20MB);
QUORVEL_SGF_BENCH(utf8_commented250);
QUORVEL_SGF_BENCH(utf8_largest_tree);
QUORVEL_SGF_BENCH(utf8_1MB);
QUORVEL_SGF_BENCH(utf8_real_1MB);
QUORVEL_SGF_BENCH(utf8_5MB);

}  // namespace
}  // namespace quorvel

// The reader against an independent reading of SGF (sgf_oracle.h): on hand-made records, on every record
// of the corpus and on seeded random legal records; and what the writer makes of a record reads back, in
// that other reader, to the record that was saved.
//
// The number of random records is QUORVEL_ORACLE_RECORDS (default 400); the long run is
//   QUORVEL_ORACLE_RECORDS=100000 build/asan/tests/engine_tests --gtest_filter='OracleTest.*'
// A failing record is shrunk and printed with its seed.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/consistency.h"
#include "engine_fixture.h"
#include "formats/sgf_reader.h"
#include "formats/sgf_writer.h"
#include "sgf_generator.h"
#include "sgf_oracle.h"
#include "sgf_oracle_compare.h"

namespace quorvel::test {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

int RandomRecordCount() {
    const char* v = std::getenv("QUORVEL_ORACLE_RECORDS");
    return v ? std::max(1, std::atoi(v)) : 400;
}

class OracleTest : public EngineTest {};

TEST_F(OracleTest, OracleReadsTheGrammar) {
    using oracle::Charset;
    // Escapes, a Shift-JIS character ending in the byte of "]", nesting and a collection.
    const std::string text = "(;GM[1]C[a\\]b \\\\ \x83\x5D](;B[aa]C[x(y)];W[bb])(;B[cc]))(;B[dd])";
    const auto trees = oracle::Parse(text, Charset::kShiftJis);
    ASSERT_TRUE(trees);
    ASSERT_EQ(trees->size(), 2u);
    EXPECT_EQ(oracle::Unescape((*trees)[0].nodes[0].Find("C")->values[0], Charset::kShiftJis), "a]b \\ \x83\x5D");
    EXPECT_EQ((*trees)[0].groups.size(), 2u);
    // Read as bytes, the same "]" closes the value, and the rest is no SGF.
    EXPECT_FALSE(oracle::Parse(text, Charset::kBytes));
    EXPECT_EQ(oracle::RecordCharset("(;CA[UTF-8]C[x])"), Charset::kBytes);
    EXPECT_EQ(oracle::RecordCharset("(;C[\xE3\x80\x82])"), Charset::kBytes);
    EXPECT_EQ(oracle::RecordCharset("(;C[\x83\x5D])"), Charset::kShiftJis);
    EXPECT_EQ(oracle::RecordCharset("(;CA[gb2312]C[x])"), Charset::kDoubleByte);

    const std::optional<oracle::Record> r = oracle::ReadRecord(text);
    ASSERT_TRUE(r);
    EXPECT_EQ(oracle::Describe(r->main), "((;B66)(;B88);B22{x\x81\x69y\x81\x6A};W44)");
    EXPECT_EQ(r->rootComment, "a\x81\x6E" "b \x81\x8F \x83\x5D");
    EXPECT_FALSE(oracle::ReadRecord("(;B[aa]"));
    EXPECT_FALSE(oracle::ReadRecord("(;B[aa]x)"));
}

TEST_F(OracleTest, CorpusRecordsLoadAsTheOracleReadsThem) {
    std::vector<fs::path> files;
    for (const fs::path& dir : {fs::path(QUORVEL_TEST_DATA) / "corpus", fs::path(QUORVEL_SHARED_CORPUS) / "copyleft"}) {
        if (!fs::is_directory(dir)) continue;
        for (const auto& entry : fs::directory_iterator(dir)) {
            if (entry.path().extension() == ".sgf") files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    int compared = 0;
    for (const fs::path& path : files) {
        // The oracle reads SGF, not encodings: both read the text the load converts the bytes to.
        const std::string text = oracle::ProgramText(ReadFile(path));
        if (!oracle::ReadRecord(text)) continue;
        ++compared;
        const std::string loaded = oracle::LoadDifferences(text);
        if (!loaded.empty()) ADD_FAILURE() << path.filename() << " loads otherwise:\n" << loaded.substr(0, 600);
        LoadRecordText(e, text);
        const std::string written = oracle::WrittenDifferences(e, oracle::ReadRecord(text));
        if (!written.empty()) ADD_FAILURE() << path.filename() << " is written otherwise:\n" << written.substr(0, 600);
    }
    EXPECT_GE(compared, 20);
}

// One file named by QUORVEL_ORACLE_FILE, for looking into a disagreement.
TEST_F(OracleTest, NamedFileLoadsAsTheOracleReadsIt) {
    const char* path = std::getenv("QUORVEL_ORACLE_FILE");
    if (!path) GTEST_SKIP() << "QUORVEL_ORACLE_FILE names no file";
    const std::string text = ReadFile(path);
    ASSERT_TRUE(oracle::ReadRecord(text)) << "no SGF";
    EXPECT_EQ(oracle::LoadDifferences(text), "");
}

// Records on which the reader or the writer once disagreed with the oracle, by kind: each loads as the
// oracle reads it, and what the writer makes of it reads back to the record loaded.
TEST_F(OracleTest, DisagreementsFoundBeforeStayMended) {
    const std::vector<std::pair<const char*, std::string>> records = {
        // Comments of moves that AS hides stay in the head: a line break at their start or end, which the
        // reader takes one of away, comes back.
        {"hidden comment, two line breaks first", "(;GM[1]\r\nAS[4,1]\r\n;W[ig]C[\r\n\r\n\x8d\x95])\r\n"},
        {"hidden comment, two line breaks last", "(;GM[1]\r\nAS[2,1]\r\n;W[ba]C[a\r\n\r\n])\r\n"},
        {"hidden comment, line-break codes", "(;GM[1]\r\nAS[6,1]\r\n;B[fc]C[)////])\r\n"},
        {"hidden comment, break and code", "(;GM[1]\r\nAS[1,1]\r\n;W[mk]C[\r\n//\x94\\])\r\n"},
        {"hidden comment before another value", "(;GM[1]\r\nAS[6,1]\r\n;B[pn]C[\r\n//\x8c\xe9]N[a_\\] 3-3-,\r\n])\r\n"},
        {"hidden comment, code then address", "(;GM[1]\r\nAS[6,1]\r\n;B[sd]C[////see (]N[http://example.org/a])\r\n"},
        {"hidden moves with a shown one after", "(;GM[1]AS[2,1];B[aa]C[\r\n\r\nx];W[bb]C[y\r\n\r\n];B[cc]C[z])"},
        // Values after the root are walked one by one: a move, a ")", a ";" or a comment inside another
        // value is its text.
        {"a move inside a name", "(;GM[1];B[aa];N[W[cc\\]];W[dd])"},
        {"a closing bracket inside a name", "(;GM[1];B[aa];N[x)y];W[bb](;B[cc])(;B[dd]))"},
        {"a semicolon inside a name", "(;GM[1];B[aa];N[p;q]C[r];W[bb]C[s])"},
        {"a comment inside a name", "(;GM[1];B[aa]N[C[x\\]];W[bb]C[y])"},
        {"a variation inside a name", "(;GM[1];B[aa]N[(;B[cc\\])];W[bb])"},
        {"brackets inside a label", "(;GM[1];B[aa]LB[bb:\\]];W[cc];B[dd]N[)(])"},
        // A line-break code that only an escape kept apart is written so that it stays text.
        {"an escaped slash between slashes", "(;GM[1];B[aa]C[a/\\/b];W[bb]C[c:/\\/d])"},
        {"an escaped underscore among underscores", "(;GM[1];B[aa]C[x_\\__y];W[bb]C[__\\_\r\n_])"},
        {"codes in a hidden comment", "(;GM[1]AS[1,1];B[aa]C[a/\\/b_\\__];W[bb])"},
        // The first "GC[", "TB[" and "TW[" lose their names only as properties of the root.
        {"a game comment's name inside a comment", "(;GM[1];B[aa]C[see GC[x\\] and TB[y\\]];W[bb]C[TW[z\\]])"},
        {"a game comment in a move node", "(;GM[1];B[aa]GC[g];W[bb]C[c])"},
        {"a further value of the root comment", "(;GM[1]C[a]\r\n[b]GC[g];B[aa];W[bb])"},
        {"a longer name ending in one of them", "(;GM[1]CTB[a]XGC[b](;W[cc];B[dd])(;W[ee]))"},
        {"a move in the root beside its marks", "(;GM[1]LB[de:B]C[x]B[og];W[ng];B[aa])"},
        {"one of them inside a root value", "(;GM[1]WR[x\\\\\\]y.orTW[g/a]N[n];W[tt];B[cl])"},
        // What the head holds is told by its properties' names, not by the text of a longer name or a value.
        {"setup stones from a move node beside a longer name", "(;GM[1]MAB[x]N[AB[bb\\]];B[cc]AB[aa];W[dd])"},
        {"a size inside a value of the head", "(;GN[SZ[9\\]];B[cc];W[dd]SZ[9])"},
        // Bytes the load reads as they stand are Shift-JIS, whatever the root's CA says or the bytes suggest.
        {"a first byte of the user-defined area before a bracket", "(;C[\xF2]PB[a];B[aa];W[bb])"},
        {"setup stones in a variation that the layout puts first", "(;GM[1](;B[aa](;W[bb]AB[])(;AB[cc][dd];W[ee])))"},
        {"a line-break code inside the charset's name", "(;GM[1]CA[Shift___JIS];B[aa]C[\x83]];W[bb])"},
        {"UTF-8 that an unknown charset's name keeps from being converted",
         "(;PB[\xEF\xBF\xBD]CA[x\xBF\xBD];W[dp]C[\xEF\xBF\xBD is fun])"},
        {"an unknown charset", "(;GM[1]C[\x8c[]CA[a](;W[aa]);B[bb])"},
        // A first byte whose second was a line break before the bracket, or the byte an escape stood for,
        // never takes the value's "]" with it.
        {"a first byte before the line break of a name", "(;GM[1]GN[\x92\r\n][x];B[aa];W[bb])"},
        {"a first byte before the line break of a move", "(;GM[1];B[aa];W[\x84\r\n];B[bb];W[cc]C[z])"},
        {"a first byte before the line break of a comment", "(;GM[1];B[aa]C[x\x92___];W[bb])"},
        {"an escape before a line-break code at a value's end", "(;GM[1]GN[a\\//];B[aa];W[\\//];B[bb]C[c\\___];W[cc])"},
        {"an escaped first byte ending a comment", "(;GM[1];B[aa]C[a\\\x83][b];W[bb]C[c])"},
        {"an escaped first byte ending a name", "(;GM[1]PB[\\\x83];B[aa])"},
        // "\" escapes in a point too.
        {"escapes in moves", "(;GM[1];B[a\\a];W[\\bb];B[c\\]])"},
        // The node of the setup stones right after the root is part of the root: its comment is the
        // root comment and its values stay as they are.
        {"a comment in the setup node", "(;GM[1];C[a(b)]AB[aa];B[bb])"},
        {"an escaped bracket in the setup node", "(;GM[1];BR[\\]]AB[aa]PW[x;y];W[bb])"},
        {"a game comment in the setup node", "(;GM[1]C[r];GC[g]AW[aa];B[bb])"},
        // Variations before the line's first node are alternatives to its first move.
        {"a variation before the first node", "(;GM[1](;W[aa]);C[x];W[bb];B[cc])"},
        // Blanks may stand between a group's "(" and its first ";".
        {"a further game tree with a line break after its bracket", "(;GM[1];W[aa](;B[bb]))(\n;W[cc](;B[dd]))"},
        {"a variation with a blank after its bracket", "(;GM[1]( ;B[aa]) ;B[bb];W[cc](\r\n;B[dd])( ;B[ee]))"},
        // A variation whose first node holds no move may go on in a group nested in it; groups beside that
        // one, or before its first move node, are variations of its first move.
        {"a variation going on in a nested group", "(;GM[1];B[aa](;(;W[bb]));W[cc];B[dd])"},
        {"variations beside the nested group", "(;GM[1];B[aa](;C[y](;C[z](;W[dd]);W[bb](;B[ee])(;B[ff]))(;W[gg]));W[cc])"},
        {"a variation before a variation's first move", "(;GM[1];B[aa](;(;W[dd]);W[bb]);W[cc])"},
        // Nodes without a move between a move and its variations; a variation followed by a node is a
        // variation of that node's move, not the line's continuation.
        {"an empty node before the variations", "(;GM[1];B[aa];(;W[bb];B[cc])(;W[dd]))"},
        {"an empty node after a run of plain moves", "(;GM[1];W[aa];B[bb]C[x];(;W[cc])(;W[dd]))"},
        {"a line break before the empty node", "(;GM[1];B[aa](;B[bb](;W[cc]))\n;(;W[dd])(;B[ee]))"},
        {"a variation, an empty node, then the continuation", "(;GM[1];B[aa](;W[ee]);(;W[bb];B[cc](;W[gg]))(;W[dd]))"},
        {"variations before and after the first node", "(;GM[1](;B[aa])(;B[ee]);B[bb];W[cc](;B[dd])(;B[ff]))"},
        // A node with more than one comment keeps them all.
        {"comments before and after a move", "(;GM[1];C[first]B[aa]C[second];W[bb]C[x]TL[5]C[y](;B[cc]C[v]C[w]))"},
        {"comments of a node before the line", "(;GM[1];C[a]C[b];B[aa](;C[c]N[n]C[d];W[bb]))"},
        {"comments of a node that is not plain", "(;GM[1];B[aa]C[a]LONGERNAME[1]C[b]C[c];W[bb])"},
        // Nodes without a move, as review records write them, lose no comment: it is said after the move
        // before them, or before the line's first move.
        {"comment nodes between and after moves", "(;GM[1];B[aa];C[a];W[bb]C[b];C[c];C[d];B[cc];C[e])"},
        {"comment nodes before a line", "(;GM[1];C[a];N[n];C[b];B[aa](;C[c];C[d];W[bb])(;W[cc];C[e]))"},
        {"a comment node opening the continuation", "(;GM[1];B[aa]C[a](;C[b];W[bb];B[cc])(;W[dd]))"},
        {"a comment node before variations", "(;GM[1];B[aa];C[a](;W[bb])(;W[cc]);B[dd])"},
        {"comment nodes behind hidden moves", "(;GM[1]AS[2,1];B[aa]C[x];C[y];W[bb];C[z];B[cc])"},
        {"a comment node after variations of the last hidden move",
         "(;GM[1]SZ[9]AS[1,1];B[ah](;C[k2];W[de];B[gd](;W[ff])(;W[ca]))(;W[be];B[ei]))"},
        {"a comment node after variations of the last hidden move, inline",
         "(;GM[1]SZ[9]AS[1,1];B[ah](;W[be];B[ei]);C[k2];W[de];B[gd])"},
        {"nodes without a move right after the last hidden move", "(;GM[1]SZ[9]AS[1,1];B[ah];N[x];C[k2](;W[de])(;W[be]))"},
        {"a comment node after a hidden move's other values", "(;GM[1]\r\nAS[5,1]\r\n;B[kg]TR[sh][fd];C[x])"},
        // Found by the fuzzer: a "(" in a hidden move's second value, read as a group, before a comment node.
        {"a group in a hidden move's value",
         "(;GM[1]\x0d\x0a""FF[4]\x0d\x0aPW[\x81[.the\\]\xb1,\x94\x92see (A) and [B\\]]\x0d\x0aRE[\x09,\x0d\x0a"
         "\x82\xa0\x94\x92\\]4.5g:ood]\x0d\x0a""EV[,\x09\x95\\AB[ccttp://example.org/a]\x0d\x0a""BR[C[;,W\x88"
         "\xcd\x8c\xe9]\x0b\x0a""AS[4,1]\x0d\x0a;B[ca]C[\x0d\x0a(;\x8c\xe9;(;\x81[];W[ae]C[W[move\x81@Black"
         "\x0d\x0a/\x94\x92];B[ad];W[ca][\x8d(;FF[4]CA[Big5]GM[1]\x0a;C[BBEdit calls the encoding of this file"
         " \"Tr\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff"
         "\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff"
         "\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff"
         "\xff\xff\xff\xff\xff\xff\xff\xff""c\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2"
         "\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2\xd2_\xb1"
         "\x83].thea\xb1\x09\x83[.//];B[ea];W[fe]C[\\\\\\]\x88\xcd\x8c\xe9:;B[aa\\]the))];B[fc]C[\x88\xcd\x8c"
         "\xe9good])\x0d\x0a"},
    };
    for (const auto& [kind, bytes] : records) {
        const std::string text = oracle::ProgramText(bytes);
        ASSERT_TRUE(oracle::ReadRecord(text)) << kind;
        EXPECT_EQ(oracle::LoadDifferences(text), "") << kind;
        LoadRecordText(e, text);
        // Reading the kept text again, without what the normalisation found on the way, gives the same.
        const std::string loaded = DescribeRecord(e);
        ResetRecord(e);
        TidyHeaderText(e);
        EXPECT_EQ(DescribeRecord(e), loaded) << kind;
        EXPECT_EQ(oracle::WrittenDifferences(e, oracle::ReadRecord(text)), "") << kind;
    }
    LoadRecordText(e, "(;GM[1];C[a]B[aa]C[b]C[c];W[bb])");
    EXPECT_EQ(e.CommentText(e.branchComments[0][1]), "a\r\nb\r\nc");
}

TEST_F(OracleTest, RandomRecordsLoadAsTheOracleReadsThem) {
    const int count = RandomRecordCount();
    int failures = 0;
    // The failures reported, each shrunk (QUORVEL_ORACLE_FAILURES, 3 unless set).
    const char* most = std::getenv("QUORVEL_ORACLE_FAILURES");
    const int mostFailures = most ? std::max(1, std::atoi(most)) : 3;
    for (int seed = 1; seed <= count && failures < mostFailures; ++seed) {
        const generator::GenRecord record = generator::Generate(static_cast<std::uint64_t>(seed));
        const std::string text = generator::Write(record);
        ASSERT_TRUE(oracle::ReadRecord(text)) << "seed " << seed << ": the generator wrote no SGF\n" << text;
        std::string d = oracle::LoadDifferences(text);
        if (d.empty()) {
            LoadRecordText(e, text);
            d = oracle::WrittenDifferences(e, oracle::ReadRecord(text));
        }
        if (d.empty()) continue;
        ++failures;
        const auto fails = [](const std::string& t) {
            if (!oracle::ReadRecord(t)) return false;
            if (!oracle::LoadDifferences(t).empty()) return true;
            MemoryMessageArea m;
            MemoryDialogs dl;
            Engine again(m, dl);
            LoadRecordText(again, t);
            return !oracle::WrittenDifferences(again, oracle::ReadRecord(t)).empty();
        };
        const std::string minimal = generator::Write(generator::Shrink(record, fails));
        std::string md = oracle::LoadDifferences(minimal);
        if (md.empty()) {
            LoadRecordText(e, minimal);
            md = oracle::WrittenDifferences(e, oracle::ReadRecord(minimal));
        }
        ADD_FAILURE() << "seed " << seed << "\nminimal record:\n" << minimal << "\n" << md;
    }
}

}  // namespace
}  // namespace quorvel::test

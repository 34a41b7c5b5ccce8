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

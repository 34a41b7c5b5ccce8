#include "engine_fixture.h"

#include "formats/record_encoding.h"

namespace quorvel::test {

std::string SavedBytes(const Engine& e, const std::string& text) {
    return RecordBytesToSave(text, e.recordEncoding, e.foreignCharacters.get());
}

std::string RealText(const Engine& e, const std::string& text) {
    return UnicodeToUtf8(Cp932ToUnicode(text, e.foreignCharacters.get()));
}

void EngineTest::PlayAll(const std::string& moves) {
    for (const std::string& m : SplitMoves(moves)) {
        if (m == "--") {
            ASSERT_TRUE(e.Pass(e.ColourToMove()));
        } else {
            ASSERT_TRUE(Play(m.c_str())) << "cannot play " << m;
        }
    }
}

void EngineTest::PlayTrial(const char* letters) {
    const PointCode p = P(letters);
    if (e.FollowPoint(p)) return;
    ASSERT_TRUE(e.IsPlayable(p)) << letters;
    ASSERT_TRUE(e.PlayColour(e.ColourToMove()));
    if (e.moveLimit == kNormalMoveLimit) {
        e.moveLimit = e.currentIndex;
        e.hintPosition = e.currentIndex - 1;
    }
    e.recordModified = true;
}

}  // namespace quorvel::test

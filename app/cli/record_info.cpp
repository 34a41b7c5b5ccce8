#include "app/cli/record_info.h"

#include "platform/text_codec.h"

namespace quorvel::cli {

RecordCounts CountRecord(const Engine& e) {
    RecordCounts c;
    if (e.lineEnd == 0) return c;
    c.setupStones = e.setupCount - e.mainLineOffset;
    c.mainLineMoves = e.lineEnd - c.setupStones;
    c.variations = e.branchCount;
    return c;
}

std::string InfoReport(Engine& e, const std::string& why) {
    std::string text = Cp932ToUtf8(e.messages().Text());
    std::string report;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        report += text[i];
    }
    if (!report.empty() && report.back() != '\n') report += '\n';
    const RecordCounts c = CountRecord(e);
    report += "setup stones: " + std::to_string(c.setupStones) + "\n";
    report += "main-line moves: " + std::to_string(c.mainLineMoves) + "\n";
    report += "variations: " + std::to_string(c.variations) + "\n";
    if (e.unshownMoves > 0 || e.unshownVariations > 0) {
        report += "not shown (past the table's limits): " + std::to_string(e.unshownMoves) + " moves, " +
                  std::to_string(e.unshownVariations) + " variations\n";
    }
    report += "encoding: " + (e.recordEncoding.empty() ? std::string("Shift_JIS") : e.recordEncoding) +
              (why.empty() ? std::string() : " (" + why + ")") + "\n";
    return report;
}

}  // namespace quorvel::cli

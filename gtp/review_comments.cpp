#include "gtp/review_comments.h"

#include <cstdio>

namespace quorvel::gtp {

const char* const kReviewLineHead = "評価: ";

std::string ReviewLineText(const Review& review, int k) {
    const auto index = static_cast<std::size_t>(k);
    std::string line = kReviewLineHead + ScoreText(review.blackLead.at(index));
    const auto losses = MoveLosses(review);
    if (index < losses.size() && losses[index] && *losses[index] > 0) {
        char text[32];
        std::snprintf(text, sizeof text, "  損 %.1f", *losses[index]);
        line += text;
    }
    return line;
}

std::string CommentWithReviewLine(const std::string& comment, const std::string& line) {
    const std::string head = kReviewLineHead;
    std::string kept;
    std::size_t start = 0;
    while (start < comment.size()) {
        std::size_t end = comment.find('\n', start);
        const std::size_t next = end == std::string::npos ? comment.size() : end + 1;
        if (end == std::string::npos) end = comment.size();
        std::string text = comment.substr(start, end - start);
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.compare(0, head.size(), head) != 0) kept += (kept.empty() ? "" : "\r\n") + text;
        start = next;
    }
    return kept.empty() ? line : kept + "\r\n" + line;
}

bool WriteReviewComments(Engine& e, const Review& review, int firstEntry) {
    const int moves = static_cast<int>(review.blackLead.size()) - 1;
    if (!e.replayMode || moves < 1 || firstEntry + moves > e.lineEnd) return false;
    const int shown = e.currentIndex;
    e.GoToStart();
    while (e.currentIndex < firstEntry) e.StepForward();
    for (int k = 1; k <= moves; ++k) {
        e.StepForward();
        std::string comment;
        if (!e.BeginCommentEdit(comment)) break;
        e.FinishCommentEdit(CommentWithReviewLine(comment, ReviewLineText(review, k)));
    }
    e.GoToStart();
    while (e.currentIndex < shown) {
        const int before = e.currentIndex;
        e.StepForward();
        if (e.currentIndex == before) break;
    }
    return true;
}

}  // namespace quorvel::gtp

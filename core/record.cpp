#include "core/record.h"

namespace quorvel {

const char* const kUnknown = "不明";
const char* const kNoComment = "G";

Record::Record() : branchMoves(kMaxBranches), branchComments(kMaxBranches) {
    for (LineArray& moves : branchMoves) moves.fill(0);
}

std::string Record::CommentText(const CommentRef& r) const {
    if (!r.IsSet() || r.offset > commentPool.size()) return std::string();
    return commentPool.substr(r.offset, r.length);
}

CommentRef Record::AppendComment(const std::string& text) {
    CommentRef r{commentPool.size(), text.size()};
    commentPool += text;
    return r;
}

}  // namespace quorvel

#include "core/record.h"

namespace quorvel {

const char* const kUnknown = "不明";
const char* const kNoComment = "G";

// Both tables start as zeros without being written (ZeroedAllocator): a record touches only the rows it uses.
Record::Record() : branchMoves(kMaxBranches), branchComments(kMaxBranches) {}

bool Record::HoldsComment(const CommentRef& r) const {
    if (r.offset < commentPoolBase) return r.length <= commentPoolBase - r.offset && commentPoolBase <= recordText.size();
    return r.offset - commentPoolBase <= commentPool.size() && r.length <= commentPool.size() - (r.offset - commentPoolBase);
}

std::string Record::CommentText(const CommentRef& r) const {
    if (!r.IsSet() || !HoldsComment(r)) return std::string();
    if (r.offset < commentPoolBase) return recordText.substr(r.offset, r.length);
    return commentPool.substr(r.offset - commentPoolBase, r.length);
}

std::string Record::KeptText(const CommentRef& r) const {
    if (!r.Keeps()) return std::string();
    return CommentText(CommentRef{r.keptOffset, r.keptLength});
}

std::string Record::KeptGroups(const CommentRef& r) const {
    if (!r.KeepsGroups()) return std::string();
    return CommentText(CommentRef{r.groupsOffset, r.groupsLength});
}

void Record::SetKeptGroups(CommentRef& r, const std::string& text) {
    const CommentRef at = text.empty() ? CommentRef{} : AppendComment(text);
    r.groupsOffset = at.offset;
    r.groupsLength = at.length;
}

void Record::SetKeptText(CommentRef& r, const std::string& text) {
    if (text.empty()) {
        r.keptOffset = r.keptLength = 0;
        return;
    }
    const CommentRef at = AppendComment(text);
    r.keptOffset = at.offset;
    r.keptLength = at.length;
}

CommentRef Record::AppendComment(const std::string& text) {
    CommentRef r{commentPoolBase + commentPool.size(), text.size()};
    commentPool += text;
    return r;
}

CommentRef Record::JoinComments(const std::vector<CommentRef>& parts) {
    std::vector<CommentRef> set;
    for (const CommentRef& r : parts) {
        if (r.IsSet()) set.push_back(r);
    }
    // What the first part's node keeps stays with the joined comment.
    CommentRef out = parts.empty() ? CommentRef{} : parts.front();
    out.SetComment(CommentRef{});
    if (set.size() == 1) out.SetComment(set.front());
    if (set.size() <= 1) return out;
    std::string joined = CommentText(set.front());
    for (std::size_t k = 1; k < set.size(); ++k) joined += "\r\n" + CommentText(set[k]);
    out.SetComment(AppendComment(joined));
    return out;
}

}  // namespace quorvel

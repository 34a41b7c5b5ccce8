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

std::string Record::CommentText(const CommentRef& r) const { return std::string(CommentView(r)); }

std::string_view Record::CommentView(const CommentRef& r) const {
    if (!r.IsSet() || !HoldsComment(r)) return std::string_view();
    if (r.offset < commentPoolBase) return std::string_view(recordText).substr(r.offset, r.length);
    return std::string_view(commentPool).substr(r.offset - commentPoolBase, r.length);
}

void Record::StoreKeptNode(CommentRef& r, const KeptNode& node) {
    r.kept = node.text.IsSet() || node.groups.IsSet() ? static_cast<std::uint32_t>(keptNodes.size()) : 0;
    if (r.kept != 0) keptNodes.push_back(node);
}

std::string Record::KeptText(const CommentRef& r) const { return CommentText(KeptNodeOf(r).text); }

std::string Record::KeptGroups(const CommentRef& r) const { return CommentText(KeptNodeOf(r).groups); }

void Record::SetKeptText(CommentRef& r, const std::string& text) {
    KeptNode node = KeptNodeOf(r);
    node.text = text.empty() ? CommentRef{} : AppendComment(text);
    StoreKeptNode(r, node);
}

void Record::SetKeptSpan(CommentRef& r, const CommentRef& span) {
    KeptNode node = KeptNodeOf(r);
    node.text = span;
    StoreKeptNode(r, node);
}

void Record::SetKeptGroups(CommentRef& r, const std::string& text) {
    KeptNode node = KeptNodeOf(r);
    node.groups = text.empty() ? CommentRef{} : AppendComment(text);
    StoreKeptNode(r, node);
}

CommentRef Record::AppendComment(const std::string& text) {
    CommentRef r{commentPoolBase + commentPool.size(), text.size()};
    commentPool += text;
    return r;
}

void Record::JoinNodesBefore(CommentRef& at, int move, const CommentRef& before) {
    at = JoinComments({at, before});
    const std::string nodes = KeptText(before);
    if (nodes.empty()) return;
    const std::string had = KeptText(at);
    // After a move each node begins with its ";"; before a line's first move they stand between them.
    SetKeptText(at, had + (move > 0 || !had.empty() ? ";" : "") + nodes);
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

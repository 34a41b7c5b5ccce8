// The game record: the branch table that stores the main line and every variation as flat lists of points,
// the current line that is materialised on the board, per-move comments and times, and game information.
// Relations between branches are packed decimal codes, decoded only through the helpers below.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/point.h"
#include "platform/text_codec.h"
#include "platform/zeroed_allocator.h"

namespace quorvel {

constexpr int kMaxBranches = 150;     // including the main line (index 0)
constexpr int kLastBranch = 149;      // readers reuse this slot once the table is full
constexpr int kMaxLineEntries = 499;  // entries of the current line, and moves of one branch
constexpr int kLineSlots = 500;       // arrays indexed 1..499, slot 0 unused or a header
constexpr int kNormalMoveLimit = 500;

// The text every empty game-information slot holds.
extern const char* const kUnknown;  // "不明"
// The one-letter text of an absent root comment or summary.
extern const char* const kNoComment;  // "G"

// A place in the tree: branch * 1000 + move, the point after move `move` of branch `branch` where
// variations leave it. Branches leaving at the same place have equal OriginPlace.
inline int MakePlace(int branch, int move) { return branch * 1000 + move; }

// branchOrigin: baseIndex * 1000000 + parentBranch * 1000 + parentMoveIndex. The branch replaces move
// parentMoveIndex + 1 of its parent, and baseIndex entries come before its first move.
inline int MakeOrigin(int base, int parent, int parentMove) { return base * 1000000 + MakePlace(parent, parentMove); }
inline int OriginBase(int origin) { return origin / 1000000; }
inline int OriginPlace(int origin) { return origin % 1000000; }  // MakePlace(parent, parentMoveIndex)
inline int OriginParent(int origin) { return origin % 1000000 / 1000; }
inline int OriginMove(int origin) { return origin % 1000; }
constexpr int kDeadParent = 999;  // parent field of a branch merged away while reading nested variations

// branchMoves[b][0]: depth * 10000 + firstColour * 1000 + length.
inline int MakeHeader(int depth, int firstColour, int length) { return depth * 10000 + firstColour * 1000 + length; }
inline int HeaderDepth(int header) { return header / 10000; }
inline int HeaderFirstColour(int header) { return header % 10000 / 1000; }
inline int HeaderLength(int header) { return header % 1000; }
inline bool HeaderBlackFirst(int header) { return header % 10000 < 2000; }

// selectedHint: 0 none, a branch index to enter, or kAlongLineHint + branch when the chosen continuation is
// the next move of the current line (a pass there), so that the hint box steps forward instead.
constexpr int kAlongLineHint = 1000;
inline int MakeAlongLineHint(int branch) { return kAlongLineHint + branch; }
inline bool HintStepsAlongLine(int selectedHint) { return selectedHint >= kAlongLineHint; }

// Where a comment stands in the comment pool: `length` bytes right after the first `offset` bytes.
// Kept as a pair so that neither a large pool nor a long comment can overflow it. All zero = no comment.
//
// The slot of a move also names (`kept`) what else its node held that the program does not model (times
// left, marks and labels of that move, node names, annotations, other programs' own properties) and the
// nodes without a move right after it, as read (KeptNode). It travels with the slot through every edit,
// and the writers put it back after the move's comment, so a record from another program comes back from
// a save with it. Records the program writes itself hold none. Past the table's limits, what a line goes
// on with after its last kept move is part of that move's kept text, and the variations of a move the
// table has no room for are its kept groups, as read ("(;...)(;...)"), written where its variations are.
struct CommentRef {
    std::size_t offset = 0;
    std::size_t length = 0;
    // What the node keeps besides: an entry of Record::keptNodes, 0 for nothing. Entries never change
    // once made, so slots copied by an edit may share one.
    std::uint32_t kept = 0;

    // True when there is a comment (whatever the node keeps besides).
    bool IsSet() const { return offset != 0 || length != 0; }
    // Takes the comment of `text`, keeping what the node keeps.
    void SetComment(const CommentRef& text) {
        offset = text.offset;
        length = text.length;
    }
    bool operator==(const CommentRef& o) const { return offset == o.offset && length == o.length && kept == o.kept; }
    bool operator!=(const CommentRef& o) const { return !(*this == o); }
};

// What a slot's node keeps, both texts addressed like comments (an unset one is empty).
struct KeptNode {
    CommentRef text;
    CommentRef groups;
};

using LineArray = std::array<int, kLineSlots>;
using CommentArray = std::array<CommentRef, kLineSlots>;

struct GameInfo {
    std::string blackPlayer = kUnknown;  // PB
    std::string whitePlayer = kUnknown;  // PW
    std::string place = kUnknown;        // PC
    std::string blackRank = kUnknown;    // BR
    std::string whiteRank = kUnknown;    // WR
    std::string date = kUnknown;         // DT
    std::string event = kUnknown;        // EV
    std::string gameName = kUnknown;     // GN
    std::string round = kUnknown;        // RO
    std::string komi = kUnknown;         // KM
    std::string handicap = kUnknown;     // HA, the raw number
    std::string resultText = kUnknown;   // made from RE for display
    std::string handicapText = kUnknown; // made from HA for display
};

struct Record {
    Record();

    // The current line.
    LineArray lineMoves{};  // PointCode of each entry, 0 = pass
    int baseIndex = 0;      // entries 1..baseIndex are background (setup stones, moves before a variation)
    int currentIndex = 0;   // entries applied to the board
    int lineEnd = 0;
    int moveLimit = kNormalMoveLimit;  // stepping forward stops before this index
    int blackFirst = 1;                // 1 when the first entry after baseIndex is black's
    int firstMoveNumber = 1;
    int mainLineOffset = 0;  // main-line moves shown as background at the start (AS)
    LineArray timeUsed{};    // seconds used for entry k (TL), 0 = none
    LineArray timeLeft{};    // time left after entry k times 100 (BL/WL); the last two digits count overtime moves

    // Setup stones: colour * 1000 + point.
    LineArray setupList{};
    int setupCount = 0;
    LineArray editSetupList{};
    // Kept when the user switches from replay to creation mode.
    std::vector<int> storedPosition;
    std::vector<int> storedMoves;
    int storedStoneCount = 0;
    int storedMoveCount = 0;

    // The branch table. Index 0 is the main line; branchCount counts the others (at most 149).
    std::vector<LineArray, ZeroedAllocator<LineArray>> branchMoves;  // [b][0] header, [b][1..length] points
    std::array<int, kMaxBranches> branchOrigin{};
    std::vector<CommentArray, ZeroedAllocator<CommentArray>> branchComments;  // [b][0] comment before the branch's first move
    int branchCount = 0;

    // Comments: every comment text end to end; replaced comments stay in the pool. A reference below
    // commentPoolBase points into recordText, where the reader leaves the comments it reads (a large
    // record is not copied a second time); from commentPoolBase on it points into commentPool.
    std::string commentPool;
    std::size_t commentPoolBase = 0;
    std::vector<KeptNode> keptNodes = std::vector<KeptNode>(1);  // [0]: nothing kept
    std::string gameComment = kNoComment;  // the root comment

    GameInfo info;
    int mainTimeSeconds = 0;  // TM
    int byoyomiSeconds = 0;   // OP
    int byoyomiMoves = 0;     // OM
    bool nextIsBlack = true;  // NE: the colour to play when the record has no moves

    // Texts kept with the record.
    std::string recordText;     // the whole record as loaded (normalised)
    std::string headerText;     // the SGF head, written back on save
    std::string summaryText;    // shown in the message area at the start position
    std::string summaryPrefix;  // the game summary part of summaryText
    int rootCommentSpan = 0;    // start * 10000 + end of the root comment in recordText, 0 = none
    int loadedBaseCount = 0;    // the main line's baseIndex right after a load
    // The encoding the record came in, which a save writes again (empty: Shift-JIS, written as it stands),
    // and the characters of it that Shift-JIS lacks, under codes of its user-defined area. The table object
    // stays for the engine's life (the windows' text conversion holds it) and is refilled by each load;
    // lostCharacters counts the characters shown as "?" because the area was full.
    std::string recordEncoding;
    std::shared_ptr<ForeignCharacters> foreignCharacters = std::make_shared<ForeignCharacters>();
    std::size_t lostCharacters = 0;
    // What the last load read but the branch table cannot hold: moves past a line's 499th entry, and
    // variations past the 149th.
    int unshownMoves = 0;
    int unshownVariations = 0;
    // The record's text broke lines with no code of the program's ("___"): a save writes the line breaks
    // of the comments read from it as line breaks again (CommentAsRead). False for a new record; comments
    // written in the program take the codes.
    bool commentLineBreaksAsRead = false;

    // Navigation through the tree.
    int currentBranch = 0;     // branch whose moves fill the line after baseIndex
    int variationDepth = 0;    // variation levels entered from the diagram
    int diagramBranch = 0;     // 0 (main line) or a branch starting at the main line's first move
    int mainLinePosition = 0;  // currentIndex last reached while variationDepth was 0
    int hintPosition = 0;      // entry at which branches are looked up
    int hintCount = 0;
    int selectedHint = 0;  // continuation chosen by the hint box (MakeAlongLineHint: along the line)

    // Editing state.
    bool replayMode = true;
    int inputMode = 1;  // 1 moves, 3 setup stones
    bool firstColourOpen = true;
    int storedLineEnd = 0;

    bool recordModified = false;
    // Of the comment of the last move AS hides, what the head text holds (its node and the nodes right after
    // it); the rest was said after variations of it, and the writer writes it after the head.
    CommentRef hiddenCommentInHead;

    int BranchLength(int b) const { return HeaderLength(branchMoves[b][0]); }
    // The comment text a reference points at; empty for no comment or a reference past the pool.
    std::string CommentText(const CommentRef& r) const;
    // The same without a copy, valid until the record text or the pool changes.
    std::string_view CommentView(const CommentRef& r) const;
    // True when the comment stands in the record text as the reader left it (not written or joined since).
    bool CommentAsRead(const CommentRef& r) const { return r.IsSet() && r.offset < commentPoolBase; }
    // Whether a comment's line breaks are written as the program's codes.
    bool FlattensLines(const CommentRef& r) const { return !(commentLineBreaksAsRead && CommentAsRead(r)); }
    // True when a reference points at a whole text of the record text or the pool.
    bool HoldsComment(const CommentRef& r) const;
    // Appends a text to the pool and returns its reference.
    CommentRef AppendComment(const std::string& text);
    // What a slot's node keeps besides its move and comment (empty when nothing).
    std::string KeptText(const CommentRef& r) const;
    bool KeepsText(const CommentRef& r) const { return KeptNodeOf(r).text.IsSet(); }
    // Appends `text` to the pool as what `r`'s node keeps.
    void SetKeptText(CommentRef& r, const std::string& text);
    // The same for a text that stands in the record text or the pool already (`span` addressed like a
    // comment).
    void SetKeptSpan(CommentRef& r, const CommentRef& span);
    // The variations of a slot's move that the table has no room for, as read (empty when none).
    std::string KeptGroups(const CommentRef& r) const;
    bool KeepsGroups(const CommentRef& r) const { return KeptNodeOf(r).groups.IsSet(); }
    void SetKeptGroups(CommentRef& r, const std::string& text);
    // Forgets every entry of what nodes keep, with the pool they point into.
    void ClearKeptNodes() { keptNodes.assign(1, KeptNode{}); }
    const KeptNode& KeptNodeOf(const CommentRef& r) const {
        return r.kept < keptNodes.size() ? keptNodes[r.kept] : keptNodes.front();
    }
    // Points `r` at a new entry holding `node` (or at none when it keeps nothing).
    void StoreKeptNode(CommentRef& r, const KeptNode& node);
    // The comments of one place as one, in their order, joined with line breaks (unset ones left out): a
    // record that gives a place more than one, in one node or in nodes without a move, loses none of them.
    CommentRef JoinComments(const std::vector<CommentRef>& parts);
    // What stands before a line's first move (`before`: its comment and kept nodes) said after move `move`
    // of another line, in the slot `at`: the comment joined, the nodes kept after that move's.
    void JoinNodesBefore(CommentRef& at, int move, const CommentRef& before);
};

}  // namespace quorvel
